#pragma once

// Drives one expression object as a host does, into a stale out-parameter; captures its trace.

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/VectorExpression.h"
#include "tracing/Tracer.h"

namespace harness {

using Properties = std::vector<std::pair<std::wstring, std::wstring>>;
using Texts = std::vector<std::wstring>;

/// Properties written "name=value name=value" (no blanks in values): a row of cases on one line.
inline Properties parse(const std::wstring& text) {
    Properties properties;
    std::wistringstream pairs(text);
    for (std::wstring pair; pairs >> pair;) {
        const std::size_t equals = pair.find(L'=');
        properties.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
    }
    return properties;
}

inline void setProperties(PluginSDK::Expression& expression, const Properties& properties) {
    for (const auto& [name, value] : properties) {
        expression.setProperty(name.c_str(), value.c_str());
    }
}

inline PluginSDK::StringVector toStringVector(const Texts& texts) {
    PluginSDK::StringVector vector;
    for (const std::wstring& text : texts) {
        vector.addString(text.c_str());
    }
    return vector;
}

/// What one result operation answered: `result` for scalar nodes, `results` for vector ones.
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
        return outcome;
    }
    PluginSDK::StringVector list = toStringVector(previous.empty() ? Texts{} : Texts{previous});
    outcome.code = static_cast<PluginSDK::VectorExpression&>(expression).getVectorResult(list);
    for (std::int32_t i = 0; i < list.m_Count; ++i) {
        outcome.results.emplace_back(static_cast<const wchar_t*>(list[i]));
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

    std::vector<std::string> opened;  // the names of the records opened, in order
    std::vector<std::string> closed;  // the names of the records closed, in order
    std::vector<TraceMessage> messages;

private:
    static void collect(const Tracer::Event& event, void* context) {
        auto& self = *static_cast<TraceCapture*>(context);
        if (event.kind != Tracer::Event::MESSAGE) {
            (event.kind == Tracer::Event::OPEN ? self.opened : self.closed)
                .emplace_back(event.function);
            return;
        }
        self.messages.push_back({std::string(event.function), event.level, std::string(event.file),
                                 event.line, std::string(event.text)});
    }
};

}  // namespace harness
