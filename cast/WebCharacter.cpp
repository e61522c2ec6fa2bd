#include "cast/WebCharacter.h"
#include "cast/JsonWriter.h"
#include "cast/LanguageTag.h"
#include "cast/PngFile.h"
#include "cast/SheetPlan.h"
#include "cast/SpriteSheet.h"
#include "cast/WaveSound.h"
#include "stage/CharacterVoice.h"
#include <cstdio>

namespace {

const int kDefaultFontSize = 13;

std::string CssColor(CharacterColor color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", unsigned(color & 0xFFFFFF));
    return text;
}

void WriteBalloon(JsonWriter& json, const CharacterBalloon& balloon)
{
    json.BeginObject();
    json.Key("lines");
    json.Number(balloon.lines);
    json.Key("charsPerLine");
    json.Number(balloon.charsPerLine);
    json.Key("foreground");
    json.String(CssColor(balloon.foreground));
    json.Key("background");
    json.String(CssColor(balloon.background));
    json.Key("border");
    json.String(CssColor(balloon.border));
    json.Key("font");
    json.String(balloon.fontName);
    // A negative height is the characters' own height, which is what CSS sizes; a
    // positive one includes the line's spacing, near enough the same for a balloon.
    json.Key("fontSize");
    json.Number(balloon.fontHeight < 0 ? -int64_t(balloon.fontHeight)
                                       : balloon.fontHeight > 0 ? balloon.fontHeight : kDefaultFontSize);
    json.Key("fontWeight");
    json.Number(balloon.fontWeight);
    json.Key("italic");
    json.Bool(balloon.italic);
    json.EndObject();
}

// Only what a page's speech can use; a block that does not decode is left out.
void WriteVoice(JsonWriter& json, const std::vector<uint8_t>& block)
{
    CharacterVoice voice;
    std::string error;
    if (block.empty() || !DecodeCharacterVoice(block, voice, error))
        return;
    const std::string language = voice.described ? LanguageTag(voice.languageId) : "";
    const char* gender = !voice.described ? nullptr
                         : voice.gender == kVoiceGenderFemale ? "female"
                         : voice.gender == kVoiceGenderMale   ? "male"
                                                              : nullptr;
    json.Key("voice");
    json.BeginObject();
    // Next to a normal voice, as a page's speech takes them.
    if (voice.speed > 0) {
        json.Key("rate");
        json.Decimal(RelativeVoiceSpeed(voice), 3);
    }
    if (voice.pitch > 0) {
        json.Key("pitch");
        json.Decimal(RelativeVoicePitch(voice), 3);
    }
    if (!language.empty()) {
        json.Key("language");
        json.String(language);
    }
    if (gender) {
        json.Key("gender");
        json.String(gender);
    }
    json.EndObject();
}

void WriteNumbers(JsonWriter& json, std::initializer_list<int64_t> numbers)
{
    json.BeginArray();
    for (int64_t number : numbers)
        json.Number(number);
    json.EndArray();
}

void WriteFrame(JsonWriter& json, const CharacterFrame& frame, const std::vector<std::vector<uint8_t>>& sounds)
{
    json.BeginObject();
    json.Key("duration");
    json.Number(int64_t(frame.duration) * 10);
    if (!frame.images.empty()) {
        json.Key("images");
        json.BeginArray();
        for (const FrameImage& image : frame.images)
            WriteNumbers(json, { image.image, image.x, image.y });
        json.EndArray();
    }
    if (frame.exitFrame >= 0) {
        json.Key("exit");
        json.Number(frame.exitFrame);
    }
    if (!frame.branches.empty()) {
        json.Key("branches");
        json.BeginArray();
        for (const FrameBranch& branch : frame.branches)
            WriteNumbers(json, { branch.frame, branch.probability });
        json.EndArray();
    }
    if (frame.audio >= 0 && size_t(frame.audio) < sounds.size() && !sounds[size_t(frame.audio)].empty()) {
        json.Key("sound");
        json.Number(frame.audio);
    }
    if (!frame.overlays.empty()) {
        json.Key("mouths");
        json.BeginArray();
        for (const MouthOverlay& overlay : frame.overlays)
            WriteNumbers(json, { overlay.mouth, overlay.image, overlay.x, overlay.y, overlay.replaceTopImage ? 1 : 0 });
        json.EndArray();
    }
    json.EndObject();
}

void WriteAnimation(JsonWriter& json, const CharacterAnimation& animation, const std::vector<std::vector<uint8_t>>& sounds)
{
    json.BeginObject();
    json.Key("name");
    json.String(animation.name);
    if (animation.transition == kTransitionReturnAnimation && !animation.returnAnimation.empty()) {
        json.Key("return");
        json.String(animation.returnAnimation);
    }
    json.Key("frames");
    json.BeginArray();
    for (const CharacterFrame& frame : animation.frames)
        WriteFrame(json, frame, sounds);
    json.EndArray();
    json.EndObject();
}

// Where an image lies: on which sheet, and where on it.
struct ImagePlace {
    int sheet = 0;
    SpriteRect rect;
};

std::string Describe(const CharacterData& character, const std::string& name, int sheets,
                     const std::vector<std::optional<ImagePlace>>& places, const std::vector<std::vector<uint8_t>>& sounds)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("name");
    json.String(name);
    json.Key("width");
    json.Number(character.info.width);
    json.Key("height");
    json.Number(character.info.height);
    json.Key("balloon");
    WriteBalloon(json, character.info.balloon);
    WriteVoice(json, character.info.voice);
    json.Key("sheets");
    json.Number(sheets);
    json.Key("images");
    json.BeginArray();
    for (const auto& place : places) {
        if (!place)
            json.Null();
        else if (place->sheet == 0)
            WriteNumbers(json, { place->rect.x, place->rect.y, place->rect.width, place->rect.height });
        else
            WriteNumbers(json, { place->rect.x, place->rect.y, place->rect.width, place->rect.height, place->sheet });
    }
    json.EndArray();
    json.Key("states");
    json.BeginArray();
    for (const CharacterState& state : character.info.states) {
        json.BeginObject();
        json.Key("name");
        json.String(state.name);
        json.Key("animations");
        json.BeginArray();
        for (const std::string& animation : state.animations)
            json.String(animation);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("animations");
    json.BeginArray();
    for (const CharacterAnimation& animation : character.animations)
        WriteAnimation(json, animation, sounds);
    json.EndArray();
    json.EndObject();
    return json.Text() + "\n";
}

} // namespace

WebCharacter MakeWebCharacter(const CharacterData& character, const std::string& name)
{
    const SheetPlan plan = PlanSheets(character);
    WebCharacter web;
    std::vector<std::optional<ImagePlace>> places(character.images.size());
    CharacterImage absent;
    absent.present = false;
    for (int index = 0; index < plan.sheetCount; ++index) {
        std::vector<CharacterImage> images(character.images.size(), absent);
        for (size_t i = 0; i < images.size(); ++i)
            if (plan.sheetOf[i] == index)
                images[i] = character.images[i];
        const SpriteSheet sheet = PackSprites(images, character.info.transparentIndex);
        for (size_t i = 0; i < images.size(); ++i)
            if (sheet.places[i])
                places[i] = ImagePlace{ index, *sheet.places[i] };
        web.sheets.push_back(EncodeIndexedPng(sheet.width, sheet.height, sheet.pixels, character.info.palette,
                                              character.info.transparentIndex));
    }
    for (const std::vector<uint8_t>& sound : character.audio)
        web.sounds.push_back(IsPlayableWave(sound) ? sound : std::vector<uint8_t>());
    web.description = Describe(character, name, plan.sheetCount, places, web.sounds);
    return web;
}
