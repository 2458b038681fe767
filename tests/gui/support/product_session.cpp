#include "product_session.h"

#include "executable_directory.h"
#include "polling.h"

#include <stdexcept>

namespace gui_test {

namespace {

constexpr uidriver::Milliseconds kTerminationTimeout{10000};

}  // namespace

ProductSession::ProductSession(const std::wstring& executableName, const std::wstring& built)
    : executable_(directory_.PathOf(executableName))
{
    std::filesystem::copy_file(uidriver::ExecutableDirectory() / built, executable_);
}

ProductSession::~ProductSession()
{
    if (process_)
        process_->Terminate(kTerminationTimeout);
}

void ProductSession::StartWindowless(const std::wstring& arguments)
{
    if (process_)
        throw std::logic_error("the product session was started already");
    process_ = uidriver::ChildProcess::Start(executable_, arguments, directory_.Path());
}

void ProductSession::Start(uidriver::Milliseconds timeout, const std::optional<std::filesystem::path>& currentDirectory,
                           const std::wstring& arguments)
{
    if (process_)
        throw std::logic_error("the product session was started already");
    process_ = uidriver::ChildProcess::Start(executable_, arguments, currentDirectory.value_or(directory_.Path()));

    uidriver::PollUntil(
        [this] {
            dialog_ =
                uidriver::DialogDriver::Find(uidriver::kProductCaption, process_->Id(), uidriver::Milliseconds(0));
            return dialog_ || !process_->IsRunning();
        },
        timeout);
    if (dialog_)
        return;
    if (const auto exitCode = process_->WaitForExit(uidriver::Milliseconds(0)))
        throw std::runtime_error("the product exited with code " + std::to_string(*exitCode) +
                                 " before showing its dialog");
    throw std::runtime_error("the product showed no dialog within " + std::to_string(timeout.count()) + " ms");
}

const uidriver::DialogDriver& ProductSession::Dialog() const
{
    if (!dialog_)
        throw std::logic_error("the product has not shown its dialog");
    return *dialog_;
}

DWORD ProductSession::ProcessId() const
{
    return Started().Id();
}

bool ProductSession::IsRunning() const
{
    return process_ && process_->IsRunning();
}

std::optional<DWORD> ProductSession::WaitForExit(uidriver::Milliseconds timeout) const
{
    return Started().WaitForExit(timeout);
}

const uidriver::ChildProcess& ProductSession::Started() const
{
    if (!process_)
        throw std::logic_error("the product was not started");
    return *process_;
}

}  // namespace gui_test
