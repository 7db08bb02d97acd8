#include "CatalogRunner.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory_resource>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

#include "ExpressionTree.h"
#include "ProgressBar.h"
#include "Report.h"

namespace corehost {

namespace {

// The most rules a thread takes at a time. Handing rules over one by one would take the lock, and
// wake the printing thread, for every rule, which costs more CPU than a cheap rule itself.
constexpr std::size_t kBatch = 64;

// Batches the workers may finish ahead of the one printed next, per job: enough to keep every
// thread busy behind a slow rule, few enough to keep memory flat on a large catalog.
constexpr std::size_t kWindowPerJob = 4;

// About the work a thread takes at a time: enough that taking it costs little beside it, little
// enough that output keeps flowing behind slow rules.
constexpr std::chrono::microseconds kBatchTime(500);

/// How many rules one thread takes next, judged by how long its last batch took: one at first,
/// up to kBatch for cheap rules, one at a time for slow ones.
struct Pace {
    using Clock = std::chrono::steady_clock;

    std::size_t rules = 1;

    void update(std::size_t taken, Clock::duration spent) {
        const Clock::rep perRule =
            std::max<Clock::rep>(1, spent.count() / static_cast<Clock::rep>(taken));
        const Clock::rep fitting = Clock::duration(kBatchTime).count() / perRule;
        rules = static_cast<std::size_t>(
            std::clamp<Clock::rep>(fitting, 1, static_cast<Clock::rep>(kBatch)));
    }
};

void formatOutcome(const ExpressionTree& tree, std::int32_t status, const std::string& rule,
                   const std::string& source, const RunOptions& options, RuleOutput& output) {
    output.succeeded = status == 0;
    if (options.json) {
        output.out = resultJson(tree, status, &rule, options.explain) + "\n";
        return;
    }
    if (options.explain) {
        output.out = rule + ":\n" + explainText(tree, "  ");
    } else if (status == 0) {
        output.out = rule + " = " + quotedResult(tree.root()) + "\n";
    }
    if (status != 0) {
        output.err = failureMessage(tree, source, &rule) + "\n";
    }
}

void formatHostFailure(const Catalog& catalog, std::size_t index, std::int32_t code,
                       const std::string& what, const RunOptions& options, RuleOutput& output) {
    output = {};
    const std::string& rule = catalog.ruleName(index);
    if (options.json) {
        JsonWriter json(output.out);
        json.string("rule", rule).number("status", code).string("error", codeMeaning(code));
        if (!what.empty()) {
            json.string("detail", what);
        }
        json.close();
        output.out += "\n";
        return;
    }
    output.err = catalog.sourceName(index) + ":" + catalog.rulePosition(index).format() +
                 ": rule " + rule + ": " + std::to_string(code) + " " + codeMeaning(code) +
                 (what.empty() ? "" : " (" + what + ")") + "\n";
}

}  // namespace

RuleOutput evaluateRule(const PluginSet& plugins, const Catalog& catalog, std::size_t index,
                        const RunOptions& options) {
    RuleOutput output;
    try {
        // The parsed tree lives as long as the rule's evaluation and is released whole: its
        // many small texts and lists come from one arena, which starts on the stack.
        std::array<std::byte, 8192> buffer;
        std::pmr::monotonic_buffer_resource arena(buffer.data(), buffer.size());
        RuleNode root(&arena);
        Diagnostic error;
        if (!catalog.parse(index, root, error)) {
            output.err = error.format() + "\n";
            return output;
        }
        ExpressionTree tree(plugins);
        std::int32_t status = tree.instantiate(root);
        if (status == 0) {
            for (unsigned run = 0; run < options.repeat; ++run) {
                status = tree.evaluate();
            }
        }
        formatOutcome(tree, status, catalog.ruleName(index), catalog.sourceName(index), options,
                      output);
    } catch (const std::bad_alloc&) {
        formatHostFailure(catalog, index, kOutOfMemory, {}, options, output);
    } catch (const std::exception& exception) {
        formatHostFailure(catalog, index, kPluginException, exception.what(), options, output);
    }
    return output;
}

bool runCatalog(const PluginSet& plugins, const Catalog& catalog, const RunOptions& options,
                std::ostream& out, std::ostream& err) {
    const std::size_t count = catalog.size();
    std::optional<ProgressBar> bar;
    if (options.progress) {
        bar.emplace(err, count, options.terminal);
        bar->update(0);
    }
    std::size_t failures = 0;
    const auto emit = [&](std::size_t index, const RuleOutput& output) {
        if (bar) {
            bar->clear();
        }
        // The output is flushed only before something goes to the error stream, which keeps the
        // two in order on a shared terminal or file without a write per rule.
        if (!output.out.empty()) {
            out << output.out;
        }
        if (!output.err.empty() || bar) {
            out.flush();
        }
        if (!output.err.empty()) {
            err << output.err;
            err.flush();
        }
        if (!output.succeeded) {
            ++failures;
        }
        if (bar) {
            bar->update(index + 1);
        }
    };

    // With several jobs, the calling thread is one of them: it prints whatever is ready in
    // catalog order and otherwise evaluates rules itself, so it sleeps only when every rule left
    // is taken and the next one to print is not done. The other threads are woken only when there
    // is room again, and wake it only when they finish the rules it waits for.
    std::vector<std::thread> threads;
    std::mutex mutex;
    std::condition_variable finished;
    std::condition_variable space;
    const std::size_t window = std::max<std::size_t>(1, options.jobs) * kWindowPerJob * kBatch;
    std::vector<std::optional<RuleOutput>> slots(window);
    std::size_t next = 0;
    std::size_t printed = 0;
    bool waiting = false;      // the calling thread sleeps until rule `printed` is done
    unsigned roomWaiters = 0;  // threads asleep until the window has room
    const std::size_t jobs = std::max<std::size_t>(1, options.jobs);
    // Takes the next batch of rules under the lock, when the window has room for it.
    const auto take = [&](std::size_t& first, std::size_t& last, const Pace& pace) {
        // Fewer rules at a time towards the end, so that the last ones, or the few of a small
        // catalog, still spread over the threads.
        const std::size_t size =
            std::clamp<std::size_t>((count - std::min(count, next)) / (jobs * 4), 1, pace.rules);
        if (next >= count || next + size > printed + window) {
            return false;
        }
        first = next;
        last = next + size;
        next = last;
        return true;
    };
    const auto evaluateBatch = [&](std::size_t first, std::size_t last,
                                   std::array<RuleOutput, kBatch>& outputs, Pace& pace) {
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t index = first; index < last; ++index) {
            outputs[index - first] = evaluateRule(plugins, catalog, index, options);
        }
        pace.update(last - first, std::chrono::steady_clock::now() - start);
        std::lock_guard<std::mutex> lock(mutex);
        for (std::size_t index = first; index < last; ++index) {
            slots[index % window] = std::move(outputs[index - first]);
        }
        return waiting && first <= printed && printed < last;
    };
    const auto worker = [&] {
        std::array<RuleOutput, kBatch> outputs;
        Pace pace;
        for (;;) {
            std::size_t first = 0;
            std::size_t last = 0;
            {
                std::unique_lock<std::mutex> lock(mutex);
                const auto canGo = [&] { return next >= count || take(first, last, pace); };
                if (!canGo()) {
                    ++roomWaiters;
                    space.wait(lock, canGo);
                    --roomWaiters;
                }
                if (first == last) {
                    return;
                }
            }
            if (evaluateBatch(first, last, outputs, pace)) {
                finished.notify_one();
            }
        }
    };
    if (options.jobs > 1 && count > 1) {
        const std::size_t wanted = std::min<std::size_t>(options.jobs, count) - 1;
        try {
            while (threads.size() < wanted) {
                threads.emplace_back(worker);
            }
        } catch (const std::exception&) {
            // No thread, or no memory to start one: fewer threads still finish the catalog.
        }
    }
    if (threads.empty()) {
        for (std::size_t index = 0; index < count; ++index) {
            emit(index, evaluateRule(plugins, catalog, index, options));
        }
    } else {
        std::array<RuleOutput, kBatch> outputs;
        std::vector<RuleOutput> ready;
        Pace pace;
        std::size_t readyFrom = 0;  // the index of ready[0]
        std::exception_ptr failure;
        try {
            while (printed < count) {
                std::size_t first = 0;
                std::size_t last = 0;
                {
                    std::unique_lock<std::mutex> lock(mutex);
                    const std::size_t before = printed;
                    readyFrom = printed;
                    while (printed < count && slots[printed % window].has_value()) {
                        ready.push_back(std::move(*slots[printed % window]));
                        slots[printed % window].reset();
                        ++printed;
                    }
                    if (ready.empty() && !take(first, last, pace)) {
                        waiting = true;
                        finished.wait(lock, [&] { return slots[printed % window].has_value(); });
                        waiting = false;
                        continue;
                    }
                    if (printed != before && roomWaiters > 0) {
                        space.notify_all();
                    }
                }
                if (first != last) {
                    evaluateBatch(first, last, outputs, pace);
                }
                for (std::size_t i = 0; i < ready.size(); ++i) {
                    emit(readyFrom + i, ready[i]);
                }
                ready.clear();
            }
        } catch (...) {
            failure = std::current_exception();  // no memory to print: the threads stop first
        }
        {
            // Every rule is taken, or none will be: a thread waiting for room learns it is done.
            std::lock_guard<std::mutex> lock(mutex);
            next = count;
        }
        space.notify_all();
        for (std::thread& thread : threads) {
            thread.join();
        }
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
    out.flush();
    if (bar) {
        bar->finish();
    }
    return failures == 0;
}

}  // namespace corehost
