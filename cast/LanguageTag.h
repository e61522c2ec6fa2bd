#pragma once
#include <cstdint>
#include <string>

// The language tag a browser knows ("en-GB") for a Windows language id (0x0809), as
// character files name the language of their voice; empty for one not in the table.
std::string LanguageTag(uint16_t languageId);
