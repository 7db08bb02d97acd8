#pragma once

// Drives one expression object the way a host does: properties in, the result operation called
// into an out-parameter that held a stale text, and the trace messages it wrote captured.

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "PluginSDK/Expression.h"
#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/String.h"
#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorExpression.h"
#include "PluginSDK/VectorOperator.h"
#include "tracing/Tracer.h"

namespace harness {

using Properties = std::vector<std::pair<std::wstring, std::wstring>>;
using Texts = std::vector<std::wstring>;

/// Properties written as "name=value name=value" (values without blanks), so that a row of a
/// table of cases fits on one line.
inline Properties parse(const std::wstring& text) {
    Properties properties;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L' ', start), text.size());
        const std::wstring pair = text.substr(start, end - start);
        const std::size_t equals = pair.find(L'=');
        properties.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
        start = end + 1;
    }
    return properties;
}

inline void setProperties(PluginSDK::Expression& expression, const Properties& properties) {
    for (const auto& [name, value] : properties) {
        expression.setProperty(name.c_str(), value.c_str());
    }
}

inline Texts toTexts(const PluginSDK::StringVector& vector) {
    Texts texts;
    for (int i = 0; i < vector.m_Count; ++i) {
        texts.emplace_back(static_cast<const wchar_t*>(vector[i]));
    }
    return texts;
}

inline PluginSDK::StringVector toStringVector(const Texts& texts) {
    PluginSDK::StringVector vector;
    for (const std::wstring& text : texts) {
        vector.addString(text.c_str());
    }
    return vector;
}

/// The code and the result of one result operation; `result` for scalar nodes, `results` for
/// vector nodes.
struct Outcome {
    std::int32_t code = 0;
    std::wstring result;
    Texts results;
};

/// Calls the result operation that getType() selects, into an out-parameter that holds
/// `previous` beforehand (so tests see whether a failure clears it).
inline Outcome result(PluginSDK::Expression& expression, const std::wstring& previous = L"stale") {
    Outcome outcome;
    if (expression.getType() == PluginSDK::Expression::TYPE_SCALAR) {
        PluginSDK::String text(previous.c_str());
        outcome.code = static_cast<PluginSDK::ScalarExpression&>(expression).getScalarResult(text);
        outcome.result = static_cast<const wchar_t*>(text);
    } else {
        PluginSDK::StringVector list;
        if (!previous.empty()) {
            list.addString(previous.c_str());
        }
        outcome.code = static_cast<PluginSDK::VectorExpression&>(expression).getVectorResult(list);
        outcome.results = toTexts(list);
    }
    return outcome;
}

/// Builds an operand with `properties` and asks for its result.
template <class T, class... Arguments>
Outcome evaluate(const Properties& properties, Arguments&&... arguments) {
    T expression(std::forward<Arguments>(arguments)...);
    setProperties(expression, properties);
    return result(expression);
}

/// One trace message as the callback sink delivered it.
struct TraceMessage {
    std::string function;
    int level;
    std::string file;
    int line;
    std::string text;
    bool operator==(const TraceMessage&) const = default;
};

/// Collects the trace events written while it lives; tracing goes back to no sink after.
class TraceCapture {
public:
    TraceCapture() { Tracer::sendToCallback(&TraceCapture::collect, this); }
    ~TraceCapture() { Tracer::sendToNone(); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    /// The names of the records opened, in order.
    std::vector<std::string> opened;
    /// The names of the records closed, in order.
    std::vector<std::string> closed;
    std::vector<TraceMessage> messages;

private:
    static void collect(const Tracer::Event& event, void* context) {
        auto* self = static_cast<TraceCapture*>(context);
        switch (event.kind) {
            case Tracer::Event::OPEN:
                self->opened.emplace_back(event.function);
                break;
            case Tracer::Event::CLOSE:
                self->closed.emplace_back(event.function);
                break;
            case Tracer::Event::MESSAGE:
                self->messages.push_back({std::string(event.function), event.level,
                                          std::string(event.file), event.line,
                                          std::string(event.text)});
                break;
        }
    }
};

}  // namespace harness
