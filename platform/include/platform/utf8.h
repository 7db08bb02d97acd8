#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 <-> wide text, independent of the process locale. Every platform library and the host
// convert through these functions, so a text converts the same way wherever it goes.

namespace platform {

/// The character that stands for anything that cannot be represented.
inline constexpr wchar_t kReplacementCharacter = 0xFFFD;

/// Whether `c` is a Unicode scalar value, that is, has a UTF-8 form: not negative, not a
/// surrogate, not above U+10FFFF.
bool isScalarValue(wchar_t c);

/// What utf8Length answers for a text with a character that has no UTF-8 form.
inline constexpr std::size_t kNoUtf8Form = static_cast<std::size_t>(-1);

/// The length in bytes of the UTF-8 form of `text`, or kNoUtf8Form.
std::size_t utf8Length(std::wstring_view text);

/// Writes the UTF-8 form of `text`, which must have one, to `out`: utf8Length(text) bytes, no
/// terminator.
void encodeUtf8(std::wstring_view text, char* out);

/// Sets `out` to the UTF-8 form of `text`. Returns false, with `out` empty, when a character has
/// no UTF-8 form.
bool toUtf8(std::wstring_view text, std::string& out);

/// Appends the UTF-8 form of `text` to `out`, with U+FFFD for every character that has none.
void appendUtf8Lossy(std::wstring_view text, std::string& out);

/// Decodes UTF-8. Never fails: every invalid sequence (a stray or impossible byte, an overlong
/// form, a surrogate, a value above U+10FFFF, a truncated sequence) becomes one U+FFFD, taking
/// the longest run of bytes that could have begun a valid sequence.
std::wstring fromUtf8(std::string_view bytes);

/// Appends the decoded form of `bytes` to `out`, as fromUtf8 decodes it.
void appendFromUtf8(std::string_view bytes, std::wstring& out);

}  // namespace platform
