#include "stage/SpeechSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const int kScaleEnd = 10;

int OnScale(double steps)
{
    return std::clamp(static_cast<int>(std::lround(steps)), -kScaleEnd, kScaleEnd);
}

std::string Escaped(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

} // namespace

SpeechSettings SpeechSettingsFor(const CharacterVoice& voice)
{
    SpeechSettings settings;
    if (voice.speed > 0) {
        settings.hasRate = true;
        settings.rate = OnScale(kScaleEnd * std::log(RelativeVoiceSpeed(voice)) / std::log(3.0));
    }
    if (voice.pitch > 0) {
        settings.hasPitch = true;
        settings.pitch = OnScale(kScaleEnd * std::log2(RelativeVoicePitch(voice)));
    }
    if (!voice.described)
        return settings;
    std::string language;
    if (voice.languageId != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "Language=%X", voice.languageId);
        language = hex;
    }
    std::string gender;
    if (voice.gender == kVoiceGenderFemale)
        gender = "Gender=Female";
    else if (voice.gender == kVoiceGenderMale)
        gender = "Gender=Male";
    if (!language.empty() && !gender.empty())
        settings.voiceQueries.push_back(language + ";" + gender);
    for (const std::string& one : { language, gender })
        if (!one.empty())
            settings.voiceQueries.push_back(one);
    return settings;
}

std::string SpeechMarkup(const SpeechSettings& settings, const std::string& text)
{
    if (!settings.hasRate && !settings.hasPitch)
        return text;
    std::string markup = Escaped(text);
    if (settings.hasPitch)
        markup = "<pitch absmiddle=\"" + std::to_string(settings.pitch) + "\">" + markup + "</pitch>";
    if (settings.hasRate)
        markup = "<rate absspeed=\"" + std::to_string(settings.rate) + "\">" + markup + "</rate>";
    return markup;
}
