// A made-up figure built into a character: what the builder makes of any figure.
#include "cast/CharacterBuilder.h"
#include "cast/Choreography.h"
#include "cast/FigureKit.h"
#include <gtest/gtest.h>

namespace {

// A round body with a face and arms: just enough to show every pose.
class Ball : public Figure {
public:
    explicit Ball(const std::string& name) : Figure(BallInfo(name)) {}

private:
    static FigureInfo BallInfo(const std::string& name)
    {
        FigureInfo info;
        info.name = name;
        info.description = "A test ball";
        info.balloon = CastBalloon(0x000000, 0xFFFFFF, 0x808080);
        info.inks = { 0x40C0C0 };
        return info;
    }

    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        raster.Ellipse({ 0, -30 }, 22, 28, kFirstFigureInk);
        DrawEyes(raster, { 0, -40 }, pose, EyeStyle());
        DrawMouth(raster, { 0, -22 }, 12, pose.mouth);
        anchors.headCentre = raster.Map({ 0, -34 });
        anchors.headRadius = raster.MapLength(22);
        anchors.top = raster.Map({ 0, -58 });
        DrawArms(raster, pose, { -20, -36 }, { 20, -36 }, ArmStyle(), kBookInk, anchors);
    }
};

class CharacterBuilderTest : public testing::Test {
protected:
    const CharacterFrame& Frame(const std::string& animation, size_t index) const
    {
        const CharacterAnimation* found = ball.FindAnimation(animation);
        if (!found || index >= found->frames.size())
            throw std::runtime_error("no frame " + std::to_string(index) + " of " + animation);
        return found->frames[index];
    }

    CharacterData ball = BuildCharacter(Ball("Ball"));
};

TEST_F(CharacterBuilderTest, DescribesTheFigureWithItsPaletteStatesAndActs)
{
    const Ball figure("Ball");
    EXPECT_EQ("Ball", ball.info.localized.at(0).name);
    EXPECT_EQ("A test ball", ball.info.localized.at(0).description);
    EXPECT_EQ(InkPalette(figure.PaletteInks()).Colors(), ball.info.palette);
    EXPECT_EQ(0, ball.info.transparentIndex);
    EXPECT_EQ(figure.Info().balloon, ball.info.balloon);
    EXPECT_TRUE(ball.info.flags & kCharacterBalloonEnabled);
    EXPECT_EQ(CastStates(), ball.info.states);
    const std::vector<Act> acts = CastActs();
    ASSERT_EQ(acts.size(), ball.animations.size());
    for (size_t i = 0; i < acts.size(); ++i) {
        EXPECT_EQ(acts[i].name, ball.animations[i].name);
        EXPECT_EQ(acts[i].beats.size(), ball.animations[i].frames.size());
        EXPECT_EQ(acts[i].transition, ball.animations[i].transition);
    }
    // The identity comes from the name alone.
    EXPECT_TRUE(std::equal(ball.info.guid, ball.info.guid + 16, BuildCharacter(Ball("Ball")).info.guid));
    EXPECT_FALSE(std::equal(ball.info.guid, ball.info.guid + 16, BuildCharacter(Ball("Bell")).info.guid));
}

TEST_F(CharacterBuilderTest, KeepsEachPictureOnceAndEffectsOnTheirOwnLayer)
{
    // Rest, breath, rest: two pictures, the first one used twice.
    EXPECT_EQ(Frame("RestPose", 0).images, Frame("RestPose", 2).images);
    EXPECT_NE(Frame("RestPose", 0).images, Frame("RestPose", 1).images);
    ASSERT_EQ(1u, Frame("RestPose", 0).images.size());
    // Every act that comes back to rest shows the same picture there.
    EXPECT_EQ(Frame("RestPose", 0).images, ball.FindAnimation("Wave")->frames.back().images);

    // Confetti is drawn over the figure as an image of its own; the figure under it
    // is a picture the act shows with and without confetti alike.
    const CharacterFrame& clap = Frame("Congratulate_2", 3);
    ASSERT_EQ(2u, clap.images.size());
    EXPECT_NE(clap.images[0].image, Frame("Congratulate_2", 5).images[0].image);
    EXPECT_EQ(clap.images[1], Frame("Congratulate_2", 5).images[1]);

    for (const CharacterImage& image : ball.images)
        EXPECT_EQ(image.Stride() * image.height, image.pixels.size());
}

TEST_F(CharacterBuilderTest, MouthOverlaysCoverJustTheMouthWhereTheFigureTalks)
{
    const CharacterFrame& rest = Frame("RestPose", 0);
    ASSERT_EQ(6u, rest.overlays.size()) << "the closed mouth is the resting smile and needs none";
    for (const MouthOverlay& overlay : rest.overlays) {
        EXPECT_NE(kMouthClosed, overlay.mouth);
        EXPECT_FALSE(overlay.replaceTopImage);
        const CharacterImage& image = ball.images.at(overlay.image);
        EXPECT_EQ(image.width, overlay.width);
        EXPECT_EQ(image.height, overlay.height);
        // Round the mouth at (64, 102) in the frame, much smaller than the figure.
        EXPECT_LT(image.width, 20);
        EXPECT_LE(overlay.x, 64);
        EXPECT_GE(overlay.x + image.width, 64);
        EXPECT_LE(overlay.y, 104);
        EXPECT_GE(overlay.y + image.height, 102);
    }
    EXPECT_TRUE(Frame("Wave", 4).overlays.empty()) << "no talking in the middle of a wave";
}

} // namespace
