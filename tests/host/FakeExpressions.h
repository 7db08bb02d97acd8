#pragma once

// One configurable fake expression and a plug-in that builds it under several names, for testing
// the host: each name selects a behaviour and a base, and every call the host makes can be
// logged as one "id.operation" line.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cwchar>
#include <mutex>
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

inline std::string render(const StringVector& values) {
    std::string out = "[";
    for (std::int32_t i = 0; i < values.m_Count; ++i) {
        out += (i > 0 ? "," : "") + narrow(values[i]);
    }
    return out + "]";
}

/// Appends "id.call" for `expression` to `log`, if there is one.
inline void logCall(CallLog* log, const PluginSDK::Expression& expression,
                    const std::string& call) {
    if (log != nullptr) {
        const wchar_t* id = expression.getProperty(L"id");
        log->push_back((id != nullptr ? narrow(id) : std::string("?")) + "." + call);
    }
}

/// The fake on any of the four bases, behaving as its name says (see kScripts). Without
/// `override`, one class serves every base: operations a base lacks are never called.
template <class Base>
class Fake final : public Base {
public:
    Fake(std::wstring kind, CallLog* log) : m_Kind(std::move(kind)), m_Log(log) {}

    std::int32_t getType() { return m_Kind == L"Confused" ? 7 : Base::getType(); }
    bool isReady() {
        if (Base::isOperator()) {
            log(std::string("isReady=") + (m_Ready ? "true" : "false"));
        }
        return m_Ready || !Base::isOperator();
    }
    void disposeExpression() {
        log("dispose");
        m_Values.removeAll();
        m_Ready = m_False = false;
    }
    bool continueOnError() const { return m_Kind == L"First"; }

    std::int32_t update(const String& value) {
        log("update(" + narrow(value) + ")");
        if (m_Kind == L"All" && value != L"true" && value != L"false") {
            return PluginSDK::RC_NOT_A_TRUTH_VALUE;
        }
        m_False = m_False || value == L"false";
        m_Ready = m_Kind == L"First" || (m_Kind == L"All" && m_False);
        m_Values.addString(value);
        return 0;
    }
    std::int32_t update(const StringVector& values) {
        if (m_Kind == L"All") {
            return PluginSDK::RC_NOT_SUPPORTED;
        }
        log("update(" + render(values) + ")");
        for (std::int32_t i = 0; i < values.m_Count; ++i) {
            m_Values.addString(values[i]);
        }
        return 0;
    }
    std::int32_t updateWithError(std::int32_t code) {
        log("updateWithError(" + std::to_string(code) + ")");
        return code == PluginSDK::RC_FILE_STATUS_FAILED ? 0 : code;
    }

    std::int32_t getScalarResult(String& result) {
        log("getScalarResult");
        if (code() != 0) {
            return code();
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
            value = m_False ? L"false" : L"true";
        } else if (m_Kind == L"Count") {
            value = std::to_wstring(m_Values.m_Count).c_str();
        } else if (m_Kind == L"First") {
            value = m_Ready ? m_Values[0] : String(Base::getProperty(L"default"));
        }
        result = value;
        return 0;
    }
    std::int32_t getVectorResult(StringVector& result) {
        log("getVectorResult");
        if (code() != 0) {
            return code();
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
    std::int32_t code() const {
        const wchar_t* code = Base::getProperty(L"code");
        return code != nullptr ? static_cast<std::int32_t>(std::wcstol(code, nullptr, 10)) : 0;
    }

    std::wstring m_Kind;
    CallLog* m_Log;
    StringVector m_Values;
    bool m_Ready = false;
    bool m_False = false;
};

template <class Base>
PluginSDK::Expression* make(const std::wstring& kind, CallLog* log) {
    return new Fake<Base>(kind, log);
}

/// Every name the plug-in builds, with the base of its fake. A "code" property makes the result
/// operation fail with that code; All takes no lists, First passes over failures of -11009.
inline const std::pair<std::wstring, PluginSDK::Expression* (*)(const std::wstring&, CallLog*)>
    kScripts[] = {
        {L"Text", make<PluginSDK::ScalarOperand>},      // "value"
        {L"List", make<PluginSDK::VectorOperand>},      // the comma-separated "items", or none
        {L"All", make<PluginSDK::ScalarOperator>},      // "true" until handed "false", ready then
        {L"Count", make<PluginSDK::ScalarOperator>},    // the values handed, list elements each
        {L"Collect", make<PluginSDK::VectorOperator>},  // every value and element, in order
        {L"First", make<PluginSDK::ScalarOperator>},    // the first value, else "default"
        {L"Hungry", make<PluginSDK::ScalarOperand>},    // out of memory when asked its result
        {L"Traced", make<PluginSDK::ScalarOperand>},    // traces its "value", then answers it
        {L"Confused", make<PluginSDK::ScalarOperand>},  // getType() answers 7
};

/// Builds the fakes by name and checks that the host gives back exactly what it created.
/// "HungryToBuild" throws while being built; "Unbuildable" is registered but never built.
class FakePlugin : public PluginSDK::Plugin {
public:
    explicit FakePlugin(CallLog* log = nullptr) : m_Log(log) {}

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
    PluginSDK::PluginVersion getVersion() const override { return {2, 0, 0, 7}; }
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
        if (std::wstring(name) == L"HungryToBuild") {
            throw std::bad_alloc();
        }
        PluginSDK::Expression* created = nullptr;
        for (const auto& [kind, make] : kScripts) {
            created = kind == name ? make(kind, m_Log) : created;
        }
        *expression = created;
        if (created == nullptr) {
            return PluginSDK::RC_UNKNOWN_EXPRESSION;
        }
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Live.insert(created);
        return 0;
    }

    std::int32_t destroyExpression(PluginSDK::Expression* expression) override {
        std::unique_lock<std::mutex> lock(m_Mutex);
        if (expression == nullptr || m_Live.erase(expression) == 0) {
            m_Strays += expression != nullptr;  // never created here, or destroyed before
            return 0;
        }
        lock.unlock();
        logCall(m_Log, *expression, "destroy");
        delete expression;
        return 0;
    }

    std::size_t liveCount() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Live.size();
    }
    int strays() const { return m_Strays; }

private:
    CallLog* m_Log;
    std::wstring m_Name = L"FakePlugin";
    std::vector<std::wstring> m_Names = {L"Text",        L"List",   L"All",     L"Count",
                                         L"Collect",     L"First",  L"Hungry",  L"HungryToBuild",
                                         L"Unbuildable", L"Traced", L"Confused"};
    std::mutex m_Mutex;
    std::set<PluginSDK::Expression*> m_Live;
    std::atomic<int> m_Strays{0};
};

}  // namespace fake
