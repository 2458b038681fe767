#include "run_log.h"

#include "afxwin.h"
#include "build_config.h"
#include "exit_codes.h"
#include "installer_names.h"

namespace {

constexpr wchar_t kProgramTitle[] = L"VTA Agent Download Manager";

void ShowUsage(const std::wstring& error)
{
    const std::wstring text = error.empty() ? UsageText() : error + L"\n\n" + UsageText();
    ::MessageBoxW(nullptr, text.c_str(), kProgramTitle, MB_OK | (error.empty() ? MB_ICONINFORMATION : MB_ICONERROR));
}

}  // namespace

void StartLog(LogFile& log, const std::optional<std::wstring>& proxyPassword)
{
    log.Mask(DeriveInstallerNames(AfxGetExeBaseName().str(), false).setupToken);
    if (proxyPassword)
        log.Mask(*proxyPassword);
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    log.Write(std::wstring(kProgramTitle) + L" " + kProgramVersion + L", started as \"" + program + L"\" " +
              CommandLineForLog(AfxGetArguments()));
}

DWORD ReportUsage(const ParsedCommandLine& parsed, const DesktopQueries& desktop)
{
    const DWORD exitCode = parsed.options ? exit_codes::kSuccess : exit_codes::kInvalidParameter;
    if (!parsed.quiet && DesktopVisible(desktop)) {
        ShowUsage(parsed.error);
        return exitCode;
    }
    if (parsed.options)
        return exitCode;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    LogFile log(parsed.logFile ? *parsed.logFile : DefaultLogFile(now));
    StartLog(log, std::nullopt);
    log.Write(L"The command line is not understood: " + parsed.error + L"\r\n" + UsageText());
    log.Write(L"Exit code " + std::to_wstring(exitCode));
    return exitCode;
}
