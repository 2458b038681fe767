// SHA-256 digests of what is written and of a held file.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>

using Sha256Digest = std::array<unsigned char, 32>;

// SHA-256 through the system's cryptography provider (CNG), fed piece by
// piece. A failure of the provider is kept: Finish then gives nothing.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Add(const void* data, size_t size);
    // The digest of everything added; nothing when the provider failed.
    std::optional<Sha256Digest> Finish();

private:
    void* m_algorithm = nullptr;
    void* m_hash = nullptr;
    // The provider failed, or the digest was taken: nothing more is hashed.
    bool m_spent = false;
};

std::optional<Sha256Digest> Sha256Of(const void* data, size_t size);

// The digest of the whole file, read through `file` from its first byte;
// nothing when a read or the provider failed.
std::optional<Sha256Digest> Sha256OfFile(HANDLE file);

// The digest as 64 lower-case hex digits.
std::wstring HexText(const Sha256Digest& digest);
