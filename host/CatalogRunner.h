#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "Catalog.h"
#include "PluginSet.h"

namespace corehost {

/// How `run` evaluates a catalog and prints what it finds.
struct RunOptions {
    unsigned jobs = 1;
    unsigned repeat = 1;
    bool json = false;
    bool explain = false;
    bool progress = false;  // draw a progress bar on the error stream
    bool terminal = false;  // the error stream is a terminal: the bar redraws in place
};

/// What one rule printed: lines for the output and the error stream.
struct RuleOutput {
    std::string out;
    std::string err;
    bool succeeded = false;
};

/// Instantiates rule `index`, evaluates it `repeat` times on that one instance and destroys it;
/// the output reports the last run.
RuleOutput evaluateRule(const PluginSet& plugins, const Catalog& catalog, std::size_t index,
                        const RunOptions& options);

/// Evaluates every rule of the catalog on `options.jobs` threads and prints the outputs in
/// catalog order. Returns true when every rule succeeded.
bool runCatalog(const PluginSet& plugins, const Catalog& catalog, const RunOptions& options,
                std::ostream& out, std::ostream& err);

}  // namespace corehost
