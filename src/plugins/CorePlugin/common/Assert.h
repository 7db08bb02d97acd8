#pragma once

#include <cstdio>
#include <cstdlib>

/// Guards an internal invariant that no input or property can break. A failure names the
/// asserted expression, the source path and the line, then ends the process.
#define COREPLUGIN_ASSERT(condition, file, line)                                               \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", #condition, file, \
                         line);                                                                \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)
