// The binary contract with hosts built against the original headers: the module's exported
// names, and the position of every virtual operation in its dispatch table.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "CorePlugin.h"
#include "PluginSDK/ScalarOperand.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperand.h"
#include "PluginSDK/VectorOperator.h"
#include "common/md5.h"
#include "cross/ValueOf.h"

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

using PluginSDK::Expression;
using PluginSDK::ScalarExpression;
using PluginSDK::ScalarOperator;

using PluginSDK::StringVector;
using PluginSDK::VectorExpression;
using PluginSDK::VectorOperator;

struct ModuleCloser {
    void operator()(void* handle) const { dlclose(handle); }
};

}  // namespace

TEST(AbiTest, ExpressionSlots) {
    EXPECT_EQ(slotOf(&Expression::isOperator), 3);
    EXPECT_EQ(slotOf(&Expression::getType), 4);
    EXPECT_EQ(slotOf(&Expression::isReady), 5);
    EXPECT_EQ(slotOf(&Expression::disposeExpression), 6);
    EXPECT_EQ(slotOf(&ScalarExpression::getScalarResult), 7);
    EXPECT_EQ(slotOf(&VectorExpression::getVectorResult), 7);
    EXPECT_EQ(slotOf(&CorePlugin::ValueOf::getScalarResult), 7);
}

TEST(AbiTest, OperatorSlots) {
    using UpdateVectorScalar = std::int32_t (ScalarOperator::*)(const StringVector&);
    using UpdateTextScalar = std::int32_t (ScalarOperator::*)(const PluginSDK::String&);
    using UpdateVectorVector = std::int32_t (VectorOperator::*)(const StringVector&);
    using UpdateTextVector = std::int32_t (VectorOperator::*)(const PluginSDK::String&);
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
    using PluginSDK::Plugin;
    EXPECT_EQ(slotOf(&Plugin::setProperty), 3);
    EXPECT_EQ(slotOf(&Plugin::getVersion), 4);
    EXPECT_EQ(slotOf(&Plugin::getName), 5);
    EXPECT_EQ(slotOf(&Plugin::getUnknownSoftware), 6);
    EXPECT_EQ(slotOf(&Plugin::initializePlugin), 7);
    EXPECT_EQ(slotOf(&Plugin::cleanupPlugin), 8);
    EXPECT_EQ(slotOf(&Plugin::createExpression), 9);
    EXPECT_EQ(slotOf(&Plugin::destroyExpression), 10);
    EXPECT_EQ(slotOf(&PluginSDK::CorePlugin::destroyExpression), 10);
}

TEST(AbiTest, ModuleEntryPointsWorkThroughDlopen) {
    std::unique_ptr<void, ModuleCloser> module(dlopen(COREPLUGIN_MODULE, RTLD_NOW | RTLD_LOCAL));
    ASSERT_NE(module, nullptr) << dlerror();
    auto create = reinterpret_cast<CreatePluginFunction>(dlsym(module.get(), "createPlugin"));
    auto destroy = reinterpret_cast<DestroyPluginFunction>(dlsym(module.get(), "destroyPlugin"));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(destroy, nullptr);
    // Internal names stay inside the module.
    EXPECT_EQ(dlsym(module.get(), "_ZN9PluginSDK10CorePluginC1Ev"), nullptr);

    PluginSDK::Plugin* plugin = create();
    ASSERT_NE(plugin, nullptr);
    EXPECT_STREQ(plugin->getName(), L"CorePlugin");
    plugin->initializePlugin();
    EXPECT_EQ(plugin->getExpressionNames().size(), 33u);
    PluginSDK::Expression* expression = nullptr;
    ASSERT_EQ(plugin->createExpression(L"ValueOf", &expression), 0);
    expression->setProperty(L"value", L"42");
    PluginSDK::String result;
    EXPECT_EQ(static_cast<PluginSDK::ScalarExpression*>(expression)->getScalarResult(result), 0);
    EXPECT_EQ(result, L"42");
    EXPECT_EQ(plugin->destroyExpression(expression), 0);
    plugin->cleanupPlugin();
    destroy(plugin);
    destroy(nullptr);

    // The digest functions are exported under their plain C names.
    auto init = reinterpret_cast<decltype(&md5_init)>(dlsym(module.get(), "md5_init"));
    auto update = reinterpret_cast<decltype(&md5_update)>(dlsym(module.get(), "md5_update"));
    auto final = reinterpret_cast<decltype(&md5_final)>(dlsym(module.get(), "md5_final"));
    auto tostr = reinterpret_cast<decltype(&md5_tostr)>(dlsym(module.get(), "md5_tostr"));
    ASSERT_TRUE(init && update && final && tostr);
    md5_context context;
    init(&context);
    update(&context, reinterpret_cast<const unsigned char*>("abc"), 3);
    unsigned char bytes[16];
    final(&context, bytes);
    char text[33];
    tostr(text, bytes);
    EXPECT_STREQ(text, "900150983cd24fb0d6963f7d28e17f72");
}

TEST(AbiTest, ModuleExportsOnlyItsEntryPoints) {
    const std::string command = std::string("nm -D --defined-only '") + COREPLUGIN_MODULE + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
        char address[64], kind[8], name[900];
        if (std::sscanf(line, "%63s %7s %899s", address, kind, name) == 3) {
            exported.insert(name);
        }
    }
    ASSERT_FALSE(exported.empty()) << "nm printed nothing for " << COREPLUGIN_MODULE;
    const std::set<std::string> allowed = {"createPlugin", "destroyPlugin", "md5_init",
                                           "md5_update",   "md5_final",     "md5_tostr"};
    for (const std::string& name : exported) {
        // The version node the linker script defines is not a symbol of ours.
        if (name.find('@') == std::string::npos &&
            name.find("LIBCOREPLUGIN") == std::string::npos) {
            EXPECT_TRUE(allowed.count(name)) << "unexpected export " << name;
        }
    }
    EXPECT_TRUE(exported.count("createPlugin"));
    EXPECT_TRUE(exported.count("destroyPlugin"));
}
