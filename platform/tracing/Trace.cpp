#include "tracing/Trace.h"

#include <string_view>

#include "platform/utf8.h"

// Records are opened in destructors too, which must not throw: a record that cannot be opened
// for want of memory is simply not reported, like one that cannot be closed.
Trace::Trace(Tracer& tracer, const char* function)
    : m_Tracer(tracer), m_Enabled(Tracer::isEnabled()) {
    if (m_Enabled) {
        try {
            if (function != nullptr) {
                m_Function = function;
            }
            emit(Tracer::Event::OPEN);
        } catch (...) {
            m_Enabled = false;
        }
    }
}

Trace::Trace(Tracer& tracer, const wchar_t* function)
    : m_Tracer(tracer), m_Enabled(Tracer::isEnabled()) {
    if (m_Enabled) {
        try {
            if (function != nullptr) {
                platform::appendUtf8Lossy(function, m_Function);
            }
            emit(Tracer::Event::OPEN);
        } catch (...) {
            m_Enabled = false;
        }
    }
}

Trace::~Trace() {
    if (m_Enabled) {
        // A destructor must not throw: a record that cannot be closed is simply not reported.
        try {
            emit(Tracer::Event::CLOSE);
        } catch (...) {
        }
    }
}

Trace& Trace::pos(const char* file, int line) {
    if (m_Enabled) {
        m_File = file != nullptr ? file : "";
        m_Line = line;
    }
    return *this;
}

Trace& Trace::operator<<(Trace& /*position*/) {
    return *this;
}

Trace& Trace::operator<<(const char* text) {
    if (m_Enabled && text != nullptr) {
        m_Text += text;
    }
    return *this;
}

Trace& Trace::operator<<(const wchar_t* text) {
    if (m_Enabled && text != nullptr) {
        platform::appendUtf8Lossy(text, m_Text);
    }
    return *this;
}

Trace& Trace::operator<<(const Modifier& modifier) {
    if (m_Enabled && modifier == END_OF_MESSAGE) {
        emit(Tracer::Event::MESSAGE);
        m_Text.clear();
        m_File.clear();
        m_Line = 0;
    }
    return *this;
}

void Trace::emit(Tracer::Event::Kind kind) const {
    Tracer::Event event{};
    event.kind = kind;
    event.component = m_Tracer.component();
    event.function = m_Function;
    if (kind == Tracer::Event::MESSAGE) {
        event.level = m_Level;
        event.file = m_File;
        event.line = m_Line;
        event.text = m_Text;
    }
    Tracer::emit(event);
}
