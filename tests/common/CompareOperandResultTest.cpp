#include "common/CompareOperand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "common/Integer.h"
#include "harness/Harness.h"

// The result operation of the base, driven through a subclass whose getters answer as scripted.

namespace {

/// An Integer that counts the live objects, so a test sees every value deleted.
class Counted : public CorePlugin::Integer {
public:
    explicit Counted(std::int32_t value) : Integer(value) { ++live; }
    ~Counted() override { --live; }
    static inline int live = 0;
};

class Scripted : public CorePlugin::CompareOperand {
public:
    void disposeExpression() override {}

    std::int32_t getFirstOperand(CorePlugin::Comparable** first) override {
        ++firstCalls;
        *first = firstCode == PluginSDK::RC_SUCCESS ? new Counted(firstValue) : nullptr;
        return firstCode;
    }
    std::int32_t getSecondOperand(CorePlugin::Comparable** second) override {
        ++secondCalls;
        *second = secondCode == PluginSDK::RC_SUCCESS ? new Counted(secondValue) : nullptr;
        return secondCode;
    }

    std::int32_t firstCode = PluginSDK::RC_SUCCESS;
    std::int32_t secondCode = PluginSDK::RC_SUCCESS;
    std::int32_t firstValue = 1;
    std::int32_t secondValue = 2;
    int firstCalls = 0;
    int secondCalls = 0;
};

std::string describe(const harness::Outcome& outcome) {
    return std::to_string(outcome.code) + ":" +
           std::string(outcome.result.begin(), outcome.result.end());
}

}  // namespace

TEST(CompareOperandResultTest, AppliesTheRelationToTheTwoValues) {
    const struct {
        const wchar_t* relation;
        std::string expected;
    } cases[] = {
        {L"lt", "0:true"},  {L"le", "0:true"},  {L"eq", "0:false"}, {L"ne", "0:true"},
        {L"gt", "0:false"}, {L"ge", "0:false"}, {L"EQ", "-11007:"}, {L"", "-11007:"},
    };
    for (const auto& c : cases) {
        Scripted operand;
        operand.setProperty(L"relation", c.relation);
        EXPECT_EQ(describe(harness::result(operand)), c.expected) << c.relation;
        EXPECT_EQ(Counted::live, 0);
    }
}

TEST(CompareOperandResultTest, AbsentRelationFailsBeforeAnyValueIsFetched) {
    Scripted operand;
    EXPECT_EQ(describe(harness::result(operand)), "-11023:");
    EXPECT_EQ(operand.firstCalls + operand.secondCalls, 0);
}

TEST(CompareOperandResultTest, AMissingTargetIsJudgedByMustExist) {
    const struct {
        const wchar_t* mustExist;  // null: absent
        std::string expected;
    } cases[] = {
        {nullptr, "0:false"}, {L"false", "0:false"}, {L"true", "-11033:"},
        {L"TRUE", "-11028:"}, {L"", "-11028:"},      {L"yes", "-11028:"},
    };
    for (const auto& c : cases) {
        Scripted operand;
        operand.setProperty(L"relation", L"ne");
        if (c.mustExist != nullptr) {
            operand.setProperty(L"mustExist", c.mustExist);
        }
        operand.firstCode = PluginSDK::RC_FILE_MUST_EXIST;
        EXPECT_EQ(describe(harness::result(operand)), c.expected)
            << (c.mustExist ? std::wstring(c.mustExist) : L"(absent)");
        EXPECT_EQ(operand.secondCalls, 0);
    }
}

TEST(CompareOperandResultTest, OtherFailuresPassUnchangedAndFreeTheFirstValue) {
    for (const std::int32_t code : {PluginSDK::RC_FILE_STATUS_FAILED, PluginSDK::RC_UNKNOWN_FIELD,
                                    PluginSDK::RC_INVALID_ARGUMENT}) {
        Scripted first;
        first.setProperty(L"relation", L"eq");
        first.setProperty(L"mustExist", L"neither");
        first.firstCode = code;
        EXPECT_EQ(harness::result(first).code, code);
        EXPECT_EQ(first.secondCalls, 0);

        Scripted second;
        second.setProperty(L"relation", L"eq");
        second.secondCode = code;
        EXPECT_EQ(describe(harness::result(second)), std::to_string(code) + ":");
        EXPECT_EQ(Counted::live, 0);
    }
}

TEST(CompareOperandResultTest, GetOperandsHandsOverBothValuesOrNone) {
    Scripted operand;
    CorePlugin::Comparable* first = reinterpret_cast<CorePlugin::Comparable*>(0x1);
    CorePlugin::Comparable* second = reinterpret_cast<CorePlugin::Comparable*>(0x1);
    ASSERT_EQ(operand.getOperands(&first, &second), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(Counted::live, 2);
    delete first;
    delete second;
    operand.secondCode = PluginSDK::RC_INVALID_ARGUMENT;
    EXPECT_EQ(operand.getOperands(&first, &second), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(Counted::live, 0);
}
