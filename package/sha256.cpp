// SHA-256 through the system's CNG provider.
#include "sha256.h"

#include <bcrypt.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr DWORD kFileReadBytes = 64 * 1024;

}  // namespace

Sha256::Sha256()
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    // The provider keeps the hash object's memory itself.
    m_spent = !BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
               !BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    m_algorithm = algorithm;
    m_hash = hash;
}

Sha256::~Sha256()
{
    if (m_hash)
        ::BCryptDestroyHash(m_hash);
    if (m_algorithm)
        ::BCryptCloseAlgorithmProvider(m_algorithm, 0);
}

void Sha256::Add(const void* data, size_t size)
{
    auto* bytes = static_cast<unsigned char*>(const_cast<void*>(data));
    while (!m_spent && size > 0) {
        const ULONG piece = static_cast<ULONG>(std::min<size_t>(size, std::numeric_limits<ULONG>::max()));
        m_spent = !BCRYPT_SUCCESS(::BCryptHashData(m_hash, bytes, piece, 0));
        bytes += piece;
        size -= piece;
    }
}

std::optional<Sha256Digest> Sha256::Finish()
{
    if (m_spent)
        return std::nullopt;
    m_spent = true;
    Sha256Digest digest{};
    if (!BCRYPT_SUCCESS(::BCryptFinishHash(m_hash, digest.data(), static_cast<ULONG>(digest.size()), 0)))
        return std::nullopt;
    return digest;
}

std::optional<Sha256Digest> Sha256Of(const void* data, size_t size)
{
    Sha256 hash;
    hash.Add(data, size);
    return hash.Finish();
}

std::optional<Sha256Digest> Sha256OfFile(HANDLE file)
{
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return std::nullopt;
    Sha256 hash;
    std::vector<unsigned char> buffer(kFileReadBytes);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file, buffer.data(), kFileReadBytes, &read, nullptr))
            return std::nullopt;
        if (read == 0)
            break;
        hash.Add(buffer.data(), read);
    }
    return hash.Finish();
}

std::wstring HexText(const Sha256Digest& digest)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    for (const unsigned char byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}
