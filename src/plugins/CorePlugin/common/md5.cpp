#include "common/md5.h"

#include <bit>
#include <cstring>

namespace {

constexpr unsigned char kPadding[64] = {0x80};

// Little-endian conversions between words and bytes; `length` is a multiple of 4.
void encode(unsigned char* output, const std::uint32_t* input, unsigned char length) {
    for (unsigned i = 0, j = 0; j < length; ++i, j += 4) {
        output[j] = static_cast<unsigned char>(input[i]);
        output[j + 1] = static_cast<unsigned char>(input[i] >> 8);
        output[j + 2] = static_cast<unsigned char>(input[i] >> 16);
        output[j + 3] = static_cast<unsigned char>(input[i] >> 24);
    }
}

void decode(std::uint32_t* output, const unsigned char* input, unsigned char length) {
    // Where words are little-endian already, the bytes are the words: a plain copy, which the
    // compiler turns into loads (the loop below it vectorises into byte shuffles instead).
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(output, input, length);
        return;
    }
    for (unsigned i = 0, j = 0; j < length; ++i, j += 4) {
        output[i] = std::uint32_t{input[j]} | (std::uint32_t{input[j + 1]} << 8) |
                    (std::uint32_t{input[j + 2]} << 16) | (std::uint32_t{input[j + 3]} << 24);
    }
}

// The four rounds' steps, written for a short dependency chain: the message word and the
// constant join `a` before the round function, and each function is in the form with the fewest
// operations after `b` is known (G's two terms are added, since they never share a bit, so the
// term without `b` can be summed first). Inlined, they leave the block transform as straight-line
// code.
inline void ff(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x,
               int s, std::uint32_t t) {
    a += x + t;
    a += d ^ (b & (c ^ d));
    a = b + std::rotl(a, s);
}
inline void gg(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x,
               int s, std::uint32_t t) {
    a += x + t;
    a += c & ~d;
    a += b & d;
    a = b + std::rotl(a, s);
}
inline void hh(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x,
               int s, std::uint32_t t) {
    a += x + t;
    a += b ^ c ^ d;
    a = b + std::rotl(a, s);
}
inline void ii(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x,
               int s, std::uint32_t t) {
    a += x + t;
    a += c ^ (b | ~d);
    a = b + std::rotl(a, s);
}

void transform(std::uint32_t state[4], const unsigned char block[64]) {
    std::uint32_t x[16];
    decode(x, block, 64);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    ff(a, b, c, d, x[0], 7, 0xd76aa478);
    ff(d, a, b, c, x[1], 12, 0xe8c7b756);
    ff(c, d, a, b, x[2], 17, 0x242070db);
    ff(b, c, d, a, x[3], 22, 0xc1bdceee);
    ff(a, b, c, d, x[4], 7, 0xf57c0faf);
    ff(d, a, b, c, x[5], 12, 0x4787c62a);
    ff(c, d, a, b, x[6], 17, 0xa8304613);
    ff(b, c, d, a, x[7], 22, 0xfd469501);
    ff(a, b, c, d, x[8], 7, 0x698098d8);
    ff(d, a, b, c, x[9], 12, 0x8b44f7af);
    ff(c, d, a, b, x[10], 17, 0xffff5bb1);
    ff(b, c, d, a, x[11], 22, 0x895cd7be);
    ff(a, b, c, d, x[12], 7, 0x6b901122);
    ff(d, a, b, c, x[13], 12, 0xfd987193);
    ff(c, d, a, b, x[14], 17, 0xa679438e);
    ff(b, c, d, a, x[15], 22, 0x49b40821);

    gg(a, b, c, d, x[1], 5, 0xf61e2562);
    gg(d, a, b, c, x[6], 9, 0xc040b340);
    gg(c, d, a, b, x[11], 14, 0x265e5a51);
    gg(b, c, d, a, x[0], 20, 0xe9b6c7aa);
    gg(a, b, c, d, x[5], 5, 0xd62f105d);
    gg(d, a, b, c, x[10], 9, 0x02441453);
    gg(c, d, a, b, x[15], 14, 0xd8a1e681);
    gg(b, c, d, a, x[4], 20, 0xe7d3fbc8);
    gg(a, b, c, d, x[9], 5, 0x21e1cde6);
    gg(d, a, b, c, x[14], 9, 0xc33707d6);
    gg(c, d, a, b, x[3], 14, 0xf4d50d87);
    gg(b, c, d, a, x[8], 20, 0x455a14ed);
    gg(a, b, c, d, x[13], 5, 0xa9e3e905);
    gg(d, a, b, c, x[2], 9, 0xfcefa3f8);
    gg(c, d, a, b, x[7], 14, 0x676f02d9);
    gg(b, c, d, a, x[12], 20, 0x8d2a4c8a);

    hh(a, b, c, d, x[5], 4, 0xfffa3942);
    hh(d, a, b, c, x[8], 11, 0x8771f681);
    hh(c, d, a, b, x[11], 16, 0x6d9d6122);
    hh(b, c, d, a, x[14], 23, 0xfde5380c);
    hh(a, b, c, d, x[1], 4, 0xa4beea44);
    hh(d, a, b, c, x[4], 11, 0x4bdecfa9);
    hh(c, d, a, b, x[7], 16, 0xf6bb4b60);
    hh(b, c, d, a, x[10], 23, 0xbebfbc70);
    hh(a, b, c, d, x[13], 4, 0x289b7ec6);
    hh(d, a, b, c, x[0], 11, 0xeaa127fa);
    hh(c, d, a, b, x[3], 16, 0xd4ef3085);
    hh(b, c, d, a, x[6], 23, 0x04881d05);
    hh(a, b, c, d, x[9], 4, 0xd9d4d039);
    hh(d, a, b, c, x[12], 11, 0xe6db99e5);
    hh(c, d, a, b, x[15], 16, 0x1fa27cf8);
    hh(b, c, d, a, x[2], 23, 0xc4ac5665);

    ii(a, b, c, d, x[0], 6, 0xf4292244);
    ii(d, a, b, c, x[7], 10, 0x432aff97);
    ii(c, d, a, b, x[14], 15, 0xab9423a7);
    ii(b, c, d, a, x[5], 21, 0xfc93a039);
    ii(a, b, c, d, x[12], 6, 0x655b59c3);
    ii(d, a, b, c, x[3], 10, 0x8f0ccc92);
    ii(c, d, a, b, x[10], 15, 0xffeff47d);
    ii(b, c, d, a, x[1], 21, 0x85845dd1);
    ii(a, b, c, d, x[8], 6, 0x6fa87e4f);
    ii(d, a, b, c, x[15], 10, 0xfe2ce6e0);
    ii(c, d, a, b, x[6], 15, 0xa3014314);
    ii(b, c, d, a, x[13], 21, 0x4e0811a1);
    ii(a, b, c, d, x[4], 6, 0xf7537e82);
    ii(d, a, b, c, x[11], 10, 0xbd3af235);
    ii(c, d, a, b, x[2], 15, 0x2ad7d2bb);
    ii(b, c, d, a, x[9], 21, 0xeb86d391);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

void md5_init(md5_context* context) {
    context->count[0] = 0;
    context->count[1] = 0;
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
}

void md5_update(md5_context* context, const unsigned char* input, std::uint32_t length) {
    if (length == 0) {
        return;
    }
    const std::uint32_t used = (context->count[0] >> 3) & 0x3F;
    const std::uint32_t bitsLow = length << 3;
    context->count[0] += bitsLow;
    if (context->count[0] < bitsLow) {
        ++context->count[1];
    }
    context->count[1] += length >> 29;

    const std::uint32_t room = 64 - used;
    std::uint32_t i = 0;
    if (length >= room) {
        std::memcpy(&context->buffer[used], input, room);
        transform(context->state, context->buffer);
        // Whole blocks are transformed where they lie, without a copy.
        for (i = room; length - i >= 64; i += 64) {
            transform(context->state, &input[i]);
        }
        std::memcpy(context->buffer, &input[i], length - i);
    } else {
        std::memcpy(&context->buffer[used], input, length);
    }
}

void md5_final(md5_context* context, unsigned char digest[16]) {
    unsigned char bits[8];
    encode(bits, context->count, 8);
    const std::uint32_t used = (context->count[0] >> 3) & 0x3F;
    const std::uint32_t padding = used < 56 ? 56 - used : 120 - used;
    md5_update(context, kPadding, padding);
    md5_update(context, bits, 8);
    encode(digest, context->state, 16);
}

void md5_tostr(char text[33], const unsigned char digest[16]) {
    constexpr char kDigits[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = kDigits[digest[i] >> 4];
        text[2 * i + 1] = kDigits[digest[i] & 0x0F];
    }
    text[32] = '\0';
}
