#include "cross/ValueOf.h"

#include <gtest/gtest.h>

#include "PluginSDK/ResultCodes.h"
#include "harness/Harness.h"

using CorePlugin::ValueOf;
using harness::evaluate;

TEST(ValueOfTest, ReturnsTheValueUnchanged) {
    for (const wchar_t* value : {L"42", L"", L" padded ", L"Mot\u00f6rHead \U0001F600", L"a\nb"}) {
        const harness::Outcome outcome = evaluate<ValueOf>({{L"value", value}});
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS) << value;
        EXPECT_EQ(outcome.result, value);
    }
}

TEST(ValueOfTest, AbsentValueFailsAndClearsTheResult) {
    // The out-parameter holds an earlier text; a failure must not leave it there.
    const harness::Outcome outcome = evaluate<ValueOf>({{L"Value", L"wrong case"}});
    EXPECT_EQ(outcome.code, PluginSDK::RC_VALUE_ABSENT);
    EXPECT_EQ(outcome.result, L"");
}

TEST(ValueOfTest, ReadsThePropertyAtEveryEvaluation) {
    ValueOf expression;
    expression.setProperty(L"value", L"first");
    EXPECT_EQ(harness::result(expression).result, L"first");
    expression.disposeExpression();
    expression.setProperty(L"value", L"second");
    EXPECT_EQ(harness::result(expression).result, L"second");
    expression.removeProperty(L"value");
    EXPECT_EQ(harness::result(expression).code, PluginSDK::RC_VALUE_ABSENT);
}
