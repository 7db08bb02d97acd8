#include <gtest/gtest.h>

#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/ScalarOperand.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperand.h"
#include "PluginSDK/VectorOperator.h"

namespace {

// The smallest concrete class on each base: only what the base leaves to its subclasses.
struct ScalarOperandProbe : PluginSDK::ScalarOperand {
    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String&) override { return 0; }
};
struct VectorOperandProbe : PluginSDK::VectorOperand {
    void disposeExpression() override {}
    std::int32_t getVectorResult(PluginSDK::StringVector&) override { return 0; }
};
struct ScalarOperatorProbe : PluginSDK::ScalarOperator {
    bool isReady() override { return false; }
    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String&) override { return 0; }
    std::int32_t update(const PluginSDK::String&) override { return 0; }
};
struct VectorOperatorProbe : PluginSDK::VectorOperator {
    bool isReady() override { return false; }
    void disposeExpression() override {}
    std::int32_t getVectorResult(PluginSDK::StringVector&) override { return 0; }
    std::int32_t update(const PluginSDK::StringVector&) override { return 0; }
    std::int32_t update(const PluginSDK::String&) override { return 0; }
};

}  // namespace

TEST(ExpressionBasesTest, OperandsAreAlwaysReadyAndTakeNoChildren) {
    ScalarOperandProbe scalar;
    VectorOperandProbe vector;
    PluginSDK::Expression* operands[] = {&scalar, &vector};
    for (PluginSDK::Expression* operand : operands) {
        EXPECT_FALSE(operand->isOperator());
        EXPECT_TRUE(operand->isReady());
    }
    EXPECT_EQ(scalar.getType(), 0);
    EXPECT_EQ(vector.getType(), 1);
}

TEST(ExpressionBasesTest, OperatorsStopOnErrorsAndRefuseWhatTheyDoNotTake) {
    // Through the bases, as a host calls: the probes' own update hides the inherited overload.
    ScalarOperatorProbe scalarProbe;
    PluginSDK::ScalarOperator& scalar = scalarProbe;
    PluginSDK::Expression& scalarNode = scalar;
    EXPECT_TRUE(scalarNode.isOperator());
    EXPECT_EQ(scalarNode.getType(), 0);
    EXPECT_FALSE(scalar.continueOnError());
    EXPECT_EQ(scalar.update(PluginSDK::StringVector()), PluginSDK::RC_NOT_SUPPORTED);
    EXPECT_EQ(scalar.updateWithError(-11009), PluginSDK::RC_NOT_SUPPORTED);

    VectorOperatorProbe vectorProbe;
    PluginSDK::VectorOperator& vector = vectorProbe;
    PluginSDK::Expression& vectorNode = vector;
    EXPECT_TRUE(vectorNode.isOperator());
    EXPECT_EQ(vectorNode.getType(), 1);
    EXPECT_FALSE(vector.continueOnError());
    EXPECT_EQ(vector.updateWithError(-11009), PluginSDK::RC_NOT_SUPPORTED);
}

TEST(ExpressionBasesTest, BasesHoldNoDataOfTheirOwn) {
    EXPECT_EQ(sizeof(PluginSDK::ScalarOperator), sizeof(PluginSDK::Expression));
    EXPECT_EQ(sizeof(PluginSDK::ScalarOperand), sizeof(PluginSDK::Expression));
    EXPECT_EQ(sizeof(PluginSDK::VectorOperator), sizeof(PluginSDK::Expression));
    EXPECT_EQ(sizeof(PluginSDK::VectorOperand), sizeof(PluginSDK::Expression));
}

TEST(ExpressionBasesTest, EveryCodeHasAMeaning) {
    for (const PluginSDK::ResultCodeMeaning& entry : PluginSDK::kResultCodeMeanings) {
        EXPECT_LE(entry.code, 0);
        ASSERT_NE(entry.meaning, nullptr);
        EXPECT_STRNE(entry.meaning, "");
        EXPECT_EQ(PluginSDK::resultCodeMeaning(entry.code), entry.meaning);
    }
    EXPECT_STREQ(PluginSDK::resultCodeMeaning(-11009), "reading a file's status failed");
    EXPECT_EQ(PluginSDK::resultCodeMeaning(-1), nullptr);
}
