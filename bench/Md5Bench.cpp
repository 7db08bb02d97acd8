// The md5_ digest module beside OpenSSL's MD5 (libcrypto) on short texts, 1 KiB and 1 MiB, and
// the Md5 operator end to end beside a host that would digest the same text with OpenSSL.

// The low-level MD5 calls are deprecated in OpenSSL 3 but still the fastest way into its code.
#define OPENSSL_SUPPRESS_DEPRECATED 1

#include <openssl/evp.h>
#include <openssl/md5.h>

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "PluginSDK/String.h"
#include "common/md5.h"
#include "cross/Md5.h"
#include "platform/utf8.h"

namespace {

// A 40-byte text: about what a rule digests (a version banner, a path, a key's value).
constexpr char kShortText[] = "Debian GNU/Linux 12 (bookworm) x86_64 6.";
static_assert(sizeof kShortText - 1 == 40);

std::vector<unsigned char> makeData(std::size_t size) {
    std::vector<unsigned char> data(size);
    std::uint32_t seed = 0x12345678;
    for (unsigned char& byte : data) {
        seed = seed * 1664525 + 1013904223;
        byte = static_cast<unsigned char>(seed >> 24);
    }
    return data;
}

const std::vector<unsigned char>& dataOf(std::size_t size) {
    static const std::vector<unsigned char> kKiB = makeData(1024);
    static const std::vector<unsigned char> kMiB = makeData(1024 * 1024);
    static const std::vector<unsigned char> kShort(kShortText, kShortText + 40);
    return size == 40 ? kShort : size == 1024 ? kKiB : kMiB;
}

void setBytes(benchmark::State& state, std::size_t size) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// The digest of one text, from a fresh state to the 16 bytes.
void BM_Md5Module(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::vector<unsigned char>& data = dataOf(size);
    unsigned char digest[16];
    for (auto _ : state) {
        md5_context context;
        md5_init(&context);
        md5_update(&context, data.data(), static_cast<std::uint32_t>(data.size()));
        md5_final(&context, digest);
        benchmark::DoNotOptimize(digest);
    }
    setBytes(state, size);
}
BENCHMARK(BM_Md5Module)->ArgName("bytes")->Arg(40)->Arg(1024)->Arg(1024 * 1024);

void BM_OpenSslMd5(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::vector<unsigned char>& data = dataOf(size);
    unsigned char digest[MD5_DIGEST_LENGTH];
    for (auto _ : state) {
        MD5_CTX context;
        MD5_Init(&context);
        MD5_Update(&context, data.data(), data.size());
        MD5_Final(digest, &context);
        benchmark::DoNotOptimize(digest);
    }
    setBytes(state, size);
}
BENCHMARK(BM_OpenSslMd5)->ArgName("bytes")->Arg(40)->Arg(1024)->Arg(1024 * 1024);

// The one-shot EVP call: what current OpenSSL documentation points a program to.
void BM_OpenSslEvpDigest(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::vector<unsigned char>& data = dataOf(size);
    const EVP_MD* md5 = EVP_md5();
    unsigned char digest[EVP_MAX_MD_SIZE];
    for (auto _ : state) {
        unsigned int length = 0;
        EVP_Digest(data.data(), data.size(), digest, &length, md5, nullptr);
        benchmark::DoNotOptimize(digest);
    }
    setBytes(state, size);
}
BENCHMARK(BM_OpenSslEvpDigest)->ArgName("bytes")->Arg(40)->Arg(1024)->Arg(1024 * 1024);

PluginSDK::String wideText(std::size_t size) {
    const std::vector<unsigned char>& data = dataOf(size);
    std::wstring text;
    // Printable characters only, so the UTF-8 form has exactly `size` bytes.
    for (unsigned char byte : data) {
        text.push_back(static_cast<wchar_t>(L' ' + byte % 95));
    }
    return PluginSDK::String(text.c_str());
}

// The operator as a host drives it: one child's text in, the digest text out, then disposed.
void BM_Md5Operator(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const PluginSDK::String input = wideText(size);
    CorePlugin::Md5 expression;
    PluginSDK::String result;
    for (auto _ : state) {
        expression.update(input);
        expression.getScalarResult(result);
        benchmark::DoNotOptimize(static_cast<const wchar_t*>(result));
        expression.disposeExpression();
    }
    setBytes(state, size);
}
BENCHMARK(BM_Md5Operator)->ArgName("bytes")->Arg(40)->Arg(1024)->Arg(1024 * 1024);

// The same work done with OpenSSL: the text to UTF-8, the one-shot digest, the hexadecimal text.
void BM_OpenSslOperatorEquivalent(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const PluginSDK::String input = wideText(size);
    const EVP_MD* md5 = EVP_md5();
    PluginSDK::String result;
    for (auto _ : state) {
        PluginSDK::String joined;
        joined += input;
        std::string bytes;
        platform::toUtf8(static_cast<const wchar_t*>(joined), bytes);
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        EVP_Digest(bytes.data(), bytes.size(), digest, &length, md5, nullptr);
        char text[33];
        constexpr char kDigits[] = "0123456789abcdef";
        for (unsigned i = 0; i < 16; ++i) {
            text[2 * i] = kDigits[digest[i] >> 4];
            text[2 * i + 1] = kDigits[digest[i] & 0x0F];
        }
        text[32] = '\0';
        result = text;
        benchmark::DoNotOptimize(static_cast<const wchar_t*>(result));
    }
    setBytes(state, size);
}
BENCHMARK(BM_OpenSslOperatorEquivalent)->ArgName("bytes")->Arg(40)->Arg(1024)->Arg(1024 * 1024);

}  // namespace
