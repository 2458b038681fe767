// uidriver: drives the product's dialog from a shell script, one command per run.
#include "command_line.h"
#include "commands.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using OutputFile = std::optional<std::filesystem::path>;

// Wine programs' standard output is unreliable through pipes, hence --out.
void Emit(const OutputFile& outputFile, const std::string& text)
{
    if (outputFile) {
        std::ofstream(*outputFile, std::ios::binary | std::ios::trunc) << text;
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    using namespace uidriver;
    OutputFile outputFile;
    try {
        const Invocation invocation = ParseCommandLine(std::vector<std::wstring>(argv + 1, argv + argc));
        outputFile = invocation.outputFile;
        const CommandResult result = RunCommand(invocation);
        Emit(outputFile, result.output);
        return result.exitCode;
    } catch (const UsageError& error) {
        Emit(outputFile, std::string("uidriver: ") + error.what() + "\n" + kUsage);
        return kExitUsage;
    } catch (const std::exception& error) {
        Emit(outputFile, std::string("uidriver: ") + error.what() + "\n");
        return kExitFailure;
    }
}
