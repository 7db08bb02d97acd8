#include "common/CompareOperand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "common/Integer.h"
#include "common/String.h"

using CorePlugin::CompareOperand;

TEST(CompareOperandTest, EachNameAppliesItsRelation) {
    struct Case {
        const wchar_t* relation;
        bool less, equal, greater;  // the outcome for 1 vs 2, 2 vs 2 and 2 vs 1
    };
    const Case cases[] = {
        {L"eq", false, true, false}, {L"ne", true, false, true},  {L"gt", false, false, true},
        {L"ge", false, true, true},  {L"lt", true, false, false}, {L"le", true, true, false},
    };
    CorePlugin::Integer one(1), two(2), otherTwo(2);
    for (const Case& c : cases) {
        const std::string name(c.relation, c.relation + 2);
        bool result = !c.less;
        EXPECT_EQ(CompareOperand::compare(&one, &two, c.relation, result), PluginSDK::RC_SUCCESS);
        EXPECT_EQ(result, c.less) << name;
        result = !c.equal;
        EXPECT_EQ(CompareOperand::compare(&two, &otherTwo, c.relation, result),
                  PluginSDK::RC_SUCCESS);
        EXPECT_EQ(result, c.equal) << name;
        result = !c.greater;
        EXPECT_EQ(CompareOperand::compare(&two, &one, c.relation, result), PluginSDK::RC_SUCCESS);
        EXPECT_EQ(result, c.greater) << name;
    }
}

TEST(CompareOperandTest, RefusedArgumentsLeaveTheResultAlone) {
    CorePlugin::String a(L"a"), b(L"b");
    for (const wchar_t* relation : {L"EQ", L"eq ", L" eq", L"", L"equal", L"e"}) {
        bool result = true;
        EXPECT_EQ(CompareOperand::compare(&a, &b, relation, result),
                  PluginSDK::RC_UNKNOWN_RELATION);
        EXPECT_TRUE(result);
    }
    bool result = true;
    EXPECT_EQ(CompareOperand::compare(nullptr, &b, L"eq", result), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(CompareOperand::compare(&a, nullptr, L"eq", result), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(CompareOperand::compare(&a, &b, nullptr, result), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_TRUE(result);
}
