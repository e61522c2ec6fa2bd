#include "update/Sha256.h"

// Windows XP has SHA-256 from its third service pack on, later than the headers' target.
#ifndef CALG_SHA_256
#define CALG_SHA_256 0x0000800C
#endif

Sha256::Sha256()
{
    // The AES provider is the one that carries SHA-256.
    if (!::CryptAcquireContextA(&provider_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
        provider_ = 0;
        return;
    }
    if (!::CryptCreateHash(provider_, CALG_SHA_256, 0, 0, &hash_))
        hash_ = 0;
}

Sha256::~Sha256()
{
    if (hash_)
        ::CryptDestroyHash(hash_);
    if (provider_)
        ::CryptReleaseContext(provider_, 0);
}

bool Sha256::Add(const void* data, DWORD size)
{
    return hash_ && ::CryptHashData(hash_, static_cast<const BYTE*>(data), size, 0);
}

std::string Sha256::HexDigest()
{
    BYTE digest[32];
    DWORD size = sizeof(digest);
    if (!hash_ || !::CryptGetHashParam(hash_, HP_HASHVAL, digest, &size, 0) || size != sizeof(digest))
        return std::string();
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (BYTE b : digest) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}
