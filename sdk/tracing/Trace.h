#pragma once

#include <string>

#include "tracing/Tracer.h"

/// A scoped trace record: opened by the constructor, closed by the destructor. Messages are
/// written as `trace.setLevel(1); trace << trace.pos(file, line) << "text" << Trace::Modifier(0);`.
class Trace {
public:
    /// The value 0 completes the message being written.
    enum Modifier : int { END_OF_MESSAGE = 0 };

    Trace(Tracer& tracer, const char* function);
    Trace(Tracer& tracer, const wchar_t* function);
    ~Trace();

    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    void setLevel(int level) { m_Level = level; }
    int getLevel() const { return m_Level; }

    /// Records the source position of the message being written.
    Trace& pos(const char* file, int line);

    Trace& operator<<(Trace& position);
    Trace& operator<<(const char* text);
    Trace& operator<<(const wchar_t* text);
    Trace& operator<<(const Modifier& modifier);

private:
    void emit(Tracer::Event::Kind kind) const;

    Tracer& m_Tracer;
    bool m_Enabled;
    int m_Level = 0;
    int m_Line = 0;
    std::string m_Function;
    std::string m_File;
    std::string m_Text;
};
