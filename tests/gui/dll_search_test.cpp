// The DLL search hardening, each half on its own, in a probe that runs it as
// the program does at start: the search leaves out the program's folder and
// the current one, and the DLLs loaded later by bare name are the system's
// copies even on a system where the search cannot be restricted.
#include <windows.h>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>

#include "child_process.h"
#include "executable_directory.h"
#include "scratch_directory.h"
#include "text_encoding.h"
#include "wine_dll_override.h"

#include <gtest/gtest.h>

namespace gui_test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr wchar_t kProbe[] = L"dll_search_probe.exe";
// A name no system directory holds: only a planted copy can answer it.
constexpr wchar_t kUnknownDll[] = L"vta_search_probe.dll";
// What the program loads after start, by bare name, through its delay-load
// thunks.
constexpr std::initializer_list<const wchar_t*> kLoadedLater = {L"wininet.dll", L"bcrypt.dll", L"crypt32.dll",
                                                                 L"wintrust.dll", L"oleacc.dll"};

fs::path SystemDirectory()
{
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return fs::path(std::wstring(path, length < MAX_PATH ? length : 0));
}

bool InSystemDirectory(const fs::path& module)
{
    return !module.empty() &&
           CompareStringOrdinal(module.parent_path().c_str(), -1, SystemDirectory().c_str(), -1, TRUE) == CSTR_EQUAL;
}

class DllSearch : public ::testing::Test {
protected:
    void SetUp() override { fs::copy_file(uidriver::ExecutableDirectory() / kProbe, programFolder.PathOf(kProbe)); }

    // A DLL that records each load of it in "<its path>.loaded".
    static void Plant(const ScratchDirectory& folder, const wchar_t* name)
    {
        fs::copy_file(uidriver::ExecutableDirectory() / L"planted_wininet.dll", folder.PathOf(name));
    }

    static bool WasLoaded(const ScratchDirectory& folder, const wchar_t* name)
    {
        return folder.Exists(std::wstring(name) + L".loaded");
    }

    // Runs the probe in MODE from programFolder, in workingFolder; the path
    // each of DLLS was loaded from, by name (empty when it was not loaded).
    std::map<std::wstring, fs::path> Probe(const wchar_t* mode, std::initializer_list<const wchar_t*> dlls) const
    {
        const fs::path report = workingFolder.PathOf(L"report.txt");
        std::wstring arguments = std::wstring(mode) + L" " + uidriver::Quoted(report);
        for (const wchar_t* dll : dlls)
            arguments += std::wstring(L" ") + dll;
        const auto exitCode =
            uidriver::ChildProcess::Start(programFolder.PathOf(kProbe), arguments, workingFolder.Path())
                .WaitForExit(30s);
        EXPECT_EQ(exitCode, 0u) << "the probe failed in mode " << uidriver::ToUtf8(mode);

        std::map<std::wstring, fs::path> loadedFrom;
        std::istringstream lines(workingFolder.Read(L"report.txt"));
        for (std::string line; std::getline(lines, line);) {
            const size_t tab = line.find('\t');
            loadedFrom[uidriver::FromUtf8(line.substr(0, tab))] =
                tab == std::string::npos ? fs::path() : fs::path(uidriver::FromUtf8(line.substr(tab + 1)));
        }
        return loadedFrom;
    }

    ScratchDirectory programFolder;
    ScratchDirectory workingFolder;
};

TEST_F(DllSearch, ADllBesideTheProgramIsNotFoundByBareName)
{
    Plant(programFolder, kUnknownDll);
    // The planted DLL works: without the hardening, the search finds it.
    EXPECT_EQ(Probe(L"none", {kUnknownDll})[kUnknownDll], programFolder.PathOf(kUnknownDll));
    ASSERT_TRUE(WasLoaded(programFolder, kUnknownDll));
    fs::remove(programFolder.PathOf(std::wstring(kUnknownDll) + L".loaded"));

    EXPECT_EQ(Probe(L"restricted", {kUnknownDll})[kUnknownDll], fs::path());
    EXPECT_FALSE(WasLoaded(programFolder, kUnknownDll));
}

TEST_F(DllSearch, TheCurrentFolderIsLeftOutWithOrWithoutTheRestriction)
{
    Plant(workingFolder, kUnknownDll);
    EXPECT_EQ(Probe(L"none", {kUnknownDll})[kUnknownDll], workingFolder.PathOf(kUnknownDll));
    ASSERT_TRUE(WasLoaded(workingFolder, kUnknownDll));
    fs::remove(workingFolder.PathOf(std::wstring(kUnknownDll) + L".loaded"));

    for (const wchar_t* mode : {L"restricted", L"fallback"}) {
        EXPECT_EQ(Probe(mode, {kUnknownDll})[kUnknownDll], fs::path()) << uidriver::ToUtf8(mode);
        EXPECT_FALSE(WasLoaded(workingFolder, kUnknownDll)) << uidriver::ToUtf8(mode);
    }
}

// The program loads these, and everything they import, before the search
// could find planted copies: on a system without SetDefaultDllDirectories
// too, where only their full paths and the search that starts in their own
// folder keep the planted copies out.
TEST_F(DllSearch, TheDllsLoadedLaterAndTheirImportsAreTheSystemsOwnEvenWithoutTheRestriction)
{
    // What the system's copies of them import, here and on Windows.
    const std::initializer_list<const wchar_t*> imported = {L"mpr.dll",    L"shlwapi.dll",  L"ws2_32.dll",
                                                            L"secur32.dll", L"cryptui.dll", L"iertutil.dll",
                                                            L"msasn1.dll"};
    const WineNativeDllFirst search(kProbe, {L"wininet", L"bcrypt", L"crypt32", L"wintrust", L"oleacc", L"mpr",
                                             L"shlwapi", L"ws2_32", L"secur32", L"cryptui", L"iertutil", L"msasn1"});
    for (const auto& dlls : {kLoadedLater, imported}) {
        for (const wchar_t* dll : dlls)
            Plant(programFolder, dll);
    }
    EXPECT_EQ(Probe(L"none", kLoadedLater)[L"wininet.dll"], programFolder.PathOf(L"wininet.dll"))
        << "the planted DLLs were not found without the hardening";
    for (const auto& entry : fs::directory_iterator(programFolder.Path())) {
        if (entry.path().extension() == L".loaded")
            fs::remove(entry.path());
    }

    for (const wchar_t* mode : {L"restricted", L"fallback"}) {
        const auto loadedFrom = Probe(mode, kLoadedLater);
        const auto where = [mode](const wchar_t* dll) { return uidriver::ToUtf8(dll) + ", " + uidriver::ToUtf8(mode); };
        for (const wchar_t* dll : kLoadedLater)
            EXPECT_TRUE(InSystemDirectory(loadedFrom.at(dll))) << where(dll) << ": " << loadedFrom.at(dll).string();
        for (const auto& dlls : {kLoadedLater, imported}) {
            for (const wchar_t* dll : dlls)
                EXPECT_FALSE(WasLoaded(programFolder, dll)) << where(dll);
        }
    }
}

}  // namespace
}  // namespace gui_test
