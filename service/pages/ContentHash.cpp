#include "service/pages/ContentHash.h"
#include <openssl/evp.h>
#include <stdexcept>

namespace {

const size_t HashDigits = 16;

std::string Sha256(const std::string& bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr))
        throw std::runtime_error("SHA-256 is not available");
    return std::string(reinterpret_cast<const char*>(digest), size);
}

} // namespace

std::string ContentHash(const std::string& bytes)
{
    static const char Hex[] = "0123456789abcdef";
    const std::string digest = Sha256(bytes);
    std::string hash;
    for (size_t i = 0; i < HashDigits / 2; ++i) {
        const unsigned char byte = static_cast<unsigned char>(digest[i]);
        hash += Hex[byte >> 4];
        hash += Hex[byte & 15];
    }
    return hash;
}

bool IsContentHash(const std::string& text)
{
    if (text.size() != HashDigits)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

std::string HashedFileName(const std::string& fileName, const std::string& hash)
{
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return fileName + "." + hash;
    return fileName.substr(0, dot) + "." + hash + fileName.substr(dot);
}

std::string ScriptHashSource(const std::string& script)
{
    const std::string digest = Sha256(script);
    unsigned char encoded[64];
    const int length = EVP_EncodeBlock(encoded, reinterpret_cast<const unsigned char*>(digest.data()),
                                       static_cast<int>(digest.size()));
    return "'sha256-" + std::string(reinterpret_cast<const char*>(encoded), length) + "'";
}
