#include "cross/Compare.h"

#include <cwchar>
#include <memory>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Assert.h"
#include "common/Boolean.h"
#include "common/CiString.h"
#include "common/CompareOperand.h"
#include "common/Converter.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/String.h"
#include "common/UInteger.h"
#include "common/Version.h"

namespace CorePlugin {

namespace {

constexpr char kSource[] = "./../../../../src/plugins/CorePlugin/cross/Compare";

struct TypeRow {
    const wchar_t* name;
    Comparable* (*make)();
};

// Lookup order.
constexpr TypeRow kTypes[] = {
    {TypeName::kVersion, []() -> Comparable* { return new Version(0, 0, 0, 0); }},
    {TypeName::kInteger, []() -> Comparable* { return new Integer(0); }},
    {TypeName::kUInteger, []() -> Comparable* { return new UInteger(0); }},
    {TypeName::kString, []() -> Comparable* { return new String(nullptr); }},
    {TypeName::kCiString, []() -> Comparable* { return new CiString(nullptr); }},
    {TypeName::kBoolean, []() -> Comparable* { return new Boolean(false); }},
    {TypeName::kHex, []() -> Comparable* { return new Hex(0); }},
};

}  // namespace

void Compare::disposeExpression() {
    m_Ready = false;
    m_Result = false;
    m_OperandsCounter = 0;
    m_FirstOperand = static_cast<const wchar_t*>(nullptr);
    m_SecondOperand = static_cast<const wchar_t*>(nullptr);
}

std::int32_t Compare::update(const PluginSDK::String& value) {
    if (m_OperandsCounter == 2) {
        return PluginSDK::RC_THIRD_OPERAND;
    }
    if (++m_OperandsCounter == 1) {
        m_FirstOperand = value;
        return PluginSDK::RC_SUCCESS;
    }
    COREPLUGIN_ASSERT(m_OperandsCounter == 2, kSource, 71);
    m_SecondOperand = value;
    m_Ready = true;
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Compare::validateProperties() {
    if (getProperty(PropertyName::kType) == nullptr) {
        return PluginSDK::RC_TYPE_ABSENT;
    }
    if (getProperty(PropertyName::kRelation) == nullptr) {
        return PluginSDK::RC_RELATION_ABSENT;
    }
    return PluginSDK::RC_SUCCESS;
}

Comparable* Compare::getComparableOperand(const wchar_t* type) {
    if (type == nullptr) {
        return nullptr;
    }
    for (const TypeRow& row : kTypes) {
        if (std::wcscmp(type, row.name) == 0) {
            return row.make();
        }
    }
    return nullptr;
}

std::int32_t Compare::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    if (m_OperandsCounter != 2) {
        return PluginSDK::RC_OPERANDS_MISSING;
    }
    const std::int32_t validation = validateProperties();
    if (validation != PluginSDK::RC_SUCCESS) {
        return validation;
    }
    const wchar_t* type = getProperty(PropertyName::kType);
    const wchar_t* relation = getProperty(PropertyName::kRelation);
    COREPLUGIN_ASSERT(type != NULL, kSource, 98);
    COREPLUGIN_ASSERT(relation != NULL, kSource, 99);

    // Each value is owned as soon as it exists: the second one's allocation may throw.
    const std::unique_ptr<Comparable> firstOwner(getComparableOperand(type));
    const std::unique_ptr<Comparable> secondOwner(getComparableOperand(type));
    Comparable* firstOperand = firstOwner.get();
    Comparable* secondOperand = secondOwner.get();
    if (firstOperand == nullptr) {
        COREPLUGIN_ASSERT(secondOperand == NULL, kSource, 107);
        return PluginSDK::RC_UNKNOWN_TYPE;
    }
    COREPLUGIN_ASSERT(secondOperand != NULL, kSource, 112);

    // The order decides which code a doubly bad input gets: the first text, then the second,
    // then the relation name.
    std::int32_t code = firstOperand->set(m_FirstOperand);
    if (code == PluginSDK::RC_SUCCESS) {
        code = secondOperand->set(m_SecondOperand);
    }
    if (code == PluginSDK::RC_SUCCESS) {
        code = CompareOperand::compare(firstOperand, secondOperand, relation, m_Result);
    }
    if (code == PluginSDK::RC_SUCCESS) {
        result = Converter::toString(m_Result);
    }
    return code;
}

}  // namespace CorePlugin
