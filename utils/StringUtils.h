#pragma once

#include <cstdarg>
#include <string>
#include <vector>

// Trimming, splitting, formatting and regular-expression helpers.
//
// Whitespace means one of two things here. The whitespace set is the six characters tab, line
// feed, vertical tab, form feed, carriage return and space (kWhitespace). The classification is
// the C library's isspace under the current locale, asked only about the codes it is defined for:
// 8-bit bytes 0x00 to 0x7F and wide codes 0 to 255; every other character is never whitespace.
//
// The copying functions return memory of the C allocator (strdup or malloc) that the caller
// releases with free; they return null for a null text and when the allocation fails.

namespace utils {

inline constexpr char kWhitespace[] = "\t\n\v\f\r ";
inline constexpr wchar_t kWideWhitespace[] = L"\t\n\v\f\r ";

/// A copy from the first character that is not whitespace (classification).
char* trimLeft(const char* text);
/// A copy without the trailing whitespace (classification).
char* trimRight(const char* text);
char* trimBoth(const char* text);

/// A malloc copy of a wide text, terminator included.
wchar_t* wcsdup2(const wchar_t* text);

wchar_t* trimLeft(const wchar_t* text);
wchar_t* trimRight(const wchar_t* text);
wchar_t* trimBoth(const wchar_t* text);

/// Erases the leading run of characters of the whitespace set.
void trimLeftInPlace(std::string& text);
void trimLeftInPlace(std::wstring& text);
/// Erases the trailing run of characters of the whitespace set or code 0.
void trimRightInPlace(std::string& text);
void trimRightInPlace(std::wstring& text);
void trimBothInPlace(std::string& text);
void trimBothInPlace(std::wstring& text);

/// Moves the text after its leading whitespace (classification) to the front of the buffer; a
/// null buffer is left alone.
void trimLeftInPlaceT(char* text);
void trimLeftInPlaceT(wchar_t* text);
/// Overwrites the trailing whitespace (classification) with zeros; a null buffer is left alone.
void trimRightInPlaceT(char* text);
void trimRightInPlaceT(wchar_t* text);
void trimBothInPlaceT(char* text);
void trimBothInPlaceT(wchar_t* text);

/// The maximal runs of characters that are not in `delimiters`, in order; never an empty one.
std::vector<std::string> split(const std::string& text, std::string delimiters);

/// The printf-style formatted text; the empty string when formatting fails (an invalid
/// conversion, or a wide character that the current locale cannot write).
std::string formatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatStringV(const char* format, va_list arguments)
    __attribute__((format(printf, 1, 0)));

/// Each of the first `count` arguments followed by one space; a null argument counts as empty.
std::string printArgList(int count, char** arguments);
std::wstring printWArgList(int count, wchar_t** arguments);

/// Matches `text` against the POSIX extended regular expression `pattern` and sets `group` to
/// the first parenthesised group (empty when there is none or it took no part). Returns 0 on a
/// match, 1 when there is none, 4 when the pattern does not compile.
int matchString(const char* pattern, const char* text, std::string& group);

bool startsWith(const std::string& text, const std::string& prefix);
bool endsWith(const std::string& text, const std::string& suffix);

}  // namespace utils
