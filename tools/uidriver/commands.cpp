#include "commands.h"

#include "child_process.h"
#include "dialog_driver.h"
#include "dialog_dump.h"
#include "driver_error.h"
#include "latency_summary.h"
#include "text_encoding.h"

#include <chrono>
#include <cwchar>
#include <sstream>

namespace uidriver {

namespace {

// How long commands that act on the dialog look for it: it may still be opening.
constexpr Milliseconds kFindTimeout{5000};
constexpr Milliseconds kDefaultWait{10000};

// The arguments after the command word, with their expected count checked up front.
class Arguments {
public:
    Arguments(const Invocation& invocation, size_t required, size_t optional)
        : words_(invocation.arguments), command_(ToUtf8(invocation.command))
    {
        if (words_.size() < required || words_.size() > required + optional)
            throw UsageError("wrong number of arguments for " + command_);
    }

    long Number(size_t index) const
    {
        const std::wstring& word = words_.at(index);
        wchar_t* end = nullptr;
        const long value = std::wcstol(word.c_str(), &end, 10);
        if (word.empty() || *end != L'\0')
            throw UsageError(command_ + ": not a number: " + ToUtf8(word));
        return value;
    }

    int Id(size_t index) const { return static_cast<int>(Number(index)); }

    Milliseconds TimeoutOr(size_t index, Milliseconds fallback) const
    {
        if (index >= words_.size())
            return fallback;
        const long milliseconds = Number(index);
        if (milliseconds < 0)
            throw UsageError(command_ + ": a time-out cannot be negative");
        return Milliseconds(milliseconds);
    }

    const std::wstring& Word(size_t index) const { return words_.at(index); }

private:
    const std::vector<std::wstring>& words_;
    std::string command_;
};

DialogDriver FindDialog(const Invocation& invocation, Milliseconds timeout)
{
    auto dialog = DialogDriver::Find(invocation.caption, 0, timeout);
    if (!dialog)
        throw DriverError("no dialog \"" + ToUtf8(invocation.caption) + "\" within " +
                          std::to_string(timeout.count()) + " ms");
    return std::move(*dialog);
}

CommandResult Outcome(bool succeeded, const std::string& failure)
{
    return succeeded ? CommandResult{kExitSuccess, {}} : CommandResult{kExitFailure, failure + "\n"};
}

CommandResult Dump(const Invocation& invocation)
{
    Arguments(invocation, 0, 0);
    return {kExitSuccess, DumpJson(FindDialog(invocation, kFindTimeout))};
}

// click, command and link: one control id, one posted action.
template <void (DialogDriver::*Act)(int) const>
CommandResult ActOnControl(const Invocation& invocation)
{
    const Arguments arguments(invocation, 1, 0);
    (FindDialog(invocation, kFindTimeout).*Act)(arguments.Id(0));
    return {kExitSuccess, {}};
}

CommandResult Check(const Invocation& invocation)
{
    const Arguments arguments(invocation, 2, 0);
    const std::wstring& state = arguments.Word(1);
    if (state != L"on" && state != L"off")
        throw UsageError("check: state must be on or off");
    FindDialog(invocation, kFindTimeout).SetCheck(arguments.Id(0), state == L"on");
    return {kExitSuccess, {}};
}

CommandResult WaitWindow(const Invocation& invocation)
{
    const Arguments arguments(invocation, 0, 1);
    FindDialog(invocation, arguments.TimeoutOr(0, kDefaultWait));
    return {kExitSuccess, {}};
}

CommandResult WaitEnabled(const Invocation& invocation)
{
    const Arguments arguments(invocation, 1, 1);
    const int id = arguments.Id(0);
    const DialogDriver dialog = FindDialog(invocation, kFindTimeout);
    return Outcome(dialog.WaitEnabled(id, arguments.TimeoutOr(1, kDefaultWait)),
                   "control " + std::to_string(id) + " stayed disabled");
}

CommandResult WaitText(const Invocation& invocation)
{
    const Arguments arguments(invocation, 2, 1);
    const int id = arguments.Id(0);
    const std::wstring& wanted = arguments.Word(1);
    const DialogDriver dialog = FindDialog(invocation, kFindTimeout);
    const auto isWanted = [&wanted](const std::wstring& text) { return text == wanted; };
    return Outcome(dialog.WaitText(id, isWanted, arguments.TimeoutOr(2, kDefaultWait)),
                   "control " + std::to_string(id) + " shows \"" + ToUtf8(dialog.Text(id)) + "\"");
}

CommandResult WaitClosed(const Invocation& invocation)
{
    const Arguments arguments(invocation, 0, 1);
    const auto dialog = DialogDriver::Find(invocation.caption, 0, Milliseconds(0));
    return Outcome(!dialog || dialog->WaitClosed(arguments.TimeoutOr(0, kDefaultWait)), "the dialog is still open");
}

CommandResult Ping(const Invocation& invocation)
{
    const Arguments arguments(invocation, 1, 0);
    const long rounds = arguments.Number(0);
    if (rounds < 1)
        throw UsageError("ping needs at least one round trip");
    const DialogDriver dialog = FindDialog(invocation, kFindTimeout);
    std::vector<std::chrono::microseconds> samples;
    for (long i = 0; i < rounds; ++i)
        samples.push_back(dialog.PingRoundTrip());
    const LatencySummary summary = Summarize(samples);
    std::ostringstream report;
    report << "{\"rounds\": " << rounds << ", \"median_us\": " << summary.median.count()
           << ", \"p99_us\": " << summary.percentile99.count() << "}\n";
    return {kExitSuccess, report.str()};
}

// Starts the program, from its own folder, as often as asked, and measures
// each time how long it takes from the process's start to its dialog shown;
// the dialog is then closed with Cancel.
CommandResult Startup(const Invocation& invocation)
{
    using Clock = std::chrono::steady_clock;
    const Arguments arguments(invocation, 2, 0);
    const std::filesystem::path program = arguments.Word(0);
    const long runs = arguments.Number(1);
    if (runs < 1)
        throw UsageError("startup needs at least one run");
    std::vector<std::chrono::microseconds> samples;
    std::ostringstream each;
    for (long run = 0; run < runs; ++run) {
        const Clock::time_point started = Clock::now();
        const ChildProcess child = ChildProcess::Start(program, L"", program.parent_path());
        std::optional<DialogDriver> dialog;
        while (!(dialog = DialogDriver::Find(invocation.caption, child.Id(), Milliseconds(0)))) {
            if (!child.IsRunning() || Clock::now() - started > kDefaultWait)
                throw DriverError("the program showed no dialog");
            ::Sleep(1);
        }
        samples.push_back(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started));
        each << (run ? ", " : "") << samples.back().count();
        dialog->Command(IDCANCEL);
        if (!child.WaitForExit(kDefaultWait))
            child.Terminate(kDefaultWait);
    }
    const LatencySummary summary = Summarize(samples);
    std::ostringstream report;
    report << "{\"runs\": " << runs << ", \"median_us\": " << summary.median.count() << ", \"each_us\": ["
           << each.str() << "]}\n";
    return {kExitSuccess, report.str()};
}

struct CommandEntry {
    const wchar_t* name;
    CommandResult (*run)(const Invocation&);
};

constexpr CommandEntry kCommands[] = {
    {L"dump", Dump},
    {L"click", ActOnControl<&DialogDriver::Click>},
    {L"command", ActOnControl<&DialogDriver::Command>},
    {L"link", ActOnControl<&DialogDriver::ClickLink>},
    {L"check", Check},
    {L"wait-window", WaitWindow},
    {L"wait-enabled", WaitEnabled},
    {L"wait-text", WaitText},
    {L"wait-closed", WaitClosed},
    {L"ping", Ping},
    {L"startup", Startup},
};

}  // namespace

CommandResult RunCommand(const Invocation& invocation)
{
    for (const CommandEntry& command : kCommands) {
        if (invocation.command == command.name)
            return command.run(invocation);
    }
    throw UsageError("unknown command " + ToUtf8(invocation.command));
}

}  // namespace uidriver
