#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

// The SHA-256 digest of bytes added piece by piece, through the system's cryptographic
// provider.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    // False when the system offers no SHA-256; nothing else works then.
    bool IsReady() const { return hash_ != 0; }
    bool Add(const void* data, DWORD size);
    // 64 lower-case hexadecimal digits; empty on failure.
    std::string HexDigest();

private:
    HCRYPTPROV provider_ = 0;
    HCRYPTHASH hash_ = 0;
};
