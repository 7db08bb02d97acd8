#include "cross/Concat.h"

#include <cwchar>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

namespace {

constexpr wchar_t kKeepEmpty[] = L"add";

}  // namespace

void Concat::disposeExpression() {
    m_Joined = static_cast<const wchar_t*>(nullptr);
    m_OperandsCounter = 0;
    m_Separator = static_cast<const wchar_t*>(nullptr);
    m_SkipEmpty = true;
    m_Initialised = false;
}

std::int32_t Concat::getScalarResult(PluginSDK::String& result) {
    result = m_Joined;
    return PluginSDK::RC_SUCCESS;
}

void Concat::init() {
    if (m_Initialised) {
        return;
    }
    m_Joined = static_cast<const wchar_t*>(nullptr);
    m_OperandsCounter = 0;
    m_Separator = getProperty(PropertyName::kSeparator);
    const wchar_t* ifEmpty = getProperty(PropertyName::kIfEmpty);
    m_SkipEmpty = ifEmpty == nullptr || std::wcscmp(ifEmpty, kKeepEmpty) != 0;
    m_Initialised = true;
}

std::int32_t Concat::update(const PluginSDK::String& value) {
    init();
    // The first operand is always taken, empty or not, and needs no separator.
    if (++m_OperandsCounter == 1) {
        m_Joined = value;
        return PluginSDK::RC_SUCCESS;
    }
    if (m_SkipEmpty && value.length() == 0) {
        return PluginSDK::RC_SUCCESS;
    }
    m_Joined += m_Separator;
    m_Joined += value;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
