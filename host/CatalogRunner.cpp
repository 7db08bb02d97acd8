#include "CatalogRunner.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "ExpressionTree.h"
#include "ProgressBar.h"
#include "Report.h"

namespace corehost {

namespace {

// Rules a worker takes at a time. Handing rules over one by one would wake the printing thread
// for every rule, which costs more CPU than a cheap rule itself.
constexpr std::size_t kBatch = 16;

// Batches the workers may finish ahead of the one printed next, per job: enough to keep every
// thread busy behind a slow rule, few enough to keep memory flat on a large catalog.
constexpr std::size_t kWindowPerJob = 4;

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
        RuleNode root;
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

    std::vector<std::thread> threads;
    std::mutex mutex;
    std::condition_variable finished;
    std::condition_variable space;
    const std::size_t window = std::max<std::size_t>(1, options.jobs) * kWindowPerJob * kBatch;
    std::vector<std::optional<RuleOutput>> slots(window);
    std::size_t next = 0;
    std::size_t printed = 0;
    const auto worker = [&] {
        std::array<RuleOutput, kBatch> outputs;
        for (;;) {
            std::size_t first = 0;
            std::size_t last = 0;
            {
                std::unique_lock<std::mutex> lock(mutex);
                space.wait(lock,
                           [&] { return next >= count || next + kBatch <= printed + window; });
                if (next >= count) {
                    return;
                }
                first = next;
                last = std::min(count, next + kBatch);
                next = last;
            }
            for (std::size_t index = first; index < last; ++index) {
                outputs[index - first] = evaluateRule(plugins, catalog, index, options);
            }
            {
                std::lock_guard<std::mutex> lock(mutex);
                for (std::size_t index = first; index < last; ++index) {
                    slots[index % window] = std::move(outputs[index - first]);
                }
            }
            finished.notify_one();
        }
    };
    if (options.jobs > 1 && count > 1) {
        const std::size_t wanted = std::min<std::size_t>(options.jobs, count);
        try {
            while (threads.size() < wanted) {
                threads.emplace_back(worker);
            }
        } catch (const std::system_error&) {
            // Fewer threads than asked for still finish the catalog.
        }
    }
    if (threads.empty()) {
        for (std::size_t index = 0; index < count; ++index) {
            emit(index, evaluateRule(plugins, catalog, index, options));
        }
    } else {
        for (std::size_t index = 0; index < count; ++index) {
            RuleOutput output;
            {
                std::unique_lock<std::mutex> lock(mutex);
                finished.wait(lock, [&] { return slots[index % window].has_value(); });
                output = std::move(*slots[index % window]);
                slots[index % window].reset();
                printed = index + 1;
            }
            // Batches start at multiples of kBatch, and so does the window: a worker waiting
            // for room can go on only once a whole batch more is printed.
            if (printed % kBatch == 0) {
                space.notify_all();
            }
            emit(index, output);
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
    out.flush();
    if (bar) {
        bar->finish();
    }
    return failures == 0;
}

}  // namespace corehost
