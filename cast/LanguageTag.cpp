#include "cast/LanguageTag.h"

namespace {

struct Language {
    uint16_t id;
    const char* tag;
};

// The languages characters were made for; the primary language alone (the low ten bits)
// names the first of its kind.
const Language kLanguages[] = {
    { 0x0409, "en-US" }, { 0x0809, "en-GB" }, { 0x0C09, "en-AU" }, { 0x1009, "en-CA" }, { 0x0407, "de-DE" },
    { 0x0807, "de-CH" }, { 0x0C07, "de-AT" }, { 0x040C, "fr-FR" }, { 0x0C0C, "fr-CA" }, { 0x080C, "fr-BE" },
    { 0x0410, "it-IT" }, { 0x0C0A, "es-ES" }, { 0x040A, "es-ES" }, { 0x080A, "es-MX" }, { 0x0413, "nl-NL" },
    { 0x0813, "nl-BE" }, { 0x0416, "pt-BR" }, { 0x0816, "pt-PT" }, { 0x0406, "da-DK" }, { 0x0414, "nb-NO" },
    { 0x041D, "sv-SE" }, { 0x040B, "fi-FI" }, { 0x0415, "pl-PL" }, { 0x0405, "cs-CZ" }, { 0x040E, "hu-HU" },
    { 0x0419, "ru-RU" }, { 0x0408, "el-GR" }, { 0x041F, "tr-TR" }, { 0x040D, "he-IL" }, { 0x0401, "ar-SA" },
    { 0x0411, "ja-JP" }, { 0x0412, "ko-KR" }, { 0x0804, "zh-CN" }, { 0x0404, "zh-TW" }, { 0x0424, "sl-SI" },
    { 0x041B, "sk-SK" }, { 0x0418, "ro-RO" }, { 0x041A, "hr-HR" }, { 0x0402, "bg-BG" }, { 0x0422, "uk-UA" },
};

} // namespace

std::string LanguageTag(uint16_t languageId)
{
    for (const Language& language : kLanguages)
        if (language.id == languageId)
            return language.tag;
    for (const Language& language : kLanguages)
        if ((language.id & 0x3FF) == (languageId & 0x3FF))
            return std::string(language.tag, 2);
    return {};
}
