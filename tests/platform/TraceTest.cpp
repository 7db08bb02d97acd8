#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/TestSupport.h"
#include "tracing/Trace.h"
#include "tracing/Tracer.h"

namespace {

// Each event as one line, so a whole sequence compares at once.
void record(const Tracer::Event& event, void* context) {
    static const char* const kKinds[] = {"OPEN", "MESSAGE", "CLOSE"};
    std::string line = std::string(kKinds[event.kind]) + " " + std::to_string(event.component) +
                       " [" + std::string(event.function) + "]";
    if (event.kind == Tracer::Event::MESSAGE) {
        line += " " + std::to_string(event.level) + " " + std::string(event.file) + ":" +
                std::to_string(event.line) + " " + std::string(event.text);
    }
    static_cast<std::vector<std::string>*>(context)->push_back(line);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class TraceTest : public ::testing::Test {
protected:
    void SetUp() override { Tracer::sendToCallback(&record, &m_Events); }
    void TearDown() override { Tracer::sendToNone(); }

    std::vector<std::string> m_Events;
};

TEST_F(TraceTest, RecordsOpenWriteMessagesAndClose) {
    Tracer& tracer = Tracer::getInstance(Tracer::PLUGIN);
    EXPECT_EQ(&tracer, &Tracer::getInstance(Tracer::PLUGIN));
    EXPECT_EQ(tracer.component(), Tracer::PLUGIN);
    {
        Trace trace(tracer, "Clip::getScalarResult(PluginSDK::String & result)");
        trace.setLevel(1);
        trace << trace.pos("cross/Clip.cpp", 68) << "Error: " << L"caf\u00E9 \U0001F600"
              << Trace::Modifier(0);
        trace.setLevel(2);
        const wchar_t unconvertible[] = {L'<', static_cast<wchar_t>(0xD800), L'>', L'\0'};
        trace << "second " << unconvertible << static_cast<const char*>(nullptr)
              << static_cast<const wchar_t*>(nullptr) << Trace::Modifier(0);
    }
    {
        Trace unnamed(Tracer::getInstance(Tracer::HOST), static_cast<const wchar_t*>(nullptr));
        Trace wide(tracer, L"Stra\u00DFe");
    }
    const std::string clip = "5 [Clip::getScalarResult(PluginSDK::String & result)]";
    EXPECT_EQ(m_Events,
              (std::vector<std::string>{
                  "OPEN " + clip,
                  "MESSAGE " + clip + " 1 cross/Clip.cpp:68 Error: caf\xC3\xA9 \xF0\x9F\x98\x80",
                  "MESSAGE " + clip + " 2 :0 second <\xEF\xBF\xBD>",
                  "CLOSE " + clip,
                  "OPEN 0 []",
                  "OPEN 5 [Stra\xC3\x9F"
                  "e]",
                  "CLOSE 5 [Stra\xC3\x9F"
                  "e]",
                  "CLOSE 0 []",
              }));
}

TEST_F(TraceTest, RecordOpenedWithoutASinkStaysSilent) {
    Tracer::sendToNone();
    EXPECT_FALSE(Tracer::isEnabled());
    {
        Trace trace(Tracer::getInstance(Tracer::PLUGIN), "quiet");
        Tracer::sendToCallback(&record, &m_Events);
        trace.setLevel(1);
        trace << trace.pos("f", 1) << "text" << Trace::Modifier(0);
    }
    EXPECT_TRUE(m_Events.empty());
}

TEST_F(TraceTest, FileSinkAppendsOneLinePerMessage) {
    platform_test::TempDir dir;
    const std::filesystem::path path = dir.path() / "trace.log";
    std::ofstream(path) << "earlier\n";
    EXPECT_FALSE(Tracer::sendToFile(dir.path().c_str()));  // a directory: the sink stays
    { Trace trace(Tracer::getInstance(Tracer::PLUGIN), "kept"); }
    EXPECT_EQ(m_Events.size(), 2u);

    ASSERT_TRUE(Tracer::sendToFile(path.c_str()));
    {
        Trace trace(Tracer::getInstance(Tracer::PLUGIN), "Clip::validateProperties()");
        trace.setLevel(1);
        trace << trace.pos("Clip.cpp", 119) << "Unspecified endIndex!" << Trace::Modifier(0);
        Trace unnamed(Tracer::getInstance(Tracer::PLUGIN), static_cast<const char*>(nullptr));
        unnamed << "two\nlines" << Trace::Modifier(0);
    }
    Tracer::sendToNone();
    EXPECT_EQ(readFile(path),
              "earlier\n"
              "trace: component=5 level=1 Clip::validateProperties() Clip.cpp:119: Unspecified "
              "endIndex!\n"
              "trace: component=5 level=0 - two\\nlines\n");
}

TEST_F(TraceTest, ConcurrentMessagesStayWhole) {
    platform_test::TempDir dir;
    const std::filesystem::path path = dir.path() / "trace.log";
    ASSERT_TRUE(Tracer::sendToFile(path.c_str()));
    constexpr int kThreads = 4;
    constexpr int kMessages = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int m = 0; m < kMessages; ++m) {
                Trace trace(Tracer::getInstance(Tracer::PLUGIN), "worker");
                trace << trace.pos("w.cpp", t) << std::string(100, char('a' + t)).c_str()
                      << Trace::Modifier(0);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    Tracer::sendToNone();
    std::istringstream lines(readFile(path));
    std::vector<int> counts(kThreads);
    for (std::string line; std::getline(lines, line);) {
        const int t = line.back() - 'a';
        ASSERT_TRUE(t >= 0 && t < kThreads) << line;
        ASSERT_EQ(line, "trace: component=5 level=0 worker w.cpp:" + std::to_string(t) + ": " +
                            std::string(100, char('a' + t)));
        ++counts[static_cast<std::size_t>(t)];
    }
    EXPECT_EQ(counts, std::vector<int>(kThreads, kMessages));
}

}  // namespace
