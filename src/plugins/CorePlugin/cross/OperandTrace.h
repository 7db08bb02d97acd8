#pragma once

#include <cstddef>
#include <cstdint>

#include "CorePluginNames.h"
#include "PluginSDK/Expression.h"
#include "PluginSDK/ResultCodes.h"
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

/// A property a traced operand requires: the code its absence gives, and the message that
/// reports it at a fixed line of the operand's source.
struct RequiredProperty {
    const wchar_t* name;
    std::int32_t absentCode;
    int line;
    const char* message;
};

/// Looks at every required property in order and reports each absent one into `trace`: the code
/// of the last absent property, or RC_SUCCESS.
template <std::size_t N>
std::int32_t checkRequired(const PluginSDK::Expression& expression, Trace& trace, const char* file,
                           const RequiredProperty (&required)[N]) {
    std::int32_t status = PluginSDK::RC_SUCCESS;
    for (const RequiredProperty& property : required) {
        if (expression.getProperty(property.name) == nullptr) {
            traceError(trace, file, property.line, property.message);
            status = property.absentCode;
        }
    }
    return status;
}

/// The check Clip and StringSlice share: "inputString", "startIndex" and "endIndex", each absent
/// one reported at its line of `file`.
inline std::int32_t checkIndexedText(const PluginSDK::Expression& expression, Trace& trace,
                                     const char* file, int inputLine, int startLine, int endLine) {
    const RequiredProperty required[] = {
        {PropertyName::kInputString, PluginSDK::RC_TEXT_PROPERTY_ABSENT, inputLine,
         "Unspecified inputString!"},
        {PropertyName::kStartIndex, PluginSDK::RC_INDEX_PROPERTY_ABSENT, startLine,
         "Unspecified startIndex!"},
        {PropertyName::kEndIndex, PluginSDK::RC_INDEX_PROPERTY_ABSENT, endLine,
         "Unspecified endIndex!"},
    };
    return checkRequired(expression, trace, file, required);
}

}  // namespace CorePlugin
