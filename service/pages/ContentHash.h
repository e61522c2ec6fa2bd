#pragma once
#include <string>

// Short names for file contents: the first 16 hexadecimal digits of their SHA-256. Put
// into a file's address, they let every cache keep it for good: other content gets
// another address.
std::string ContentHash(const std::string& bytes);

// Whether text has the form of a content hash.
bool IsContentHash(const std::string& text);

// A file's name with the hash before its extension: "main.js" is "main.<hash>.js".
std::string HashedFileName(const std::string& fileName, const std::string& hash);

// How a Content-Security-Policy allows an inline script of exactly this text:
// 'sha256-<base64 of its SHA-256>'.
std::string ScriptHashSource(const std::string& script);
