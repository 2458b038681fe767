#pragma once

#include "command_line.h"

#include <string>

namespace uidriver {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct CommandResult {
    int exitCode;
    std::string output;  // UTF-8
};

// Runs one subcommand against the dialog. Throws UsageError for wrong
// arguments and DriverError when the dialog cannot be driven.
CommandResult RunCommand(const Invocation& invocation);

}  // namespace uidriver
