#pragma once

// One configurable fake expression and a plug-in that builds it under several names, for testing
// the host: each name selects a behaviour and a base, and every call the host makes can be
// logged as one "id.operation" line.

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "PluginSDK/Configuration.h"
#include "PluginSDK/Plugin.h"
#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/ScalarOperand.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperand.h"
#include "PluginSDK/VectorOperator.h"
#include "tracing/Trace.h"
#include "tracing/Tracer.h"

namespace fake {

using PluginSDK::String;
using PluginSDK::StringVector;
using CallLog = std::vector<std::string>;

inline std::string narrow(const wchar_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text) {
        out += static_cast<char>(*text);
    }
    return out;
}

/// Appends "ID.CALL" to `log`, if there is one, for the expression of that "id".
inline void logCall(CallLog* log, const PluginSDK::Expression& expression,
                    const std::string& call) {
    if (log != nullptr) {
        log->push_back(narrow(expression.getProperty(L"id")) + "." + call);
    }
}

/// The fake on any of the four bases, behaving as its name says (see kScripts). Without
/// `override`, one class serves every base: operations a base lacks are never called. A "code"
/// property makes the result operation fail with that code.
template <class Base>
class Fake final : public Base {
public:
    Fake(std::wstring kind, CallLog* log) : m_Kind(std::move(kind)), m_Log(log) {}

    std::int32_t getType() { return m_Kind == L"Confused" ? 7 : Base::getType(); }
    bool isReady() {
        log(std::string("isReady=") + (m_Ready ? "true" : "false"));
        return m_Ready;
    }
    void disposeExpression() {
        log("dispose");
        m_Values.removeAll();
        m_Ready = false;
    }
    bool continueOnError() const { return m_Kind == L"First"; }

    std::int32_t update(const String& value) {
        log("update(" + narrow(value) + ")");
        if (m_Kind == L"All" && value != L"true" && value != L"false") {
            return PluginSDK::RC_NOT_A_TRUTH_VALUE;
        }
        m_Ready = m_Kind == L"First" || (m_Kind == L"All" && (m_Ready || value == L"false"));
        m_Values.addString(value);
        return 0;
    }
    std::int32_t update(const StringVector& values) {
        std::string text;
        for (std::int32_t i = 0; i < values.m_Count; ++i) {
            text += (i > 0 ? "," : "") + narrow(values[i]);
            m_Values.addString(values[i]);
        }
        log("update([" + text + "])");
        return 0;
    }
    // Passes over a failure to read a file's status, and fails with any other.
    std::int32_t updateWithError(std::int32_t code) {
        log("updateWithError(" + std::to_string(code) + ")");
        return code == PluginSDK::RC_FILE_STATUS_FAILED ? 0 : code;
    }

    std::int32_t getScalarResult(String& result) {
        if (const std::int32_t failure = code("getScalarResult")) {
            return failure;
        }
        String value = Base::getProperty(L"value");
        if (m_Kind == L"Hungry") {
            throw std::bad_alloc();
        }
        if (m_Kind == L"Traced") {
            Trace trace(Tracer::getInstance(Tracer::PLUGIN), "Traced::getScalarResult");
            trace.setLevel(1);
            trace << trace.pos("Traced.cpp", 7) << "traced value " << value
                  << Trace::Modifier(Trace::END_OF_MESSAGE);
        }
        if (m_Kind == L"All") {
            value = m_Ready ? L"false" : L"true";
        } else if (m_Kind == L"Count") {
            value = std::to_wstring(m_Values.m_Count).c_str();
        } else if (m_Kind == L"First" && m_Ready) {
            value = m_Values[0];
        }
        result = value;
        return 0;
    }
    std::int32_t getVectorResult(StringVector& result) {
        if (const std::int32_t failure = code("getVectorResult")) {
            return failure;
        }
        if (m_Kind == L"Collect") {
            result = m_Values;
            return 0;
        }
        const wchar_t* property = Base::getProperty(L"items");
        const std::wstring items = property != nullptr ? property : L"";
        for (std::size_t start = 0, comma = 0; !items.empty() && start <= items.size();
             start = comma + 1) {
            comma = std::min(items.find(L',', start), items.size());
            result.addString(items.substr(start, comma - start).c_str());
        }
        return 0;
    }

private:
    void log(const std::string& call) const { logCall(m_Log, *this, call); }
    // Logs a result operation, and answers the "code" it is to fail with, or 0.
    std::int32_t code(const char* call) const {
        log(call);
        const wchar_t* code = Base::getProperty(L"code");
        return code != nullptr ? static_cast<std::int32_t>(std::wcstol(code, nullptr, 10)) : 0;
    }

    std::wstring m_Kind;
    CallLog* m_Log;
    StringVector m_Values;
    bool m_Ready = false;
};

template <class Base>
PluginSDK::Expression* make(const std::wstring& kind, CallLog* log) {
    return new Fake<Base>(kind, log);
}

inline PluginSDK::Expression* starve(const std::wstring&, CallLog*) {
    throw std::bad_alloc();
}

/// Every name the plug-in registers, in order, with the maker of its fake.
inline const std::pair<const wchar_t*, PluginSDK::Expression* (*)(const std::wstring&, CallLog*)>
    kScripts[] = {
        {L"Text", make<PluginSDK::ScalarOperand>},      // "value"
        {L"List", make<PluginSDK::VectorOperand>},      // the comma-separated "items", or none
        {L"All", make<PluginSDK::ScalarOperator>},      // "true" until handed "false", ready then
        {L"Count", make<PluginSDK::ScalarOperator>},    // the values handed, list elements each
        {L"Collect", make<PluginSDK::VectorOperator>},  // every value and element, in order
        {L"First", make<PluginSDK::ScalarOperator>},    // the first value handed, ready then
        {L"Hungry", make<PluginSDK::ScalarOperand>},    // out of memory when asked its result
        {L"HungryToBuild", starve},                     // out of memory while being built
        {L"Unbuildable", nullptr},                      // registered, but never built
        {L"Traced", make<PluginSDK::ScalarOperand>},    // traces its "value", then answers it
        {L"Confused", make<PluginSDK::ScalarOperand>},  // getType() answers 7
};

/// Builds the fakes by name and checks that the host gives back exactly what it created. For one
/// thread at a time.
class FakePlugin : public PluginSDK::Plugin {
public:
    explicit FakePlugin(CallLog* log = nullptr) : m_Log(log) {
        for (const auto& script : kScripts) {
            m_Names.emplace_back(script.first);
        }
    }

    /// A plug-in of another name that registers only `names` (for hosts of several plug-ins).
    FakePlugin(std::wstring name, std::vector<std::wstring> names)
        : m_Log(nullptr), m_Name(std::move(name)), m_Names(std::move(names)) {}

    void setProperty(const wchar_t* name, const wchar_t* value) override {
        if (std::wstring(name) == L"mode") {
            PluginSDK::Configuration* configuration = nullptr;
            PluginSDK::Configuration::get(m_Name.c_str(), configuration);
            configuration->setProperty(name, value);
        }
    }
    PluginSDK::PluginVersion getVersion() const override { return {}; }
    const wchar_t* getName() const override { return m_Name.c_str(); }
    void* getUnknownSoftware() override { return nullptr; }
    std::int32_t initializePlugin() override {
        for (const std::wstring& name : m_Names) {
            addExpression(name.c_str());
        }
        return 0;
    }
    std::int32_t cleanupPlugin() override {
        return PluginSDK::Configuration::cleanup(m_Name.c_str());
    }

    std::int32_t createExpression(const wchar_t* name,
                                  PluginSDK::Expression** expression) override {
        *expression = nullptr;
        for (const auto& [kind, make] : kScripts) {
            if (make != nullptr && std::wcscmp(kind, name) == 0) {
                *expression = make(kind, m_Log);
                m_Live.insert(*expression);
            }
        }
        return *expression != nullptr ? 0 : PluginSDK::RC_UNKNOWN_EXPRESSION;
    }

    std::int32_t destroyExpression(PluginSDK::Expression* expression) override {
        if (m_Live.erase(expression) == 0) {
            ++m_Strays;  // never created here, or destroyed before
        } else {
            logCall(m_Log, *expression, "destroy");
            delete expression;
        }
        return 0;
    }

    std::size_t liveCount() const { return m_Live.size(); }
    int strays() const { return m_Strays; }

private:
    CallLog* m_Log;
    std::wstring m_Name = L"FakePlugin";
    std::vector<std::wstring> m_Names;
    std::set<PluginSDK::Expression*> m_Live;
    int m_Strays = 0;
};

}  // namespace fake
