#pragma once

#include "tracing/Trace.h"
#include "tracing/Tracer.h"

namespace CorePlugin {

/// The tracer every record of the string operands goes to.
inline Tracer& operandTracer() {
    return Tracer::getInstance(Tracer::PLUGIN);
}

/// Writes one error message, with its source position, into the open record `trace`.
template <class Text>
void traceError(Trace& trace, const char* file, int line, const Text* message) {
    trace.setLevel(1);
    trace << trace.pos(file, line) << message << Trace::END_OF_MESSAGE;
}

}  // namespace CorePlugin
