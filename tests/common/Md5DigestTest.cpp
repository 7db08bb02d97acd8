// The digest module against RFC 1321's vectors and OpenSSL; what the Md5 expression digests is
// in cases/text-operators.cases.

#include "common/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "cross/Md5.h"

#ifdef COREPLUGIN_HAVE_OPENSSL
#include <openssl/evp.h>
#endif

namespace {

// The digest text of `data`'s bytes, fed in pieces whose sizes `random` draws (empty, small,
// around a block, large), or whole without one.
std::string digest(const std::string& data, std::mt19937* random = nullptr) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    md5_context context;
    md5_init(&context);
    for (std::size_t offset = 0, piece = 0; offset < data.size(); offset += piece) {
        const std::size_t limit = random ? std::size_t{5000} >> ((*random)() % 13) : data.size();
        piece =
            std::min<std::size_t>(random ? (*random)() % (limit + 1) : limit, data.size() - offset);
        md5_update(&context, bytes + offset, static_cast<std::uint32_t>(piece));
    }
    unsigned char sum[16];
    md5_final(&context, sum);
    char text[33];
    md5_tostr(text, sum);
    return text;
}

// OpenSSL's digest text of `data`, or `fallback` where OpenSSL is not available.
std::string reference([[maybe_unused]] const std::string& data,
                      [[maybe_unused]] const std::string& fallback) {
#ifdef COREPLUGIN_HAVE_OPENSSL
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EXPECT_EQ(EVP_Digest(data.data(), data.size(), sum, &length, EVP_md5(), nullptr), 1);
    char text[2 * EVP_MAX_MD_SIZE + 1] = "";
    for (unsigned int i = 0; i < length; ++i) {
        std::snprintf(text + 2 * i, 3, "%02x", sum[i]);
    }
    return text;
#else
    return fallback;
#endif
}

}  // namespace

// RFC 1321's suite, then random data of every length around the padding boundaries and a few
// large ones against OpenSSL, each digested whole and in random pieces.
TEST(Md5DigestTest, AgreesWithRfc1321AndOpenSslWhateverTheChunking) {
    std::vector<std::pair<std::string, std::string>> cases = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
         "0",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"}};
    std::mt19937 random(5);
    std::vector<std::size_t> lengths = {65536, std::size_t{1} << 20, (std::size_t{3} << 20) + 55};
    for (std::size_t length = 0; length <= 300; ++length) {
        lengths.push_back(length);
    }
    for (std::size_t length : lengths) {
        std::string data(length, '\0');
        for (char& byte : data) {
            byte = static_cast<char>(random());
        }
        cases.emplace_back(data, reference(data, digest(data)));
    }
    for (const auto& [data, expected] : cases) {
        EXPECT_EQ(digest(data), expected) << data.size();
        EXPECT_EQ(digest(data, &random), expected) << data.size();
    }
}

TEST(Md5DigestTest, BitCountCarriesIntoItsHighWord) {
    md5_context context;
    md5_init(&context);
    context.count[0] = 0xFFFFFFF8u;  // one byte short of 2^32 bits
    const unsigned char byte = 'x';
    md5_update(&context, &byte, 1);
    md5_update(&context, nullptr, 0);
    EXPECT_EQ(context.count[0], 0u);
    EXPECT_EQ(context.count[1], 1u);
}

// A rule cannot hold a character without a UTF-8 form; the Md5 expression digests it as U+FFFD.
TEST(Md5DigestTest, TheExpressionDigestsCharactersWithoutUtf8FormAsReplacements) {
    CorePlugin::Md5 md5;
    for (const wchar_t bad : {static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000)}) {
        PluginSDK::String digest;
        // U+10FFFF, the last character with a UTF-8 form, is kept.
        const std::wstring text = L"a" + std::wstring(1, bad) + L"b\U0010FFFF";
        md5.getMd5Signature(PluginSDK::String(text.c_str()), digest);
        EXPECT_STREQ(digest, L"6b56db4bf18820461f8d95d15f4c4fa4");  // of a EF BF BD b F4 8F BF BF
    }
}
