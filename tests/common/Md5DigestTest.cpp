#include "common/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#ifdef COREPLUGIN_HAVE_OPENSSL
#include <openssl/evp.h>
#endif

namespace {

using Bytes = std::vector<unsigned char>;

// The digest text of `data`, fed in pieces whose sizes `random` draws (empty, small, around a
// block, large), or whole without one.
std::string digest(const Bytes& data, std::mt19937* random = nullptr) {
    md5_context context;
    md5_init(&context);
    for (std::size_t offset = 0, piece = 0; offset < data.size(); offset += piece) {
        const std::size_t limit = random ? std::size_t{5000} >> ((*random)() % 13) : data.size();
        piece =
            std::min<std::size_t>(random ? (*random)() % (limit + 1) : limit, data.size() - offset);
        md5_update(&context, data.data() + offset, static_cast<std::uint32_t>(piece));
    }
    unsigned char bytes[16];
    md5_final(&context, bytes);
    char text[33];
    md5_tostr(text, bytes);
    return text;
}

Bytes randomBytes(std::size_t length, std::mt19937& random) {
    Bytes data(length);
    for (unsigned char& byte : data) {
        byte = static_cast<unsigned char>(random());
    }
    return data;
}

// OpenSSL's digest of `data`, or `fallback` where OpenSSL is not available.
std::string reference([[maybe_unused]] const Bytes& data,
                      [[maybe_unused]] const std::string& fallback) {
#ifdef COREPLUGIN_HAVE_OPENSSL
    unsigned char bytes[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EXPECT_EQ(EVP_Digest(data.data(), data.size(), bytes, &length, EVP_md5(), nullptr), 1);
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        text += pair;
    }
    return text;
#else
    return fallback;
#endif
}

}  // namespace

TEST(Md5DigestTest, Rfc1321TestSuite) {
    const std::pair<std::string, const char*> suite[] = {
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
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
    };
    std::mt19937 random(3);
    for (const auto& [message, expected] : suite) {
        const Bytes data(message.begin(), message.end());
        EXPECT_EQ(digest(data), expected) << message.size();
        EXPECT_EQ(digest(data, &random), expected) << message.size();
    }
}

TEST(Md5DigestTest, AgreesWithOpenSslWhateverTheChunking) {
    // Every length around the padding boundaries, and a few large inputs.
    std::mt19937 random(5);
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length <= 300; ++length) {
        lengths.push_back(length);
    }
    lengths.insert(lengths.end(), {65536, std::size_t{1} << 20, (std::size_t{3} << 20) + 55});
    for (std::size_t length : lengths) {
        const Bytes data = randomBytes(length, random);
        const std::string whole = digest(data);
        EXPECT_EQ(digest(data, &random), whole) << length;
        EXPECT_EQ(whole, reference(data, whole)) << length;
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

TEST(Md5DigestTest, ContextLayout) {
    static_assert(sizeof(md5_context) == 88);
    static_assert(offsetof(md5_context, state) == 0);
    static_assert(offsetof(md5_context, count) == 16);
    static_assert(offsetof(md5_context, buffer) == 24);
}
