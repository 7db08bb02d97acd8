#pragma once

// Shared by the tests of the traced string operands.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Harness.h"

namespace stringoperand {

using Messages = std::vector<harness::TraceMessage>;

/// Evaluates a fresh `T` and checks its code, its result (the out-parameter held a stale text
/// before) and every message it traced.
template <class T>
void expectTraced(const harness::Properties& properties, std::int32_t code,
                  const std::wstring& result, const Messages& messages) {
    harness::TraceCapture capture;
    const harness::Outcome outcome = harness::evaluate<T>(properties);
    std::wstring context;
    for (const auto& [name, value] : properties) {
        context += name + L"=" + value + L" ";
    }
    EXPECT_EQ(outcome.code, code) << context;
    EXPECT_EQ(outcome.result, result) << context;
    EXPECT_EQ(capture.messages, messages) << context;
}

/// Checks the records of one object's life with one evaluation that passes validation: each
/// traced function opens one record, and validation's lies inside the result operation's.
template <class T>
void expectRecords(const harness::Properties& properties, const char* constructor,
                   const char* result, const char* validation, const char* destructor) {
    harness::TraceCapture capture;
    harness::evaluate<T>(properties);
    EXPECT_EQ(capture.opened,
              (std::vector<std::string>{constructor, result, validation, destructor}));
    EXPECT_EQ(capture.closed,
              (std::vector<std::string>{constructor, validation, result, destructor}));
}

}  // namespace stringoperand
