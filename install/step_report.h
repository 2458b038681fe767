// How the run shows a step's texts through its host.
#pragma once

#include <string>

#include "installation_host.h"
#include "outcome_messages.h"

// A step's status line and details line, in the message's order.
inline void Show(InstallationHost& host, const OutcomeMessage& message)
{
    if (message.lineFirst)
        host.AddDetail(message.line);
    host.ShowStatus(message.status);
    if (!message.lineFirst)
        host.AddDetail(message.line);
}

// A step of the details retrieval or of a layout: its details line, then
// its status line.
inline void ShowStep(InstallationHost& host, const std::wstring& status, const std::wstring& line)
{
    Show(host, {status, line, true});
}
