#pragma once

#include <cstdint>

// Wide-character helpers of the base runtime. Every pointer they return is new memory that the
// caller releases with zovm_free. Allocation failure throws std::bad_alloc.

/// A copy of `text`; null for null.
wchar_t* i_wcsdup(const wchar_t* text);

/// The signed decimal text of `value`.
wchar_t* i_ltowcs(std::int32_t value);

/// A UTF-8 copy of `text`; null for null or when a character has no UTF-8 form.
char* i_wcstombs(const wchar_t* text);

/// A wide text formatted by the printf-style 8-bit `format`; null when formatting fails.
wchar_t* i_wsprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Re-entrant tokeniser with the contract of the C library's three-argument wcstok: runs of
/// delimiters are skipped, and `*saved` keeps the position between calls.
wchar_t* i_wcstok(wchar_t* text, const wchar_t* delimiters, wchar_t** saved);

/// Decimal text to a signed 32-bit number, as wcstol reads it (leading blanks, an optional
/// sign, digits up to the first other character), saturating at the 32-bit limits; 0 when the
/// text holds no number or is null.
std::int32_t i_wcstol(const wchar_t* text);

/// Releases memory returned by the functions above and by PluginSDK::String::getMultibyteString.
void zovm_free(void* memory);
