// Who signed a package, checked against the publishers the build pins.
#pragma once

#include <string>
#include <vector>

#include "held_package.h"
#include "sha256.h"

// What a package's Authenticode signature says about who published it.
struct PublisherCheck {
    bool accepted = false;
    // For the log: who signed it, or why it is refused.
    std::wstring finding;
};

// Checks the package through the handle that holds it, so that what is
// checked is what the installer gets: its signature must verify
// (WinVerifyTrust, without the network and without any window), and the
// signer, read from that same verified state, must be one of `pinned` (the
// SHA-256 of its certificate) with a chain that meets the Authenticode
// policy. The chain is checked here, not left to WinVerifyTrust: some
// implementations accept an untrusted root there.
PublisherCheck CheckPublisher(const HeldPackage& package, const std::vector<Sha256Digest>& pinned);
