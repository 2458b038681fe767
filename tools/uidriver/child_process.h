#pragma once

#include "polling.h"
#include "unique_handle.h"

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace uidriver {

// A program started by a test or tool, owned through its process handle.
class ChildProcess {
public:
    // Runs executable with arguments (quoted as the program expects them) in
    // directory; throws std::runtime_error when it cannot be started.
    static ChildProcess Start(const std::filesystem::path& executable, const std::wstring& arguments,
                              const std::filesystem::path& directory);

    DWORD Id() const { return id_; }
    bool IsRunning() const;
    // The exit code, or nothing when the program still runs after timeout.
    std::optional<DWORD> WaitForExit(Milliseconds timeout) const;
    // Ends the program if it still runs and waits until it is gone.
    void Terminate(Milliseconds timeout) const;
    // Whether it runs as a 32-bit program on 64-bit Windows, as
    // IsWow64Process answers; nothing when that call fails.
    std::optional<bool> IsWow64() const;

private:
    ChildProcess(KernelHandle process, DWORD id);

    KernelHandle process_;
    DWORD id_;
};

// path in quotation marks, as one word of a command line.
std::wstring Quoted(const std::filesystem::path& path);

}  // namespace uidriver
