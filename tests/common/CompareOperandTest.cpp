#include "common/CompareOperand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "PluginSDK/ResultCodes.h"
#include "common/Integer.h"
#include "common/String.h"
#include "harness/Harness.h"

using CorePlugin::CompareOperand;

namespace {

/// An Integer that counts the live objects, so a test sees every value deleted.
class Counted : public CorePlugin::Integer {
public:
    explicit Counted(std::int32_t value) : Integer(value) { ++live; }
    ~Counted() override { --live; }
    static inline int live = 0;
};

/// The base's result operation, driven through getters that answer as scripted: 1 vs 2.
class Scripted : public CompareOperand {
public:
    void disposeExpression() override {}
    std::int32_t getFirstOperand(CorePlugin::Comparable** first) override {
        ++calls;
        *first = firstCode == PluginSDK::RC_SUCCESS ? new Counted(1) : nullptr;
        return firstCode;
    }
    std::int32_t getSecondOperand(CorePlugin::Comparable** second) override {
        ++calls;
        *second = secondCode == PluginSDK::RC_SUCCESS ? new Counted(2) : nullptr;
        return secondCode;
    }

    std::int32_t firstCode = PluginSDK::RC_SUCCESS;
    std::int32_t secondCode = PluginSDK::RC_SUCCESS;
    int calls = 0;
};

// The code and the result of the result operation, "code:result"; -1 in `calls` for any number.
std::string evaluate(const harness::Properties& properties, std::int32_t firstCode = 0,
                     std::int32_t secondCode = 0, int calls = -1) {
    Scripted operand;
    harness::setProperties(operand, properties);
    operand.firstCode = firstCode;
    operand.secondCode = secondCode;
    const harness::Outcome outcome = harness::result(operand);
    EXPECT_EQ(Counted::live, 0);
    EXPECT_TRUE(calls < 0 || operand.calls == calls) << operand.calls;
    return std::to_string(outcome.code) + ":" +
           std::string(outcome.result.begin(), outcome.result.end());
}

}  // namespace

TEST(CompareOperandTest, EachNameAppliesItsRelation) {
    const struct {
        const wchar_t* relation;
        bool less, equal, greater;  // the outcome for 1 vs 2, 2 vs 2 and 2 vs 1
    } cases[] = {
        {L"eq", false, true, false}, {L"ne", true, false, true},  {L"gt", false, false, true},
        {L"ge", false, true, true},  {L"lt", true, false, false}, {L"le", true, true, false},
    };
    CorePlugin::Integer one(1), two(2), otherTwo(2);
    for (const auto& c : cases) {
        for (const auto& [first, second, expected] : {std::tuple{&one, &two, c.less},
                                                      {&two, &otherTwo, c.equal},
                                                      {&two, &one, c.greater}}) {
            bool result = !expected;
            EXPECT_EQ(CompareOperand::compare(first, second, c.relation, result), 0);
            EXPECT_EQ(result, expected) << std::wstring(c.relation) << L" " << first->value();
        }
    }
}

TEST(CompareOperandTest, RefusedArgumentsLeaveTheResultAlone) {
    CorePlugin::String a(L"a"), b(L"b");
    bool result = true;
    for (const wchar_t* relation : {L"EQ", L"eq ", L" eq", L"", L"equal", L"e"}) {
        EXPECT_EQ(CompareOperand::compare(&a, &b, relation, result),
                  PluginSDK::RC_UNKNOWN_RELATION);
    }
    EXPECT_EQ(CompareOperand::compare(nullptr, &b, L"eq", result), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(CompareOperand::compare(&a, nullptr, L"eq", result), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(CompareOperand::compare(&a, &b, nullptr, result), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_TRUE(result);
}

TEST(CompareOperandTest, TheResultOperationRelatesBothValuesAndFreesThem) {
    EXPECT_EQ(evaluate({{L"relation", L"le"}}), "0:true");
    EXPECT_EQ(evaluate({{L"relation", L"gt"}}), "0:false");
    EXPECT_EQ(evaluate({{L"relation", L"EQ"}}), "-11007:");
    // An absent relation fails before any value is fetched.
    EXPECT_EQ(evaluate({}, 0, 0, 0), "-11023:");
}

TEST(CompareOperandTest, AMissingTargetIsJudgedByMustExistAndOtherFailuresPassUnchanged) {
    const std::int32_t missing = PluginSDK::RC_FILE_MUST_EXIST;
    const struct {
        const wchar_t* mustExist;  // null: absent
        std::string expected;
    } cases[] = {
        {nullptr, "0:false"}, {L"false", "0:false"}, {L"true", "-11033:"},
        {L"TRUE", "-11028:"}, {L"", "-11028:"},      {L"yes", "-11028:"},
    };
    for (const auto& c : cases) {
        harness::Properties properties = {{L"relation", L"ne"}};
        if (c.mustExist != nullptr) {
            properties.emplace_back(L"mustExist", c.mustExist);
        }
        EXPECT_EQ(evaluate(properties, missing, 0, 1), c.expected)
            << (c.mustExist ? std::wstring(c.mustExist) : L"(absent)");
    }
    for (const std::int32_t code : {PluginSDK::RC_FILE_STATUS_FAILED, PluginSDK::RC_UNKNOWN_FIELD,
                                    PluginSDK::RC_INVALID_ARGUMENT}) {
        const std::string failed = std::to_string(code) + ":";
        EXPECT_EQ(evaluate({{L"relation", L"eq"}, {L"mustExist", L"neither"}}, code, 0, 1), failed);
        EXPECT_EQ(evaluate({{L"relation", L"eq"}}, 0, code, 2), failed);
    }
}

TEST(CompareOperandTest, GetOperandsHandsOverBothValuesOrNone) {
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
