#pragma once

// Drives one expression object the way a host does, so that an expression test reads as a table
// of cases: evaluate<ValueOf>({{L"value", L"42"}}) for an operand, and
// feed<Not>({}, {L"true"}) for an operator.

#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
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

/// One child result handed to an operator: a text, a list, or a failed child's code.
struct Operand {
    enum Kind { SCALAR, VECTOR, FAILURE };
    Kind kind = SCALAR;
    std::wstring text;
    Texts list;
    std::int32_t code = 0;

    Operand(const wchar_t* value) : text(value) {}
    Operand(std::wstring value) : text(std::move(value)) {}
    static Operand vector(Texts values) {
        Operand operand(L"");
        operand.kind = VECTOR;
        operand.list = std::move(values);
        return operand;
    }
    static Operand failure(std::int32_t code) {
        Operand operand(L"");
        operand.kind = FAILURE;
        operand.code = code;
        return operand;
    }
};

/// What an operator answered: the code of each hand-over, its readiness after each, and the
/// result operation's outcome.
struct FeedOutcome : Outcome {
    std::vector<std::int32_t> updates;
    std::vector<bool> ready;
};

template <class Base>
FeedOutcome feedOperator(Base& expression, const std::vector<Operand>& operands) {
    FeedOutcome outcome;
    for (const Operand& operand : operands) {
        std::int32_t code = 0;
        switch (operand.kind) {
            case Operand::SCALAR:
                code = expression.update(PluginSDK::String(operand.text.c_str()));
                break;
            case Operand::VECTOR:
                code = expression.update(toStringVector(operand.list));
                break;
            case Operand::FAILURE:
                code = expression.continueOnError() ? expression.updateWithError(operand.code)
                                                    : operand.code;
                break;
        }
        outcome.updates.push_back(code);
        outcome.ready.push_back(expression.isReady());
    }
    static_cast<Outcome&>(outcome) = result(expression);
    return outcome;
}

/// Hands every operand to `expression` in order (also after it is ready, so tests see what a
/// surplus operand does), then asks for the result. A failed child goes to updateWithError when
/// the operator carries on after errors; otherwise its code is recorded as the hand-over's.
/// Calls go through the base's slots, as a host makes them.
template <class T>
FeedOutcome feed(T& expression, const std::vector<Operand>& operands) {
    if constexpr (std::is_base_of_v<PluginSDK::ScalarOperator, T>) {
        return feedOperator<PluginSDK::ScalarOperator>(expression, operands);
    } else {
        static_assert(std::is_base_of_v<PluginSDK::VectorOperator, T>);
        return feedOperator<PluginSDK::VectorOperator>(expression, operands);
    }
}

/// What a scalar operator answered, as one text: the code of each hand-over, marked "+" where the
/// operator was ready after it, then "=> code:result". Tables of cases compare it whole.
inline std::wstring summary(const FeedOutcome& outcome) {
    std::wstring text;
    for (std::size_t i = 0; i < outcome.updates.size(); ++i) {
        text += std::to_wstring(outcome.updates[i]) + (outcome.ready[i] ? L"+ " : L" ");
    }
    return text + L"=> " + std::to_wstring(outcome.code) + L":" + outcome.result;
}

/// Builds an operator with `properties`, feeds it `operands` and asks for its result.
template <class T, class... Arguments>
FeedOutcome feed(const Properties& properties, const std::vector<Operand>& operands,
                 Arguments&&... arguments) {
    T expression(std::forward<Arguments>(arguments)...);
    setProperties(expression, properties);
    return feed(expression, operands);
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
