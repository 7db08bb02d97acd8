// The base of the comparing operands, with getters that answer as scripted. FileInfoCompare, its
// one expression, reports a missing file only when "mustExist" is "true", so the other ways of
// judging "mustExist" show only here; how Compare names the relations is in cases/compare.cases.

#include "common/CompareOperand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "common/Integer.h"
#include "harness/Harness.h"

namespace {

/// Compares 1 with 2, or fails to get a value with the code it is given.
class Scripted : public CorePlugin::CompareOperand {
public:
    void disposeExpression() override {}
    std::int32_t getFirstOperand(CorePlugin::Comparable** value) override { return get(value, 0); }
    std::int32_t getSecondOperand(CorePlugin::Comparable** value) override { return get(value, 1); }
    std::int32_t get(CorePlugin::Comparable** value, int which) {
        *value = codes[which] == 0 ? new CorePlugin::Integer(which + 1) : nullptr;
        return codes[which];
    }

    std::int32_t codes[2] = {};
};

}  // namespace

TEST(CompareOperandTest, JudgesAMissingTargetByMustExistAndPassesOtherFailures) {
    const std::int32_t missing = PluginSDK::RC_FILE_MUST_EXIST;
    const std::int32_t unknown = PluginSDK::RC_UNKNOWN_FIELD;
    const struct {
        const wchar_t* properties;
        std::int32_t first, second;  // what the getters answer
        std::string outcome;
    } cases[] = {
        {L"relation=le", 0, 0, "0:true"},
        {L"", 0, 0, "-11023:"},
        {L"relation=ne", missing, 0, "0:false"},
        {L"relation=ne mustExist=false", missing, 0, "0:false"},
        {L"relation=ne mustExist=true", missing, 0, "-11033:"},
        {L"relation=ne mustExist=TRUE", missing, 0, "-11028:"},
        {L"relation=eq mustExist=neither", unknown, 0, "-11011:"},
        {L"relation=eq", 0, unknown, "-11011:"},
    };
    for (const auto& c : cases) {
        Scripted operand;
        harness::setProperties(operand, harness::parse(c.properties));
        operand.codes[0] = c.first;
        operand.codes[1] = c.second;
        const harness::Outcome outcome = harness::result(operand);
        EXPECT_EQ(std::to_string(outcome.code) + ":" +
                      std::string(outcome.result.begin(), outcome.result.end()),
                  c.outcome);
    }
}
