// The nine character files as the build wrote them, read back the way the stage reads them.
#include "cast/CharacterBuilder.h"
#include "cast/art/Cast.h"
#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include "stage/FrameComposer.h"
#include "stage/ImageRegion.h"
#include "tests/stage/AcsLayout.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace {

// The program's character names, in its order.
const char* const kNames[] = { "Tolvan", "Mirelle", "Grumbold", "Merlin", "Peedy",
                               "Genie",  "Robby",   "Yulebard", "Crookbeak" };

// The animations the program, its templates and its tour play by name.
const char* const kNeededAnimations[] = {
    "Wave",     "GetAttention", "Explain",     "Surprised",   "Process",     "Sad",          "DoMagic1",
    "DoMagic2", "Congratulate_2", "Read",      "Greet",       "Pleased",     "Think",        "Announce",
    "Acknowledge", "Confused",  "Decline",     "Suggest",     "Uncertain",   "Blink",        "LookLeft",
    "LookRight", "LookUp",      "LookDown",    "GestureLeft", "GestureRight", "GestureUp",   "GestureDown",
    "RestPose",
};

// The states the stage plays on its own.
const char* const kStageStates[] = { "Showing",  "Hiding",     "Speaking",  "MovingLeft",
                                     "MovingRight", "MovingUp", "MovingDown", "IdlingLevel1" };

std::string CastFile(const std::string& name)
{
    return std::string(CAST_DIR) + "/" + name + ".ACS";
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CastFileTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(ReadCharacterFile(CastFile(GetParam()), character, error)) << error;
    }

    CharacterData character;
};

TEST_P(CastFileTest, NamesItselfAndHasAPaletteBalloonAndFrameSize)
{
    const CharacterInfo& info = character.info;
    ASSERT_FALSE(info.localized.empty());
    EXPECT_EQ(GetParam(), info.localized[0].name);
    EXPECT_FALSE(info.localized[0].description.empty());
    EXPECT_GE(info.width, 128);
    EXPECT_GE(info.height, 128);
    EXPECT_LE(info.palette.size(), 256u);
    EXPECT_LT(info.transparentIndex, info.palette.size());
    EXPECT_TRUE(info.flags & kCharacterBalloonEnabled);
    EXPECT_FALSE(info.balloon.fontName.empty());
    EXPECT_NE(info.balloon.foreground, info.balloon.background);
}

TEST_P(CastFileTest, EveryNeededAnimationIsARealMotion)
{
    for (const char* name : kNeededAnimations) {
        const CharacterAnimation* animation = character.FindAnimation(name);
        ASSERT_NE(nullptr, animation) << name;
        EXPECT_EQ(name, animation->name) << "spelt as the program spells it";
        ASSERT_GE(animation->frames.size(), 2u) << name;
        bool moves = false;
        for (const CharacterFrame& frame : animation->frames) {
            EXPECT_GT(frame.duration, 0) << name;
            moves = moves || frame.images != animation->frames.front().images;
        }
        EXPECT_TRUE(moves) << name << " shows one picture all along";
    }
}

TEST_P(CastFileTest, StatesTheStagePlaysNameAnimationsOfTheCharacter)
{
    for (const char* state : kStageStates) {
        const auto found = std::find_if(character.info.states.begin(), character.info.states.end(),
                                        [&](const CharacterState& s) { return s.name == state; });
        ASSERT_NE(character.info.states.end(), found) << state;
        ASSERT_FALSE(found->animations.empty()) << state;
        for (const std::string& animation : found->animations) {
            const CharacterAnimation* played = character.FindAnimation(animation);
            ASSERT_NE(nullptr, played) << state << ": " << animation;
            EXPECT_GE(played->frames.size(), 2u) << animation;
        }
    }
    // Several idle animations, at least one of which loops until it is asked to stop.
    bool loops = false;
    size_t idles = 0;
    for (const CharacterState& state : character.info.states) {
        if (state.name.compare(0, 6, "Idling") != 0)
            continue;
        for (const std::string& name : state.animations) {
            ++idles;
            for (const CharacterFrame& frame : character.FindAnimation(name)->frames)
                loops = loops || !frame.branches.empty();
        }
    }
    EXPECT_GE(idles, 3u);
    EXPECT_TRUE(loops);
}

TEST_P(CastFileTest, FramesImagesAndOverlaysStayInsideTheFrame)
{
    const int width = character.info.width, height = character.info.height;
    auto inside = [&](uint32_t index, int x, int y) {
        if (index >= character.images.size())
            return false;
        const CharacterImage& image = character.images[index];
        return x >= 0 && y >= 0 && x + image.width <= width && y + image.height <= height;
    };
    for (const CharacterAnimation& animation : character.animations) {
        for (const CharacterFrame& frame : animation.frames) {
            for (const FrameImage& image : frame.images)
                EXPECT_TRUE(inside(image.image, image.x, image.y)) << animation.name;
            for (const MouthOverlay& overlay : frame.overlays)
                EXPECT_TRUE(inside(overlay.image, overlay.x, overlay.y)) << animation.name;
            unsigned chance = 0;
            for (const FrameBranch& branch : frame.branches) {
                EXPECT_LT(branch.frame, animation.frames.size()) << animation.name;
                chance += branch.probability;
            }
            EXPECT_LE(chance, 100u) << animation.name;
            EXPECT_LT(frame.exitFrame, int32_t(animation.frames.size())) << animation.name;
        }
    }
}

// The pieces a colour makes in a frame: 8-connected runs of its pixels, top first.
struct Piece {
    size_t pixels = 0;
    int top = 0;
    bool onBorder = false;
};

std::vector<Piece> PiecesOf(uint32_t colour, const std::vector<uint32_t>& frame, int width, int height)
{
    const auto is = [&](size_t at) { return frame[at] >> 24 && (frame[at] & 0xFFFFFF) == colour; };
    std::vector<bool> seen(frame.size());
    std::vector<Piece> pieces;
    for (size_t start = 0; start < frame.size(); ++start) {
        if (seen[start] || !is(start))
            continue;
        Piece piece{ 0, int(start / width), false };
        std::vector<size_t> open{ start };
        seen[start] = true;
        while (!open.empty()) {
            const size_t at = open.back();
            open.pop_back();
            ++piece.pixels;
            const int x = int(at % width), y = int(at / width);
            piece.onBorder = piece.onBorder || x == 0 || y == 0 || x == width - 1 || y == height - 1;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    const size_t next = size_t(ny) * width + nx;
                    if (nx >= 0 && ny >= 0 && nx < width && ny < height && !seen[next] && is(next)) {
                        seen[next] = true;
                        open.push_back(next);
                    }
                }
        }
        pieces.push_back(piece);
    }
    return pieces;
}

TEST_P(CastFileTest, TalksWithEveryOpenMouthWhereverAnAnimationLeavesIt)
{
    // The stage talks over the frame the character stands in; every animation but
    // Hide leaves the character in a frame with the open mouth shapes.
    for (const CharacterAnimation& animation : character.animations) {
        if (animation.name == "Hide" || animation.name.compare(0, 4, "Move") == 0)
            continue;
        std::set<int> mouths;
        for (const MouthOverlay& overlay : animation.frames.back().overlays)
            mouths.insert(overlay.mouth);
        for (int mouth = kMouthWide1; mouth <= kMouthNarrow; ++mouth)
            EXPECT_EQ(1u, mouths.count(mouth)) << animation.name << " lacks mouth " << mouth;
    }
    const CharacterFrame& rest = character.FindAnimation("RestPose")->frames.front();
    std::set<uint16_t> shapes;
    for (const MouthOverlay& overlay : rest.overlays)
        shapes.insert(overlay.image);
    EXPECT_EQ(rest.overlays.size(), shapes.size()) << "two mouth shapes look the same";
}

TEST_P(CastFileTest, CompilingAgainGivesTheSameBytesWhichReadBackAsTheSameCharacter)
{
    for (const auto& figure : MakeCast()) {
        if (figure->Info().name != GetParam())
            continue;
        const CharacterData built = BuildCharacter(*figure);
        std::string error;
        const std::vector<uint8_t> again = WriteCharacter(built, &error);
        ASSERT_FALSE(again.empty()) << error;
        EXPECT_TRUE(again == FileBytes(CastFile(GetParam()))) << "the build's file differs from a new compile";
        CharacterData read;
        ASSERT_TRUE(ReadCharacter(again.data(), again.size(), read, error)) << error;
        EXPECT_TRUE(read == built);
        return;
    }
    FAIL() << "no figure is called " << GetParam();
}

TEST_P(CastFileTest, HasTheLayoutOfRealCharacterFiles)
{
    const std::vector<uint8_t> file = FileBytes(CastFile(GetParam()));
    const AcsLayout layout = ReadAcsLayout(file);
    EXPECT_TRUE(layout.problems.empty()) << testing::PrintToString(layout.problems);
    EXPECT_EQ(SwapRedAndBlue(character.info.balloon.background), layout.balloonColors[1]);

    // Each image's region is its outline, and each mouth is sized as its image.
    for (const CharacterImage& image : character.images)
        ASSERT_TRUE(image.region == MakeImageRegion(image, character.info.transparentIndex));
    for (const CharacterAnimation& animation : character.animations)
        for (const CharacterFrame& frame : animation.frames)
            for (const MouthOverlay& overlay : frame.overlays) {
                EXPECT_EQ(character.images[overlay.image].width, overlay.width) << animation.name;
                EXPECT_EQ(character.images[overlay.image].height, overlay.height) << animation.name;
            }
}

INSTANTIATE_TEST_SUITE_P(Cast, CastFileTest, testing::ValuesIn(kNames));

TEST(CastTest, NineDistinctCharactersInTheProgramsOrderWithinTheSizeBudget)
{
    std::vector<std::string> names;
    for (const auto& figure : MakeCast())
        names.push_back(figure->Info().name);
    EXPECT_EQ(std::vector<std::string>(std::begin(kNames), std::end(kNames)), names);

    size_t total = 0;
    std::vector<CharacterImage> rests;
    for (const char* name : kNames) {
        total += FileBytes(CastFile(name)).size();
        CharacterData character;
        std::string error;
        ASSERT_TRUE(ReadCharacterFile(CastFile(name), character, error)) << error;
        const CharacterFrame& rest = character.FindAnimation("RestPose")->frames.front();
        ASSERT_FALSE(rest.images.empty()) << name;
        rests.push_back(character.images[rest.images.back().image]);
    }
    for (size_t a = 0; a < rests.size(); ++a)
        for (size_t b = a + 1; b < rests.size(); ++b)
            EXPECT_FALSE(rests[a] == rests[b]) << kNames[a] << " looks like " << kNames[b];
    EXPECT_LT(total, 5u << 20);
}

} // namespace

// Merlin's hat reaches highest: once the mark's bar left the frame over it, and its dot
// floated alone above him.
TEST(CastTest, MerlinsExclamationMarkIsSeenWholeInsideTheFrame)
{
    CharacterData character;
    std::string error;
    ASSERT_TRUE(ReadCharacterFile(CastFile("Merlin"), character, error)) << error;
    const uint32_t exclaimInk = 0xE8453C;
    FrameComposer composer(character);
    const int width = composer.Width(), height = composer.Height();
    std::vector<uint32_t> pixels(size_t(width) * height);
    size_t marks = 0;
    for (const std::string name : { "GetAttention", "Surprised" }) {
        const CharacterAnimation* animation = character.FindAnimation(name);
        ASSERT_NE(nullptr, animation) << name;
        for (size_t i = 0; i < animation->frames.size(); ++i) {
            composer.Compose(&animation->frames[i], kNoMouth, pixels.data());
            const std::vector<Piece> pieces = PiecesOf(exclaimInk, pixels, width, height);
            if (pieces.empty())
                continue;
            ++marks;
            ASSERT_EQ(2u, pieces.size()) << name << " frame " << i << ": the bar and the dot";
            EXPECT_GT(pieces[0].pixels, 2 * pieces[1].pixels) << name << " frame " << i << ": the bar over the dot";
            EXPECT_FALSE(pieces[0].onBorder || pieces[1].onBorder) << name << " frame " << i;
        }
    }
    EXPECT_GT(marks, 0u);
}
