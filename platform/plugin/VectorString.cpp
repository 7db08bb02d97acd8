#include "PluginSDK/VectorString.h"

namespace PluginSDK {

namespace {

constexpr wchar_t kTerminator = L';';
constexpr wchar_t kEscape = L'\\';

}  // namespace

VectorString& VectorString::operator+=(const wchar_t* element) {
    if (element != nullptr) {
        for (const wchar_t* c = element; *c != L'\0'; ++c) {
            if (*c == kTerminator || *c == kEscape) {
                m_Text += kEscape;
            }
            m_Text += *c;
        }
    }
    m_Text += kTerminator;
    return *this;
}

void VectorString::reset() {
    m_Text.clear();
}

void VectorString::toVector(const wchar_t* text, StringVector& vector) {
    if (text == nullptr) {
        return;
    }
    std::wstring element;
    // Whether characters were read since the last terminator, so that a text not ending with
    // one still yields its last element, even one made only of escapes.
    bool pending = false;
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c == kTerminator) {
            vector.addString(element.c_str());
            element.clear();
            pending = false;
            continue;
        }
        if (*c == kEscape && c[1] != L'\0') {
            ++c;
        }
        element += *c;
        pending = true;
    }
    if (pending) {
        vector.addString(element.c_str());
    }
}

}  // namespace PluginSDK
