#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "cross/BitwiseAnd.h"
#include "cross/BitwiseExclusiveOr.h"
#include "cross/BitwiseInclusiveOr.h"
#include "harness/Harness.h"

using harness::feed;
using harness::Operand;

namespace {

template <class T, class Reference>
struct Family {
    using Operator = T;
    static std::uint32_t apply(std::uint32_t a, std::uint32_t b) { return Reference()(a, b); }
};

using Families =
    ::testing::Types<Family<CorePlugin::BitwiseAnd, std::bit_and<std::uint32_t>>,
                     Family<CorePlugin::BitwiseInclusiveOr, std::bit_or<std::uint32_t>>,
                     Family<CorePlugin::BitwiseExclusiveOr, std::bit_xor<std::uint32_t>>>;

template <class F>
class BitwiseOperatorsTest : public ::testing::Test {};
TYPED_TEST_SUITE(BitwiseOperatorsTest, Families);

// Results are the decimal text of the 32 bits read as signed.
std::wstring resultText(std::uint32_t value) {
    return std::to_wstring(static_cast<std::int32_t>(value));
}

}  // namespace

TYPED_TEST(BitwiseOperatorsTest, CombinesTheBitsOfTwoUnsignedNumbers) {
    using T = typename TypeParam::Operator;
    std::mt19937 random(17);
    std::vector<std::uint32_t> values = {0, 1, 5, 10, 12, 2147483647u, 2147483648u, 4294967295u};
    for (int i = 0; i < 40; ++i) {
        values.push_back(static_cast<std::uint32_t>(random()));
    }
    for (std::uint32_t a : values) {
        for (std::uint32_t b : values) {
            const std::wstring expected = resultText(TypeParam::apply(a, b));
            // Unsigned decimal text and the signed text that results carry read alike.
            for (const auto& [first, second] : {std::pair{std::to_wstring(a), std::to_wstring(b)},
                                                std::pair{resultText(a), resultText(b)}}) {
                const harness::FeedOutcome outcome = feed<T>({}, {first, second});
                EXPECT_EQ(outcome.updates, (std::vector<std::int32_t>{0, 0}));
                EXPECT_EQ(outcome.ready, (std::vector<bool>{false, true}));
                EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
                EXPECT_EQ(outcome.result, expected) << a << ", " << b;
            }
        }
    }
}

TYPED_TEST(BitwiseOperatorsTest, RefusalsChangeNothing) {
    using T = typename TypeParam::Operator;
    constexpr std::int32_t notANumber = PluginSDK::RC_NOT_AN_UNSIGNED_NUMBER;
    const std::wstring twelveTen = resultText(TypeParam::apply(12, 10));

    harness::FeedOutcome outcome = feed<T>({}, {L"12", L"abc", L"", L"4294967296", L"00", L"10"});
    EXPECT_EQ(outcome.updates,
              (std::vector<std::int32_t>{0, notANumber, notANumber, notANumber, notANumber, 0}));
    EXPECT_EQ(outcome.ready, (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_EQ(outcome.result, twelveTen);

    // The count is checked before the text.
    outcome = feed<T>({}, {L"12", L"10", L"abc", L"7"});
    EXPECT_EQ(outcome.updates, (std::vector<std::int32_t>{0, 0, PluginSDK::RC_THIRD_OPERAND,
                                                          PluginSDK::RC_THIRD_OPERAND}));
    EXPECT_EQ(outcome.result, twelveTen);

    for (const std::vector<Operand>& operands : std::vector<std::vector<Operand>>{{}, {L"12"}}) {
        outcome = feed<T>({}, operands);
        EXPECT_EQ(outcome.code, PluginSDK::RC_OPERANDS_MISSING);
        EXPECT_EQ(outcome.result, L"");
    }
}
