#include <gtest/gtest.h>

#include "command_line_options.h"
#include "log_text.h"

namespace {

using Arguments = std::vector<std::wstring>;

TEST(CommandLine, NoSwitchesIsTheDialogAsAlways)
{
    const ParsedCommandLine parsed = ParseCommandLine({});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->mode, UiMode::Interactive);
    EXPECT_TRUE(parsed.options->patchManagement);
    EXPECT_FALSE(parsed.options->proxy);
    EXPECT_FALSE(parsed.options->proxyUser);
    EXPECT_FALSE(parsed.options->proxyPassword);
    EXPECT_FALSE(parsed.options->logFile);
    EXPECT_FALSE(parsed.options->help);
}

TEST(CommandLine, SwitchesTakeEitherPrefixInAnyCase)
{
    const ParsedCommandLine parsed =
        ParseCommandLine({L"-Quiet", L"/NOPATCHMANAGEMENT", L"/proxy", L"proxy.example:8080", L"-LOG", L"C:\\x y.log"});
    ASSERT_TRUE(parsed.options) << testing::PrintToString(parsed.error);
    EXPECT_EQ(parsed.options->mode, UiMode::Quiet);
    EXPECT_FALSE(parsed.options->patchManagement);
    EXPECT_EQ(parsed.options->proxy, L"proxy.example:8080");
    EXPECT_EQ(parsed.options->logFile, L"C:\\x y.log");
    EXPECT_TRUE(parsed.quiet);

    EXPECT_EQ(ParseCommandLine({L"/passive"}).options->mode, UiMode::Passive);
    EXPECT_TRUE(ParseCommandLine({L"/?"}).options->help);
    EXPECT_TRUE(ParseCommandLine({L"-help"}).options->help);
    EXPECT_EQ(ParseCommandLine({L"/LAYOUT", L"\\\\share\\vta"}).options->layoutFolder, L"\\\\share\\vta");
    EXPECT_EQ(ParseCommandLine({L"-source", L"D:\\vta"}).options->sourceFolder, L"D:\\vta");
}

TEST(CommandLine, ProxyCredentialsComeWithTheirProxy)
{
    const ParsedCommandLine parsed =
        ParseCommandLine({L"/PROXYUSER", L"DOMAIN\\someone", L"/proxy", L"127.0.0.1:3128", L"-ProxyPassword", L"se cret"});
    ASSERT_TRUE(parsed.options) << testing::PrintToString(parsed.error);
    EXPECT_EQ(parsed.options->proxy, L"127.0.0.1:3128");
    EXPECT_EQ(parsed.options->proxyUser, L"DOMAIN\\someone");
    EXPECT_EQ(parsed.options->proxyPassword, L"se cret");

    // Without /proxy they would go nowhere: refused, not ignored.
    for (const Arguments& arguments : {Arguments{L"/quiet", L"/proxyuser", L"someone"},
                                       Arguments{L"/proxypassword", L"secret"}, Arguments{L"/proxy", L"h:1", L"/proxypassword"},
                                       Arguments{L"/proxy", L"h:1", L"/proxyuser", L"/log", L"x.log"}}) {
        const ParsedCommandLine refused = ParseCommandLine(arguments);
        EXPECT_FALSE(refused.options) << testing::PrintToString(arguments);
        EXPECT_FALSE(refused.error.empty()) << testing::PrintToString(arguments);
    }
}

TEST(CommandLine, WhatIsNotUnderstoodIsRefusedWithAReason)
{
    for (const Arguments& arguments :
         {Arguments{L"/reboot"}, Arguments{L"install"}, Arguments{L"/log"}, Arguments{L"/proxy", L"/quiet"},
          Arguments{L"/log", L""}, Arguments{L"/quiet", L"/passive"}, Arguments{L"/"}, Arguments{L"quiet"},
          Arguments{L"/layout", L"/quiet"}, Arguments{L"/layout", L"a", L"/source", L"b"}}) {
        const ParsedCommandLine parsed = ParseCommandLine(arguments);
        EXPECT_FALSE(parsed.options) << testing::PrintToString(arguments);
        EXPECT_FALSE(parsed.error.empty()) << testing::PrintToString(arguments);
    }
    // A refused command line with /quiet anywhere shows nothing; its /log
    // still takes the reason.
    EXPECT_TRUE(ParseCommandLine({L"/bogus", L"/quiet"}).quiet);
    EXPECT_FALSE(ParseCommandLine({L"/bogus"}).quiet);
    EXPECT_EQ(ParseCommandLine({L"/bogus", L"-LOG", L"a b.log"}).logFile, L"a b.log");
    EXPECT_FALSE(ParseCommandLine({L"/bogus", L"/log", L"/quiet"}).logFile);
}

TEST(LogText, TheTokenNeverShows)
{
    EXPECT_EQ(MaskToken(L"vta-agent-x64_sABC.msi from https://h/ABC?t=ABC", L"ABC"), L"vta-agent-x64_s***.msi from https://h/***?t=***");
    EXPECT_EQ(MaskToken(L"AAAA", L"AA"), L"******");
    EXPECT_EQ(MaskToken(L"no token here", L""), L"no token here");
}

// The log's command line is rebuilt from the parsed arguments: however the
// raw command line quoted the password (pa"ss wo"rd is "pass word",
// "sec""ret" is sec"ret), it never reaches the log; other arguments read
// back as they were.
TEST(LogText, TheLoggedCommandLineNeverHoldsThePassword)
{
    for (const wchar_t* password : {L"pass word", L"sec\"ret", L"plain", L""})
        EXPECT_EQ(CommandLineForLog({L"/proxy", L"h:1", L"-ProxyPassword", password, L"/quiet"}),
                  std::wstring(L"/proxy h:1 -ProxyPassword ") + (*password ? L"***" : L"\"\"") + L" /quiet");
    EXPECT_EQ(CommandLineForLog({L"/log", L"C:\\my logs\\", L"/proxyuser", L"a\"b", L"/proxypassword", L"/quiet"}),
              L"/log \"C:\\my logs\\\\\" /proxyuser \"a\\\"b\" /proxypassword /quiet");
}

}  // namespace
