#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace uidriver {

extern const char kUsage[];

// The command line is wrong; the message says how.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Invocation {
    std::wstring caption;
    std::optional<std::filesystem::path> outputFile;
    std::wstring command;
    std::vector<std::wstring> arguments;
};

// Global options may stand anywhere; the first other word is the command.
Invocation ParseCommandLine(const std::vector<std::wstring>& words);

}  // namespace uidriver
