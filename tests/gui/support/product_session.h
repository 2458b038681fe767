#pragma once

#include "child_process.h"
#include "dialog_driver.h"
#include "scratch_directory.h"

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace gui_test {

constexpr wchar_t kProductExecutableName[] = L"vta_agent_download_manager.exe";
// The program pinned to the test package signers (tests/gui/CMakeLists.txt).
constexpr wchar_t kPinnedProductExecutableName[] = L"vta_agent_download_manager_pinned.exe";
constexpr uidriver::Milliseconds kDialogTimeout{30000};

// One run of the product: a copy of a built executable (the shipped program
// unless `built` names another), under the name the test chooses (the name
// carries the setup token), in a working directory of its own. A product
// still running when the session ends is terminated, and the working
// directory is removed.
class ProductSession {
public:
    explicit ProductSession(const std::wstring& executableName = kProductExecutableName,
                            const std::wstring& built = kProductExecutableName);
    ~ProductSession();
    ProductSession(const ProductSession&) = delete;
    ProductSession& operator=(const ProductSession&) = delete;

    // The product's current directory: prepare files before Start, inspect them after.
    const ScratchDirectory& WorkingDirectory() const { return directory_; }
    const std::filesystem::path& Executable() const { return executable_; }

    // Starts the copy and waits until it shows its dialog; throws
    // std::runtime_error when it exits or shows none within timeout. The
    // product runs in its working directory unless currentDirectory is given.
    void Start(uidriver::Milliseconds timeout = kDialogTimeout,
               const std::optional<std::filesystem::path>& currentDirectory = std::nullopt,
               const std::wstring& arguments = L"");
    // Starts the copy with these arguments in its working directory and
    // returns at once: for runs that show no window.
    void StartWindowless(const std::wstring& arguments);

    // The product's dialog; Start must have succeeded.
    const uidriver::DialogDriver& Dialog() const;
    DWORD ProcessId() const;
    std::optional<bool> IsWow64() const { return Started().IsWow64(); }
    bool IsRunning() const;
    // The exit code, or nothing when the product still runs after timeout.
    std::optional<DWORD> WaitForExit(uidriver::Milliseconds timeout) const;

private:
    const uidriver::ChildProcess& Started() const;

    ScratchDirectory directory_;
    std::filesystem::path executable_;
    std::optional<uidriver::ChildProcess> process_;
    std::optional<uidriver::DialogDriver> dialog_;
};

}  // namespace gui_test
