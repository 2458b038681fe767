#include <gtest/gtest.h>

#include "installer_names.h"

namespace {

struct NameCase {
    const wchar_t* exeBaseName;
    bool windows64Bit;
    const wchar_t* agentFile;
    const wchar_t* token;
};

class InstallerNamesTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(InstallerNamesTest, DerivesFileAndToken)
{
    const NameCase& c = GetParam();
    const InstallerNames names = DeriveInstallerNames(c.exeBaseName, c.windows64Bit);
    EXPECT_EQ(names.agentInstallerFile, c.agentFile);
    EXPECT_EQ(names.setupToken, c.token);
}

INSTANTIATE_TEST_SUITE_P(
    ExecutableNames, InstallerNamesTest,
    ::testing::Values(
        NameCase{L"setup", true, L"vta-agent-x64.msi", L""},
        NameCase{L"setup", false, L"vta-agent-x86.msi", L""},
        // "_s" alone carries no token but still goes into the file name.
        NameCase{L"setup_s", true, L"vta-agent-x64_s.msi", L""},
        // The letter must be a lower-case s.
        NameCase{L"setup_SABC", true, L"vta-agent-x64_SABC.msi", L""},
        NameCase{L"setup_sABC", true, L"vta-agent-x64_sABC.msi", L"ABC"},
        NameCase{L"setup_sx", false, L"vta-agent-x86_sx.msi", L"x"},
        // Only the last underscore counts.
        NameCase{L"vta_agent_download_manager_sABC123", true, L"vta-agent-x64_sABC123.msi", L"ABC123"},
        NameCase{L"vta_agent_download_manager", true, L"vta-agent-x64_manager.msi", L""},
        NameCase{L"setup_", true, L"vta-agent-x64_.msi", L""},
        // A browser's copy marker, " (N)", is not part of the name.
        NameCase{L"vta_agent_download_manager_sTOKEN42 (1)", true, L"vta-agent-x64_sTOKEN42.msi", L"TOKEN42"},
        NameCase{L"vta_agent_download_manager_sTOKEN42 (12)", false, L"vta-agent-x86_sTOKEN42.msi", L"TOKEN42"},
        NameCase{L"setup (3)", true, L"vta-agent-x64.msi", L""},
        // Only one marker, only at the end, and only a space, digits and parentheses.
        NameCase{L"setup_sA (1) (2)", true, L"vta-agent-x64_sA (1).msi", L"A (1)"},
        NameCase{L"setup_sA(1)", true, L"vta-agent-x64_sA(1).msi", L"A(1)"},
        NameCase{L"setup_sA (x)", true, L"vta-agent-x64_sA (x).msi", L"A (x)"},
        NameCase{L"setup_sA ()", true, L"vta-agent-x64_sA ().msi", L"A ()"},
        NameCase{L"setup_s (1)", true, L"vta-agent-x64_s.msi", L""}));

}  // namespace
