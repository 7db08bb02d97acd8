#pragma once

/// The base runtime's working string: wide text with index searches and substrings.
///
/// Positions count wide characters from 0. Out-of-range positions never read outside the text:
/// searches answer -1 and substrings are clipped to the text (an empty piece when nothing is left).
class String {
public:
    String();
    String(const wchar_t* text);  // null gives the empty text
    String(const String& other);
    ~String();

    String& operator=(const String& other);

    int length() const;

    /// The first occurrence of `text` beginning at or after `from`, or -1.
    int indexOf(const String& text, int from) const;

    /// The last occurrence of `text` beginning at or before `from` (-1: anywhere), or -1.
    int lastIndexOf(const String& text, int from) const;

    /// Whether the text holds `prefix` at position `from`.
    bool startsWith(const String& prefix, int from) const;
    bool endsWith(const String& suffix) const;

    /// The characters from `begin` to the end.
    String substring(int begin) const;
    /// The characters from `begin` to `end`, both included.
    String substring(int begin, int end) const;

    /// A UTF-8 form of the text, valid until the string changes or dies; null when a character
    /// has no UTF-8 form.
    operator const char*() const;

    /// The wide text, never null; read directly by callers.
    wchar_t* m_Text;

private:
    String(const wchar_t* text, int count);

    int m_Length;
    mutable char* m_Multibyte;
};
