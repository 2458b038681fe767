#pragma once

#include <array>
#include <string>

namespace gui_test {

// The bytes of a sample package that the build made (tools/packages): the
// unsigned agent.msi and patch.msi, and copies signed by the test signers
// below, named NAME-SIGNER.msi.
std::string SamplePackage(const char* fileName);

// The product codes of agent.msi (and of agent-restart.msi, its twin that
// asks for a restart) and of patch.msi.
inline constexpr wchar_t kAgentProduct[] = L"{3B4294FB-368B-4E7E-AFE2-E59D7FD0772A}";
inline constexpr wchar_t kPatchProduct[] = L"{CA7B7426-254B-4518-AE18-5F0D39F686F7}";

// The SHA-256 thumbprint of a test signer's certificate, as a build pins it.
// The signers (scripts/make-package-signing-pki): "publisher" and
// "untrusted-publisher" are pinned by the signature tests, "stranger" is
// not. "publisher" and "stranger" are issued by the test package CA, which
// the Wine session trusts (scripts/wine-session); "untrusted-publisher" by a
// CA that nothing trusts.
std::array<unsigned char, 32> SignerThumbprint(const char* signer);

}  // namespace gui_test
