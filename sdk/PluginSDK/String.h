#pragma once

#include <cstdint>
#include <string>

namespace PluginSDK {

/// The host's wide text with value semantics: every scalar result, operand and property copy.
class String {
public:
    String() = default;
    String(const wchar_t* text);  // null gives the empty text
    String(const String& other) = default;
    String(String&& other) noexcept = default;
    ~String() = default;

    String& operator=(const String& other) = default;
    String& operator=(String&& other) noexcept = default;
    String& operator=(const wchar_t* text);  // null makes it empty
    String& operator=(const char* text);     // UTF-8; a text that does not convert makes it empty

    String& operator+=(const String& other);
    String& operator+=(const wchar_t* text);

    bool operator==(const wchar_t* text) const;
    bool operator!=(const wchar_t* text) const;
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const;

    // Code-point order, whatever the process locale.
    bool operator<(const String& other) const;
    bool operator<=(const String& other) const;
    bool operator>(const String& other) const;
    bool operator>=(const String& other) const;

    std::int32_t length() const;
    operator const wchar_t*() const { return m_Text.c_str(); }

    /// An optional sign and decimal digits filling the whole text, within the signed 32-bit range
    /// (no blanks anywhere). With `isSigned` false a '-' sign is refused. On failure `value` is
    /// left as it was.
    bool toLong(std::int32_t& value, bool isSigned = true) const;

    /// Upper-cases ASCII letters in place.
    void toUpperCase();

    /// A new UTF-8 copy that the caller frees with zovm_free, or null when the text has a
    /// character without a UTF-8 form (or `text` is null).
    static char* getMultibyteString(const wchar_t* text);

private:
    std::wstring m_Text;
};

/// Three-way code-point comparison of two wide texts: negative, zero or positive.
int compareCodePoints(const wchar_t* left, const wchar_t* right);

}  // namespace PluginSDK
