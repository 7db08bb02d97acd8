#include "CatalogRunner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "FakeExpressions.h"
#include "ProgressBar.h"

// Whole runs, on one thread and on several, are tests/cli's and tests/reliability/threads.sh's.

namespace corehost {
namespace {

TEST(CatalogRunnerTest, RepeatsEachRuleOnOneInstanceAndReportsTheLastRun) {
    fake::CallLog log;
    fake::FakePlugin plugin(&log);
    plugin.initializePlugin();
    PluginSet plugins;
    plugins.add(plugin, "FakePlugin", "fake");
    Catalog catalog;
    Diagnostic error;
    ASSERT_TRUE(catalog.add("a = Count(id=n, Text(id=t))\nb = Text(id=u)", "c.rules", error));
    RunOptions options;
    options.repeat = 3;
    const RuleOutput output = evaluateRule(plugins, catalog, 0, options);
    EXPECT_EQ(output.out, "a = \"1\"\n");
    EXPECT_TRUE(output.succeeded);
    EXPECT_EQ(log, (fake::CallLog{"t.getScalarResult", "n.update()", "n.getScalarResult",
                                  "n.dispose", "t.dispose", "t.getScalarResult", "n.update()",
                                  "n.getScalarResult", "n.dispose", "t.dispose",
                                  "t.getScalarResult", "n.update()", "n.getScalarResult",
                                  "n.dispose", "t.dispose", "t.destroy", "n.destroy"}));
}

TEST(CatalogRunnerTest, RedrawsProgressInPlaceOnATerminal) {
    std::ostringstream stream;
    ProgressBar bar(stream, 2000, true);
    bar.clear();  // nothing drawn yet, nothing to clear
    bar.update(0);
    bar.update(1);  // too small a step to redraw
    bar.update(2);
    bar.clear();
    bar.update(3);  // drawn again after a clear
    bar.finish();
    EXPECT_EQ(stream.str(),
              "\r[..............................] 0% (0/2000 rules)\x1b[K"
              "\r[..............................] 0% (2/2000 rules)\x1b[K"
              "\r\x1b[K"
              "\r[..............................] 0% (3/2000 rules)\x1b[K"
              "\r\x1b[K");
}

}  // namespace
}  // namespace corehost
