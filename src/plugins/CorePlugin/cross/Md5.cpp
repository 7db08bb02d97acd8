#include "cross/Md5.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "base/runtime.h"
#include "common/Assert.h"
#include "common/md5.h"

namespace CorePlugin {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool hasUtf8Form(wchar_t c) {
    const auto value = static_cast<std::uint32_t>(c);
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

// The UTF-8 form of `text`, newly allocated (released with zovm_free). Text that does not
// convert as it is converts with U+FFFD for each character that has no UTF-8 form, so every
// text has a digest.
char* toUtf8(const PluginSDK::String& text) {
    if (char* converted = PluginSDK::String::getMultibyteString(text)) {
        return converted;
    }
    std::wstring repaired(static_cast<const wchar_t*>(text));
    for (wchar_t& c : repaired) {
        if (!hasUtf8Form(c)) {
            c = kReplacement;
        }
    }
    return PluginSDK::String::getMultibyteString(repaired.c_str());
}

}  // namespace

void Md5::disposeExpression() {
    m_Input = static_cast<const wchar_t*>(nullptr);
}

std::int32_t Md5::getScalarResult(PluginSDK::String& result) {
    getMd5Signature(m_Input, result);
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Md5::update(const PluginSDK::String& value) {
    m_Input += value;
    return PluginSDK::RC_SUCCESS;
}

void Md5::getMd5Signature(const PluginSDK::String& input, PluginSDK::String& output) {
    char* converted = toUtf8(input);
    md5_context context;
    md5_init(&context);
    // The whole UTF-8 form is digested, not one byte per character, so the digest is that of
    // the bytes a user sees (md5sum of the UTF-8 text).
    if (converted != nullptr) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(converted);
        // The module counts bytes in 32 bits; longer text goes in pieces.
        constexpr std::size_t kPiece = std::size_t{1} << 30;
        for (std::size_t left = std::strlen(converted); left > 0;) {
            const std::size_t piece = left < kPiece ? left : kPiece;
            md5_update(&context, bytes, static_cast<std::uint32_t>(piece));
            bytes += piece;
            left -= piece;
        }
    }
    unsigned char digest[16];
    md5_final(&context, digest);
    char sMd5Value[33];
    md5_tostr(sMd5Value, digest);
    COREPLUGIN_ASSERT(sMd5Value[32] == 0, "./../../../../src/plugins/CorePlugin/cross/Md5", 79);
    zovm_free(converted);
    output = sMd5Value;
}

}  // namespace CorePlugin
