#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
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

class TraceTest : public ::testing::Test {
protected:
    void SetUp() override { Tracer::sendToCallback(&record, &m_Events); }
    void TearDown() override { Tracer::sendToNone(); }

    std::vector<std::string> m_Events;
};

TEST_F(TraceTest, RecordsOpenWriteMessagesAndClose) {
    Tracer& tracer = Tracer::getInstance(Tracer::PLUGIN);
    EXPECT_EQ(&tracer, &Tracer::getInstance(Tracer::PLUGIN));
    {
        Trace trace(tracer, "Clip");
        trace.setLevel(1);
        trace << trace.pos("Clip.cpp", 68) << "Error: " << L"caf\u00E9 \U0001F600"
              << Trace::Modifier(0);
        trace.setLevel(2);
        const wchar_t unconvertible[] = {L'<', static_cast<wchar_t>(0xD800), L'>', L'\0'};
        trace << "second " << unconvertible << static_cast<const char*>(nullptr)
              << static_cast<const wchar_t*>(nullptr) << Trace::Modifier(0);
    }
    {
        Trace unnamed(Tracer::getInstance(Tracer::HOST), static_cast<const wchar_t*>(nullptr));
        Trace wide(tracer, L"\u00E9t\u00E9");
    }
    EXPECT_EQ(m_Events, (std::vector<std::string>{
                            "OPEN 5 [Clip]",
                            "MESSAGE 5 [Clip] 1 Clip.cpp:68 Error: caf\xC3\xA9 \xF0\x9F\x98\x80",
                            "MESSAGE 5 [Clip] 2 :0 second <\xEF\xBF\xBD>",
                            "CLOSE 5 [Clip]",
                            "OPEN 0 []",
                            "OPEN 5 [\xC3\xA9t\xC3\xA9]",
                            "CLOSE 5 [\xC3\xA9t\xC3\xA9]",
                            "CLOSE 0 []",
                        }));
}

// Whether a record is written is settled when it opens; a null callback is no sink.
TEST_F(TraceTest, RecordOpenedWithoutASinkStaysSilent) {
    Tracer::sendToNone();
    EXPECT_FALSE(Tracer::isEnabled());
    Tracer::sendToCallback(nullptr, &m_Events);
    {
        Trace trace(Tracer::getInstance(Tracer::PLUGIN), "quiet");
        Tracer::sendToCallback(&record, &m_Events);
        trace << trace.pos("f", 1) << "text" << Trace::Modifier(0);
    }
    EXPECT_TRUE(m_Events.empty());
}

void writeTwoMessages() {
    Trace trace(Tracer::getInstance(Tracer::PLUGIN), "Clip::validateProperties()");
    trace.setLevel(1);
    trace << trace.pos("Clip.cpp", 119) << "Unspecified endIndex!" << Trace::Modifier(0);
    Trace unnamed(Tracer::getInstance(Tracer::PLUGIN), static_cast<const char*>(nullptr));
    unnamed << "two\nlines\r" << Trace::Modifier(0);
}

TEST_F(TraceTest, FileAndStandardErrorSinksWriteWholeLines) {
    platform_test::TempDir dir;
    const std::filesystem::path path = dir.path() / "trace.log";
    std::ofstream(path) << "earlier\n";
    // Where a file cannot be opened, the sink stays.
    EXPECT_FALSE(Tracer::sendToFile(nullptr));
    EXPECT_FALSE(Tracer::sendToFile(dir.path().c_str()));
    { Trace trace(Tracer::getInstance(Tracer::PLUGIN), "kept"); }
    EXPECT_EQ(m_Events.size(), 2u);
    ASSERT_TRUE(Tracer::sendToFile(path.c_str()));
    writeTwoMessages();
    Tracer::sendToStandardError();
    ::testing::internal::CaptureStderr();
    writeTwoMessages();
    const std::string lines =
        "trace: component=5 level=1 Clip::validateProperties() Clip.cpp:119: Unspecified "
        "endIndex!\ntrace: component=5 level=0 - two\\nlines\\r\n";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), lines);
    std::stringstream written;
    written << std::ifstream(path).rdbuf();
    EXPECT_EQ(written.str(), "earlier\n" + lines);
}

}  // namespace
