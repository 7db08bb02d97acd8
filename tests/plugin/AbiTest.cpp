// The binary contract with hosts built against the original headers: the module's exported
// names, the layout of the bases, and the position of every virtual operation in its dispatch
// table.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "PluginSDK/Plugin.h"
#include "PluginSDK/ScalarOperand.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperand.h"
#include "PluginSDK/VectorOperator.h"
#include "platform/TestSupport.h"

namespace {

// Under the Itanium C++ ABI a pointer to a virtual member function holds 1 plus the byte
// offset of its entry in the dispatch table. Entries 0 and 1 are the two destructors, so the
// first operation declared after them is slot 3 when counting the destructors as slots 1 and 2.
template <class MemberPointer>
std::ptrdiff_t slotOf(MemberPointer member) {
    static_assert(sizeof(MemberPointer) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t representation[2];
    std::memcpy(representation, &member, sizeof representation);
    EXPECT_EQ(representation[0] % static_cast<std::ptrdiff_t>(sizeof(void*)), 1)
        << "not a virtual member";
    return (representation[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)) + 1;
}

using namespace PluginSDK;

// The bases add nothing to the node's layout, and the version is four 32-bit numbers.
static_assert(sizeof(ScalarOperator) == sizeof(Expression));
static_assert(sizeof(ScalarOperand) == sizeof(Expression));
static_assert(sizeof(VectorOperator) == sizeof(Expression));
static_assert(sizeof(VectorOperand) == sizeof(Expression));
static_assert(sizeof(PluginVersion) == 16);

}  // namespace

TEST(AbiTest, ExpressionSlots) {
    EXPECT_EQ(slotOf(&Expression::isOperator), 3);
    EXPECT_EQ(slotOf(&Expression::getType), 4);
    EXPECT_EQ(slotOf(&Expression::isReady), 5);
    EXPECT_EQ(slotOf(&Expression::disposeExpression), 6);
    EXPECT_EQ(slotOf(&ScalarExpression::getScalarResult), 7);
    EXPECT_EQ(slotOf(&VectorExpression::getVectorResult), 7);
}

TEST(AbiTest, OperatorSlots) {
    using UpdateVectorScalar = std::int32_t (ScalarOperator::*)(const StringVector&);
    using UpdateTextScalar = std::int32_t (ScalarOperator::*)(const String&);
    using UpdateVectorVector = std::int32_t (VectorOperator::*)(const StringVector&);
    using UpdateTextVector = std::int32_t (VectorOperator::*)(const String&);
    EXPECT_EQ(slotOf(&ScalarOperator::continueOnError), 8);
    EXPECT_EQ(slotOf(UpdateVectorScalar(&ScalarOperator::update)), 9);
    EXPECT_EQ(slotOf(UpdateTextScalar(&ScalarOperator::update)), 10);
    EXPECT_EQ(slotOf(&ScalarOperator::updateWithError), 11);
    EXPECT_EQ(slotOf(&VectorOperator::continueOnError), 8);
    EXPECT_EQ(slotOf(UpdateVectorVector(&VectorOperator::update)), 9);
    EXPECT_EQ(slotOf(UpdateTextVector(&VectorOperator::update)), 10);
    EXPECT_EQ(slotOf(&VectorOperator::updateWithError), 11);
}

TEST(AbiTest, PluginSlots) {
    EXPECT_EQ(slotOf(&Plugin::setProperty), 3);
    EXPECT_EQ(slotOf(&Plugin::getVersion), 4);
    EXPECT_EQ(slotOf(&Plugin::getName), 5);
    EXPECT_EQ(slotOf(&Plugin::getUnknownSoftware), 6);
    EXPECT_EQ(slotOf(&Plugin::initializePlugin), 7);
    EXPECT_EQ(slotOf(&Plugin::cleanupPlugin), 8);
    EXPECT_EQ(slotOf(&Plugin::createExpression), 9);
    EXPECT_EQ(slotOf(&Plugin::destroyExpression), 10);
}

TEST(AbiTest, ModuleExportsItsEntryPointsAndTheDigestFunctionsAlone) {
    const platform_test::CommandOutput nm =
        platform_test::runCommand(std::string("nm -D --defined-only '") + COREPLUGIN_MODULE + "'");
    ASSERT_EQ(nm.status, 0);
    std::set<std::string> exported;
    std::istringstream lines(nm.out);
    for (std::string address, kind, name; lines >> address >> kind >> name;) {
        exported.insert(name);
    }
    EXPECT_EQ(exported, (std::set<std::string>{"createPlugin", "destroyPlugin", "md5_init",
                                               "md5_update", "md5_final", "md5_tostr"}));
}
