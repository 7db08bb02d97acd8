#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "cross/And.h"
#include "cross/Not.h"
#include "cross/Or.h"
#include "harness/Harness.h"

using harness::feed;
using harness::Operand;

namespace {

constexpr std::int32_t kNotAWord = PluginSDK::RC_NOT_A_TRUTH_VALUE;

struct Case {
    std::vector<Operand> operands;
    std::vector<std::int32_t> updates;
    std::vector<bool> ready;
    std::int32_t code;
    std::wstring result;
};

template <class T>
void check(const std::vector<Case>& cases) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const harness::FeedOutcome outcome = feed<T>({}, c.operands);
        EXPECT_EQ(outcome.updates, c.updates) << "case " << i;
        EXPECT_EQ(outcome.ready, c.ready) << "case " << i;
        EXPECT_EQ(outcome.code, c.code) << "case " << i;
        EXPECT_EQ(outcome.result, c.result) << "case " << i;
    }
}

}  // namespace

TEST(LogicalOperatorsTest, And) {
    check<CorePlugin::And>({
        {{}, {}, {}, 0, L"true"},
        {{L"true"}, {0}, {false}, 0, L"true"},
        {{L"true", L"false"}, {0, 0}, {false, true}, 0, L"false"},
        {{L"true", L"false", L"true"}, {0, 0, 0}, {false, true, true}, 0, L"false"},
        // Once settled, operands are still checked.
        {{L"false", L"maybe"}, {0, kNotAWord}, {true, true}, 0, L"false"},
        {{L"TRUE", L" true", L"1", L"", L"false "},
         {kNotAWord, kNotAWord, kNotAWord, kNotAWord, kNotAWord},
         {false, false, false, false, false},
         0,
         L"true"},
    });
}

TEST(LogicalOperatorsTest, Or) {
    check<CorePlugin::Or>({
        {{}, {}, {}, 0, L"false"},
        {{L"false"}, {0}, {false}, 0, L"false"},
        {{L"false", L"TRUE"}, {0, kNotAWord}, {false, false}, 0, L"false"},
        {{L"false", L"true", L"false"}, {0, 0, 0}, {false, true, true}, 0, L"true"},
        {{L"true", L"x"}, {0, kNotAWord}, {true, true}, 0, L"true"},
    });
}

TEST(LogicalOperatorsTest, Not) {
    constexpr std::int32_t missing = PluginSDK::RC_OPERANDS_MISSING;
    check<CorePlugin::Not>({
        {{}, {}, {}, missing, L""},
        {{L"true"}, {0}, {true}, 0, L"false"},
        {{L"false"}, {0}, {true}, 0, L"true"},
        {{L"false", L"true"}, {0, PluginSDK::RC_SECOND_OPERAND}, {true, true}, 0, L"true"},
        // The word is checked before the count.
        {{L"false", L"maybe"}, {0, kNotAWord}, {true, true}, 0, L"true"},
        {{L"maybe"}, {kNotAWord}, {false}, missing, L""},
        {{L"False", L"true"}, {kNotAWord, 0}, {false, true}, 0, L"false"},
    });
}
