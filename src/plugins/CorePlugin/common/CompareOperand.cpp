#include "common/CompareOperand.h"

#include <cwchar>
#include <memory>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Assert.h"
#include "common/Converter.h"

namespace CorePlugin {

namespace {

struct RelationRow {
    const wchar_t* name;
    bool (Comparable::*holds)(const Comparable&) const;
};

// Lookup order.
constexpr RelationRow kRelations[] = {{RelationName::kEq, &Comparable::operator== },
                                       {RelationName::kNe, &Comparable::operator!= },
                                        {RelationName::kGt, &Comparable::operator> },
                                         {RelationName::kGe, &Comparable::operator>= },
                                          {RelationName::kLt, &Comparable::operator<},
                                           {
                                               RelationName::kLe,
                                               &Comparable::operator<= },
                                          };

}  // namespace

std::int32_t CompareOperand::compare(Comparable* first, Comparable* second, const wchar_t* relation,
                                     bool& result) {
    if (first == nullptr || second == nullptr || relation == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    for (const RelationRow& row : kRelations) {
        if (std::wcscmp(relation, row.name) == 0) {
            result = (first->*row.holds)(*second);
            return PluginSDK::RC_SUCCESS;
        }
    }
    return PluginSDK::RC_UNKNOWN_RELATION;
}

namespace {

constexpr char kSource[] = "./../../../../src/plugins/CorePlugin/common/CompareOperand";

}  // namespace

std::int32_t CompareOperand::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const wchar_t* relation = nullptr;
    std::int32_t code = getRelation(&relation);
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    COREPLUGIN_ASSERT(relation != NULL, kSource, 50);
    Comparable* firstOperand = nullptr;
    Comparable* secondOperand = nullptr;
    code = getOperands(&firstOperand, &secondOperand);
    if (code == PluginSDK::RC_SUCCESS) {
        COREPLUGIN_ASSERT(firstOperand != NULL, kSource, 56);
        COREPLUGIN_ASSERT(secondOperand != NULL, kSource, 57);
        const std::unique_ptr<Comparable> first(firstOperand);
        const std::unique_ptr<Comparable> second(secondOperand);
        bool outcome = false;
        code = compare(first.get(), second.get(), relation, outcome);
        if (code == PluginSDK::RC_SUCCESS) {
            result = Converter::toString(outcome);
        }
        return code;
    }
    if (code == PluginSDK::RC_FILE_MUST_EXIST) {
        bool mustExist = true;
        code = getMustExistAttribute(mustExist);
        if (code != PluginSDK::RC_SUCCESS) {
            return code;
        }
        if (mustExist) {
            return PluginSDK::RC_FILE_MUST_EXIST;
        }
        result = Converter::toString(false);
        return PluginSDK::RC_SUCCESS;
    }
    return code;
}

std::int32_t CompareOperand::getRelation(const wchar_t** relation) {
    *relation = getProperty(PropertyName::kRelation);
    return *relation == nullptr ? PluginSDK::RC_RELATION_ABSENT : PluginSDK::RC_SUCCESS;
}

std::int32_t CompareOperand::getOperands(Comparable** firstOperand, Comparable** secondOperand) {
    COREPLUGIN_ASSERT(firstOperand != NULL, kSource, 111);
    COREPLUGIN_ASSERT(secondOperand != NULL, kSource, 112);
    *firstOperand = nullptr;
    *secondOperand = nullptr;
    std::int32_t code = getFirstOperand(firstOperand);
    if (code != PluginSDK::RC_SUCCESS) {
        COREPLUGIN_ASSERT(*firstOperand == NULL, kSource, 122);
        return code;
    }
    COREPLUGIN_ASSERT(*firstOperand != NULL, kSource, 126);
    // Owned here until both exist: the second one's allocation may throw.
    std::unique_ptr<Comparable> first(*firstOperand);
    *firstOperand = nullptr;
    code = getSecondOperand(secondOperand);
    if (code == PluginSDK::RC_SUCCESS) {
        COREPLUGIN_ASSERT(*secondOperand != NULL, kSource, 130);
        *firstOperand = first.release();
        return code;
    }
    COREPLUGIN_ASSERT(*secondOperand == NULL, kSource, 134);
    return code;
}

std::int32_t CompareOperand::getMustExistAttribute(bool& mustExist) const {
    const wchar_t* text = getProperty(PropertyName::kMustExist);
    if (text == nullptr) {
        text = TruthWord::kFalse;
    }
    if (std::wcscmp(text, TruthWord::kTrue) == 0) {
        mustExist = true;
        return PluginSDK::RC_SUCCESS;
    }
    if (std::wcscmp(text, TruthWord::kFalse) == 0) {
        mustExist = false;
        return PluginSDK::RC_SUCCESS;
    }
    return PluginSDK::RC_MUST_EXIST_INVALID;
}

}  // namespace CorePlugin
