#pragma once

namespace corehost {

/// Exit statuses of corehost.
enum ExitStatus : int {
    kExitSuccess = 0,       // every evaluation succeeded, whatever the truth values
    kExitFailed = 1,        // an evaluation failed
    kExitUsage = 2,         // usage, reading or parse error: nothing was evaluated
    kExitPluginFailed = 3,  // the plug-in could not be loaded
};

/// The corehost command line: parses the arguments, runs the command and returns the exit status.
int runCorehost(int argc, char** argv);

}  // namespace corehost
