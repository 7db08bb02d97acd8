#include "tracing/Tracer.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace {

enum class SinkKind { None, StandardError, File, Callback };

/// Where records go; one for the process, and never destroyed, so that records written while
/// static objects are torn down still find a valid sink.
struct Sink {
    std::mutex mutex;
    SinkKind kind = SinkKind::None;
    std::FILE* file = nullptr;
    Tracer::Callback callback = nullptr;
    void* context = nullptr;
};

Sink& sink() {
    static Sink* const instance = new Sink;
    return *instance;
}

// Read without the lock by every record that opens, so that tracing costs a load when it is off.
std::atomic<bool> g_enabled{false};

// Replaces the sink; the caller holds the lock.
void setSink(Sink& target, SinkKind kind, std::FILE* file, Tracer::Callback callback,
             void* context) {
    if (target.file != nullptr) {
        std::fclose(target.file);
    }
    target.kind = kind;
    target.file = file;
    target.callback = callback;
    target.context = context;
    g_enabled.store(kind != SinkKind::None, std::memory_order_release);
}

void appendEscaped(std::string& line, std::string_view text) {
    for (char c : text) {
        if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else {
            line += c;
        }
    }
}

std::string formatLine(const Tracer::Event& event) {
    std::string line = "trace: component=";
    line += std::to_string(event.component);
    line += " level=";
    line += std::to_string(event.level);
    line += ' ';
    appendEscaped(line, event.function.empty() ? std::string_view("-") : event.function);
    if (!event.file.empty()) {
        line += ' ';
        appendEscaped(line, event.file);
        line += ':';
        line += std::to_string(event.line);
        line += ':';
    }
    line += ' ';
    appendEscaped(line, event.text);
    line += '\n';
    return line;
}

}  // namespace

Tracer& Tracer::getInstance(Component component) {
    // Every trace record asks for its tracer, on every thread, tracing on or off: the usual
    // components are found without the lock, in slots filled once. Tracers live as long as the
    // process.
    static std::atomic<Tracer*> known[8];
    const bool usual = component >= 0 && component < 8;
    if (usual) {
        if (Tracer* tracer = known[component].load(std::memory_order_acquire)) {
            return *tracer;
        }
    }
    static std::mutex* const mutex = new std::mutex;
    static auto* const tracers = new std::map<int, std::unique_ptr<Tracer>>;
    std::lock_guard<std::mutex> lock(*mutex);
    std::unique_ptr<Tracer>& tracer = (*tracers)[component];
    if (!tracer) {
        tracer.reset(new Tracer(component));
    }
    if (usual) {
        known[component].store(tracer.get(), std::memory_order_release);
    }
    return *tracer;
}

void Tracer::sendToNone() {
    Sink& target = sink();
    std::lock_guard<std::mutex> lock(target.mutex);
    setSink(target, SinkKind::None, nullptr, nullptr, nullptr);
}

void Tracer::sendToStandardError() {
    Sink& target = sink();
    std::lock_guard<std::mutex> lock(target.mutex);
    setSink(target, SinkKind::StandardError, nullptr, nullptr, nullptr);
}

bool Tracer::sendToFile(const char* path) {
    if (path == nullptr) {
        return false;
    }
    std::FILE* file = std::fopen(path, "ae");
    if (file == nullptr) {
        return false;
    }
    Sink& target = sink();
    std::lock_guard<std::mutex> lock(target.mutex);
    setSink(target, SinkKind::File, file, nullptr, nullptr);
    return true;
}

void Tracer::sendToCallback(Callback callback, void* context) {
    Sink& target = sink();
    std::lock_guard<std::mutex> lock(target.mutex);
    if (callback == nullptr) {
        setSink(target, SinkKind::None, nullptr, nullptr, nullptr);
    } else {
        setSink(target, SinkKind::Callback, nullptr, callback, context);
    }
}

bool Tracer::isEnabled() {
    return g_enabled.load(std::memory_order_acquire);
}

void Tracer::emit(const Event& event) {
    Sink& target = sink();
    std::lock_guard<std::mutex> lock(target.mutex);
    switch (target.kind) {
        case SinkKind::None:
            return;
        case SinkKind::Callback:
            target.callback(event, target.context);
            return;
        case SinkKind::StandardError:
        case SinkKind::File:
            break;
    }
    if (event.kind != Event::MESSAGE) {
        return;
    }
    const std::string line = formatLine(event);
    std::FILE* stream = target.kind == SinkKind::File ? target.file : stderr;
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fflush(stream);
}
