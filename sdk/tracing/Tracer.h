#pragma once

#include <string_view>

/// The tracing service: one tracer per component, and the sink every record goes to.
class Tracer {
public:
    enum Component : int { HOST = 0, PLATFORM = 1, PLUGIN = 5 };

    /// One event of a scoped record, as a callback sink receives it. Texts are UTF-8.
    struct Event {
        enum Kind { OPEN, MESSAGE, CLOSE };
        Kind kind;
        int component;
        std::string_view function;  // the record's name; empty for a record opened without one
        int level;                  // MESSAGE only
        std::string_view file;      // MESSAGE only
        int line;                   // MESSAGE only
        std::string_view text;      // MESSAGE only
    };
    using Callback = void (*)(const Event& event, void* context);

    static Tracer& getInstance(Component component);

    Component component() const { return m_Component; }

    // The sink, chosen by the host; none is the default. Records are written whole, one at a
    // time, from any thread. The standard-error and file sinks write one line per message and
    // nothing when a record opens or closes:
    //   trace: component=5 level=1 Clip::validateProperties() Clip.cpp:119: Unspecified endIndex!
    // with "-" for a record opened without a name, no "file:line:" when the message has no
    // position, and line breaks inside texts written as \n and \r. A callback sink is called
    // under the sink's lock, so it must not set the sink itself.
    static void sendToNone();
    static void sendToStandardError();
    /// Appends to the file; false when it cannot be opened (the sink is then unchanged).
    static bool sendToFile(const char* path);
    static void sendToCallback(Callback callback, void* context);

    /// Whether any sink is set: records are not even composed otherwise.
    static bool isEnabled();

    /// Delivers one event to the sink.
    static void emit(const Event& event);

private:
    explicit Tracer(Component component) : m_Component(component) {}

    Component m_Component;
};
