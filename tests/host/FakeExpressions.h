#pragma once

// Small expression classes and a plug-in that builds them, for testing the host: they follow
// the protocol like the real plug-in's classes and can log every call the host makes.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <set>
#include <string>
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

/// Where fake expressions write what the host called, one "id.operation" line per call.
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

/// The part every fake shares: its log line prefix and a count of live objects.
class Logging {
public:
    static std::atomic<int>& live() {
        static std::atomic<int> count{0};
        return count;
    }

    Logging(PluginSDK::Expression& self, CallLog* log) : m_Self(self), m_Log(log) { ++live(); }
    ~Logging() { --live(); }

    void log(const std::string& call) const {
        if (m_Log != nullptr) {
            const wchar_t* id = m_Self.getProperty(L"id");
            m_Log->push_back((id != nullptr ? narrow(id) : std::string("?")) + "." + call);
        }
    }

    // A "code" property makes the operation that reads it fail with that code.
    std::int32_t code() const {
        const wchar_t* text = m_Self.getProperty(L"code");
        return text != nullptr ? static_cast<std::int32_t>(std::wcstol(text, nullptr, 10)) : 0;
    }

private:
    PluginSDK::Expression& m_Self;
    CallLog* m_Log;
};

/// The text of "value", or a failure with "code".
class Text : public PluginSDK::ScalarOperand {
public:
    explicit Text(CallLog* log) : m_Logging(*this, log) {}
    void disposeExpression() override { m_Logging.log("dispose"); }
    std::int32_t getScalarResult(String& result) override {
        m_Logging.log("getScalarResult");
        if (m_Logging.code() != 0) {
            return m_Logging.code();
        }
        result = getProperty(L"value");
        return 0;
    }

private:
    Logging m_Logging;
};

/// The comma-separated "items" as a list; an empty "items" is the empty list.
class List : public PluginSDK::VectorOperand {
public:
    explicit List(CallLog* log) : m_Logging(*this, log) {}
    void disposeExpression() override { m_Logging.log("dispose"); }
    std::int32_t getVectorResult(StringVector& result) override {
        m_Logging.log("getVectorResult");
        if (m_Logging.code() != 0) {
            return m_Logging.code();
        }
        std::wstring items = getProperty(L"items") != nullptr ? getProperty(L"items") : L"";
        std::size_t start = 0;
        while (!items.empty()) {
            const std::size_t comma = items.find(L',', start);
            result.addString(items.substr(start, comma - start).c_str());
            if (comma == std::wstring::npos) {
                break;
            }
            start = comma + 1;
        }
        return 0;
    }

private:
    Logging m_Logging;
};

/// Conjunction of truth words, settled by the first "false"; takes no lists.
class All : public PluginSDK::ScalarOperator {
public:
    explicit All(CallLog* log) : m_Logging(*this, log) {}
    bool isReady() override {
        m_Logging.log(std::string("isReady=") + (m_Ready ? "true" : "false"));
        return m_Ready;
    }
    void disposeExpression() override {
        m_Logging.log("dispose");
        m_Ready = false;
        m_Result = true;
    }
    std::int32_t update(const String& value) override {
        m_Logging.log("update(" + narrow(value) + ")");
        if (value == L"false") {
            m_Result = false;
            m_Ready = true;
        } else if (value != L"true") {
            return PluginSDK::RC_NOT_A_TRUTH_VALUE;
        }
        return 0;
    }
    std::int32_t getScalarResult(String& result) override {
        m_Logging.log("getScalarResult");
        result = m_Result ? L"true" : L"false";
        return 0;
    }

private:
    Logging m_Logging;
    bool m_Ready = false;
    bool m_Result = true;
};

/// How many values it was handed, a list counting its elements; forgets them only when disposed.
class Count : public PluginSDK::ScalarOperator {
public:
    explicit Count(CallLog* log) : m_Logging(*this, log) {}
    bool isReady() override {
        m_Logging.log("isReady=false");
        return false;
    }
    void disposeExpression() override {
        m_Logging.log("dispose");
        m_Count = 0;
    }
    std::int32_t update(const String& value) override {
        m_Logging.log("update(" + narrow(value) + ")");
        ++m_Count;
        return 0;
    }
    std::int32_t update(const StringVector& values) override {
        m_Logging.log("update(" + render(values) + ")");
        m_Count += values.m_Count;
        return 0;
    }
    std::int32_t getScalarResult(String& result) override {
        m_Logging.log("getScalarResult");
        if (m_Logging.code() != 0) {
            return m_Logging.code();
        }
        result = std::to_wstring(m_Count).c_str();
        return 0;
    }

private:
    Logging m_Logging;
    std::int32_t m_Count = 0;
};

/// Every value and every list element it was handed, in order.
class Collect : public PluginSDK::VectorOperator {
public:
    explicit Collect(CallLog* log) : m_Logging(*this, log) {}
    bool isReady() override {
        m_Logging.log("isReady=false");
        return false;
    }
    void disposeExpression() override {
        m_Logging.log("dispose");
        m_Values.removeAll();
    }
    std::int32_t update(const String& value) override {
        m_Logging.log("update(" + narrow(value) + ")");
        m_Values.addString(value);
        return 0;
    }
    std::int32_t update(const StringVector& values) override {
        m_Logging.log("update(" + render(values) + ")");
        for (std::int32_t i = 0; i < values.m_Count; ++i) {
            m_Values.addString(values[i]);
        }
        return 0;
    }
    std::int32_t getVectorResult(StringVector& result) override {
        m_Logging.log("getVectorResult");
        result = m_Values;
        return 0;
    }

private:
    Logging m_Logging;
    StringVector m_Values;
};

/// The first value a child delivers; failures of -11009 are passed over, others are not.
class First : public PluginSDK::ScalarOperator {
public:
    explicit First(CallLog* log) : m_Logging(*this, log) {}
    bool continueOnError() const override { return true; }
    bool isReady() override {
        m_Logging.log(std::string("isReady=") + (m_Found ? "true" : "false"));
        return m_Found;
    }
    void disposeExpression() override {
        m_Logging.log("dispose");
        m_Found = false;
        m_Value = L"";
    }
    std::int32_t update(const String& value) override {
        m_Logging.log("update(" + narrow(value) + ")");
        m_Value = value;
        m_Found = true;
        return 0;
    }
    std::int32_t updateWithError(std::int32_t code) override {
        m_Logging.log("updateWithError(" + std::to_string(code) + ")");
        return code == PluginSDK::RC_FILE_STATUS_FAILED ? 0 : code;
    }
    std::int32_t getScalarResult(String& result) override {
        m_Logging.log("getScalarResult");
        result = m_Found ? m_Value : String(getProperty(L"default"));
        return 0;
    }

private:
    Logging m_Logging;
    bool m_Found = false;
    String m_Value;
};

/// Runs out of memory when asked for its result.
class Hungry : public PluginSDK::ScalarOperand {
public:
    explicit Hungry(CallLog* log) : m_Logging(*this, log) {}
    void disposeExpression() override { m_Logging.log("dispose"); }
    std::int32_t getScalarResult(String&) override {
        m_Logging.log("getScalarResult");
        throw std::bad_alloc();
    }

private:
    Logging m_Logging;
};

/// Writes one trace record with its "value", then answers it.
class Traced : public PluginSDK::ScalarOperand {
public:
    explicit Traced(CallLog* log) : m_Logging(*this, log) {}
    void disposeExpression() override {}
    std::int32_t getScalarResult(String& result) override {
        Trace trace(Tracer::getInstance(Tracer::PLUGIN), "Traced::getScalarResult");
        trace.setLevel(1);
        trace << trace.pos("Traced.cpp", 7) << "traced value " << getProperty(L"value")
              << Trace::Modifier(Trace::END_OF_MESSAGE);
        result = getProperty(L"value");
        return 0;
    }

private:
    Logging m_Logging;
};

/// A scalar operand that misreports its type.
class Confused : public PluginSDK::ScalarOperand {
public:
    explicit Confused(CallLog* log) : m_Logging(*this, log) {}
    std::int32_t getType() override { return 7; }
    void disposeExpression() override {}
    std::int32_t getScalarResult(String& result) override {
        result = L"";
        return 0;
    }

private:
    Logging m_Logging;
};

/// Builds the fakes by name and checks that the host gives back exactly what it created.
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
        const std::wstring requested = name;
        PluginSDK::Expression* created = nullptr;
        if (requested == L"Text") {
            created = new Text(m_Log);
        } else if (requested == L"List") {
            created = new List(m_Log);
        } else if (requested == L"All") {
            created = new All(m_Log);
        } else if (requested == L"Count") {
            created = new Count(m_Log);
        } else if (requested == L"Collect") {
            created = new Collect(m_Log);
        } else if (requested == L"First") {
            created = new First(m_Log);
        } else if (requested == L"Hungry") {
            created = new Hungry(m_Log);
        } else if (requested == L"HungryToBuild") {
            throw std::bad_alloc();
        } else if (requested == L"Traced") {
            created = new Traced(m_Log);
        } else if (requested == L"Confused") {
            created = new Confused(m_Log);
        } else {
            *expression = nullptr;
            return PluginSDK::RC_UNKNOWN_EXPRESSION;
        }
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Live.insert(created);
        *expression = created;
        return 0;
    }

    std::int32_t destroyExpression(PluginSDK::Expression* expression) override {
        if (expression == nullptr) {
            return 0;
        }
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if (m_Live.erase(expression) == 0) {
                ++m_Strays;  // never created here, or destroyed before
                return 0;
            }
        }
        if (m_Log != nullptr) {
            const wchar_t* id = expression->getProperty(L"id");
            m_Log->push_back((id != nullptr ? narrow(id) : std::string("?")) + ".destroy");
        }
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
