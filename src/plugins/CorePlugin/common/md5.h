#pragma once

#include <cstdint>

// The MD5 message digest of RFC 1321, exported under plain C names so that any host can use it.

/// The running state of one digest.
struct md5_context {
    std::uint32_t state[4];    // the chaining values A, B, C, D
    std::uint32_t count[2];    // message bits so far, modulo 2^64, low word first
    unsigned char buffer[64];  // input bytes of the block not yet complete
};

extern "C" {

/// Starts a new digest in `context`.
__attribute__((visibility("default"))) void md5_init(md5_context* context);

/// Feeds `length` bytes from `input` (which may be null when `length` is 0).
__attribute__((visibility("default"))) void md5_update(md5_context* context,
                                                       const unsigned char* input,
                                                       std::uint32_t length);

/// Pads the message, appends its bit count and writes the 16-byte digest.
__attribute__((visibility("default"))) void md5_final(md5_context* context,
                                                      unsigned char digest[16]);

/// Writes the digest as 32 lower-case hexadecimal digits and a terminating zero byte.
__attribute__((visibility("default"))) void md5_tostr(char text[33],
                                                      const unsigned char digest[16]);
}
