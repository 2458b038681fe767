#pragma once

// What the in-process tests of the installation run share: a run of the
// sequence in a scratch directory of its own against the loopback test host,
// the agent installed by the stand-in installer, and the events a user reads
// on the way.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "executable_directory.h"
#include "install_sequence.h"
#include "system_msiexec_stand_in.h"
#include "recording_host.h"
#include "scratch_directory.h"
#include "service_answer.h"
#include "test_host.h"

namespace install_test {

using namespace std::chrono_literals;
using Events = std::vector<std::wstring>;

inline constexpr char kAgentPath[] = "/vta/vta-agent-x64.msi";
inline constexpr char kServicePath[] = "/vem-ws/VemSecureHttpServlet";
inline constexpr char kPatchPath[] = "/pm/pm.msi";
inline constexpr char kPatchUrl[] = "https://localhost:47443/pm/pm.msi";

inline const Events kAgentInstalled = {
    L"log: Downloading VTA Agent Installer \r\n",
    L"status: Downloading VTA Agent Installer",
    L"Cancel disabled",
    L"status: Download finished. Beginning VTA Agent installation process",
    L"log: Download finished. Beginning VTA Agent installation process.\r\n",
    L"status: VTA Agent installation finished",
    L"log: VTA Agent installation finished.\r\n",
    L"Cancel enabled",
    L"log: Retrieving Patch Management download details.\r\n",
    L"status: Retrieving Patch Management download details",
};
inline const Events kRetrying = {
    L"log: Error retrieving Patch Management download details. Retrying... \r\n",
    L"status: Error retrieving Patch Management download details. Retrying...",
};
inline const Events kRetrievedAndDownloading = {
    L"log: Retrieved Patch Management download details. \r\n",
    L"status: Retrieved Patch Management download details",
    L"status: Downloading Patch Management Installer",
    L"log: Downloading Patch Management Installer. \r\n",
};
inline const Events kFailureEnding = {L"progress complete", L"details shown", L"Cancel disabled", L"ended"};

inline Events Joined(std::initializer_list<Events> parts)
{
    Events all;
    for (const Events& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A failed step's status text and log line, then the common ending.
inline Events FailureEvents(const std::wstring& status, const std::wstring& logLine)
{
    return Joined({{L"status: " + status, L"log: " + logLine}, kFailureEnding});
}

inline constexpr wchar_t kPatchDownloadError[] = L"Error downloading Patch Management Installer";
inline constexpr wchar_t kPatchDownloadErrorLine[] = L"Error downloading Patch Management Installer.\r\n";
inline constexpr wchar_t kPatchLocalFileError[] = L"Error creating Patch Management Installer local file";
inline constexpr wchar_t kPatchLocalFileErrorLine[] =
    L"Error creating Patch Management Installer local file. Please check your available drive space.\r\n";

// The stand-in installer, as a command line the service could send.
inline std::string StandInCommand(const char* package)
{
    return "\"" + (uidriver::ExecutableDirectory() / "fakeinstaller.exe").string() + "\" /i " + package;
}

inline gui_test::Route Body(std::string body, int status = 200)
{
    gui_test::Route route;
    route.status = status;
    route.body = std::move(body);
    return route;
}

inline std::string Answer(const std::string& url, const std::string& command)
{
    return gui_test::PatchDetailsAnswer(url, command).SerializeAsString();
}

// One run of the sequence in a scratch directory of its own, the agent
// installed by the stand-in installer.
class InstallSequenceRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.Reset();
        ::GetCurrentDirectoryW(MAX_PATH, previousDirectory);
        ::SetCurrentDirectoryW(directory.Path().c_str());
        host.SetRoute(kAgentPath, Body("exit=0"));
    }
    void TearDown() override { ::SetCurrentDirectoryW(previousDirectory); }

    void ServePatchManagement(const std::string& url = kPatchUrl, const std::string& command = StandInCommand("pm.msi"))
    {
        host.SetRoute(kServicePath, Body(Answer(url, command)));
    }

    // A run of the program "..._sT1" on 64-bit Windows, in the current
    // directory: the agent package "vta-agent-x64_sT1.msi".
    RunResult Run()
    {
        RunPlace place = ThisRunPlace();
        place.windows64Bit = true;
        place.programName = L"vta_agent_download_manager_sT1";
        InstallSequence sequence(recorder, PlanPackages(choices, place), choices);
        sequence.m_pfnHoldPackage = holdPackage;
        return sequence.Run();
    }

    // The events after the agent's half and the details retrieval.
    Events PatchManagementEvents() const
    {
        const size_t skipped = kAgentInstalled.size() + kRetrievedAndDownloading.size();
        return skipped <= recorder.events.size() ? Events(recorder.events.begin() + skipped, recorder.events.end())
                                                 : recorder.events;
    }

    gui_test::TestHost host;
    gui_test::ScratchDirectory directory;
    gui_test::SystemMsiexecStandIn installer;
    wchar_t previousDirectory[MAX_PATH] = {};
    RunChoices choices;
    RecordingHost recorder;
    HoldPackageFunction holdPackage = &HeldPackage::Open;
};

}  // namespace install_test
