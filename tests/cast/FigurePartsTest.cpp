// The parts figures are drawn from: faces that follow the pose, arms that put the hands
// where they say, props held where the hands are.
#include "Drawing.h"
#include "cast/FigureKit.h"
#include <gtest/gtest.h>

namespace {

const Point kCentre{ 32, 32 };

// Two eyes drawn in the pose on a 64-pixel square.
Drawing Eyes(const Pose& pose)
{
    Drawing drawing(64, 64);
    EyeStyle style;
    style.lid = kGoldInk;
    DrawEyes(drawing.Canvas(), kCentre, pose, style);
    drawing.Resolve();
    return drawing;
}

Drawing MouthDrawing(Mouth mouth)
{
    Drawing drawing(64, 64);
    DrawMouth(drawing.Canvas(), kCentre, 16, mouth);
    drawing.Resolve();
    return drawing;
}

TEST(FacesTest, EyesLookBlinkWidenAndSmileAsThePoseSays)
{
    Pose pose;
    const Drawing open = Eyes(pose);
    ASSERT_GT(open.Count(kPupilInk), 0);
    pose.lookX = -1;
    EXPECT_LT(Eyes(pose).Middle(kPupilInk).x, open.Middle(kPupilInk).x - 1.5);
    pose.lookX = 0;
    pose.lookY = 1;
    EXPECT_GT(Eyes(pose).Middle(kPupilInk).y, open.Middle(kPupilInk).y + 1.5);
    pose.lookY = 0;

    pose.lid = 0.5;
    const Drawing half = Eyes(pose);
    EXPECT_GT(half.Count(kGoldInk), 0);
    EXPECT_LT(half.Count(kWhiteInk), open.Count(kWhiteInk));
    pose.lid = 1;
    const Drawing shut = Eyes(pose);
    EXPECT_EQ(0, shut.Count(kPupilInk));
    EXPECT_EQ(0, shut.Count(kWhiteInk));
    pose.lid = 0;

    pose.eyes = Eyes::Wide;
    EXPECT_GT(Eyes(pose).Count(kWhiteInk), open.Count(kWhiteInk));
    pose.eyes = Eyes::Happy;
    EXPECT_EQ(0, Eyes(pose).Count(kWhiteInk));
    pose.eyes = Eyes::Sleepy;
    EXPECT_GT(Eyes(pose).Count(kGoldInk), 0);
}

TEST(FacesTest, EveryMouthShapeLooksItsOwnAndOpensWider)
{
    std::vector<Picture> shapes;
    for (int mouth = int(Mouth::Closed); mouth <= int(Mouth::Wavy); ++mouth)
        shapes.push_back(MouthDrawing(Mouth(mouth)).Resolve());
    for (size_t a = 0; a < shapes.size(); ++a) {
        EXPECT_FALSE(shapes[a].Bounds().Empty()) << a;
        for (size_t b = a + 1; b < shapes.size(); ++b) {
            // A closed mouth is the resting smile, so that talking starts from the face at rest.
            const bool restingPair = a == size_t(Mouth::Closed) && b == size_t(Mouth::Smile);
            EXPECT_EQ(restingPair, shapes[a].pixels == shapes[b].pixels) << a << " and " << b;
        }
    }
    int inside = 0;
    for (Mouth wide : { Mouth::Wide1, Mouth::Wide2, Mouth::Wide3, Mouth::Wide4 }) {
        const Drawing drawing = MouthDrawing(wide);
        const int now = drawing.Count(kMouthInk) + drawing.Count(kTongueInk) + drawing.Count(kWhiteInk);
        EXPECT_GT(now, inside) << int(wide);
        inside = now;
    }
    EXPECT_LT(MouthOpening(Mouth::Narrow), MouthOpening(Mouth::Medium));
    EXPECT_EQ(0, MouthOpening(Mouth::Smile));
}

TEST(FacesTest, TearsRunFurtherAsTheyGrow)
{
    Drawing none(64, 64), some(64, 64), more(64, 64);
    DrawTear(none.Canvas(), kCentre, 0);
    DrawTear(some.Canvas(), kCentre, 0.3);
    DrawTear(more.Canvas(), kCentre, 1);
    EXPECT_TRUE(none.Resolve().Bounds().Empty());
    some.Resolve();
    more.Resolve();
    EXPECT_GT(some.Where(kTearInk).top, kCentre.y);
    EXPECT_GT(more.Where(kTearInk).bottom, some.Where(kTearInk).bottom);
}

TEST(LimbsTest, HandsHangRiseAndMirrorAsTheArmTurns)
{
    ArmStyle style;
    const Point shoulder{ 40, 20 };
    const double reach = style.upper + style.lower + style.handRadius * 0.7;
    const Point down = HandPosition(shoulder, Arm{}, 1, style);
    EXPECT_NEAR(shoulder.x, down.x, 1e-9);
    EXPECT_NEAR(shoulder.y + reach, down.y, 1e-9);

    Arm out;
    out.raise = 90;
    const Point right = HandPosition(shoulder, out, 1, style);
    const Point left = HandPosition(shoulder, out, -1, style);
    EXPECT_NEAR(shoulder.x + reach, right.x, 1e-9);
    EXPECT_NEAR(shoulder.y, right.y, 1e-9);
    EXPECT_NEAR(shoulder.x - reach, left.x, 1e-9);

    // Bent back on itself, the hand comes home to the shoulder.
    Arm folded;
    folded.bend = 180;
    style.lower = style.upper - style.handRadius * 0.7;
    const Point home = HandPosition(shoulder, folded, 1, style);
    EXPECT_NEAR(shoulder.x, home.x, 1e-9);
    EXPECT_NEAR(shoulder.y, home.y, 1e-9);
}

class ArmsTest : public testing::Test {
protected:
    // Draws the arms from shoulders either side of (64, 50), placed by a transform.
    Anchors Draw(const Pose& pose, Ink stick)
    {
        Raster& raster = drawing.Canvas();
        raster.Push();
        raster.Translate(64, 50);
        Anchors anchors;
        DrawArms(raster, pose, { -10, 0 }, { 10, 0 }, style, stick, anchors);
        raster.Pop();
        drawing.Resolve();
        return anchors;
    }

    Drawing drawing;
    ArmStyle style;
};

TEST_F(ArmsTest, AnchorsAreWhereTheHandsAndTheWandsTipAre)
{
    Pose pose;
    pose.right.raise = 150;
    pose.held = Held::Wand;
    const Anchors anchors = Draw(pose, kBookInk);
    const Point left = HandPosition({ 54, 50 }, pose.left, -1, style);
    const Point right = HandPosition({ 74, 50 }, pose.right, 1, style);
    EXPECT_NEAR(left.x, anchors.hands[0].x, 1e-9);
    EXPECT_NEAR(left.y, anchors.hands[0].y, 1e-9);
    EXPECT_NEAR(right.x, anchors.hands[1].x, 1e-9);
    EXPECT_NEAR(right.y, anchors.hands[1].y, 1e-9);
    // The wand points on from the raised hand, its star at the tip.
    EXPECT_LT(anchors.magic.y, right.y - 10);
    EXPECT_GT(drawing.Count(kBookInk), 0);
    const Box star = drawing.Where(kGoldInk);
    EXPECT_TRUE(star.left <= anchors.magic.x && anchors.magic.x <= star.right);
    EXPECT_TRUE(star.top <= anchors.magic.y && anchors.magic.y <= star.bottom);
}

TEST_F(ArmsTest, WithoutAWandTheMagicComesFromTheHand)
{
    Pose pose;
    pose.held = Held::Wand;
    const Anchors anchors = Draw(pose, kClearInk);
    EXPECT_NEAR(anchors.hands[1].x, anchors.magic.x, 1e-9);
    EXPECT_NEAR(anchors.hands[1].y, anchors.magic.y, 1e-9);
    EXPECT_EQ(0, drawing.Count(kGoldInk));
}

TEST_F(ArmsTest, ABookIsHeldInFrontWithTheHandsOverItsEdge)
{
    Pose pose;
    pose.held = Held::Book;
    pose.left.raise = pose.right.raise = 40;
    pose.left.bend = pose.right.bend = -80;
    style.sleeve = kBlueInk;
    style.hand = kPinkInk;
    const Anchors anchors = Draw(pose, kClearInk);
    ASSERT_GT(Length(anchors.hands[1] - anchors.hands[0]), 2 * style.handRadius + 2);
    const Point middle = Mix(anchors.hands[0], anchors.hands[1], 0.5);
    // The pages cover the arms; the hands are on top of the pages.
    EXPECT_EQ(kPaperInk, drawing.At(int(middle.x) + 6, int(middle.y) - 10));
    EXPECT_EQ(kPinkInk, drawing.At(int(anchors.hands[0].x), int(anchors.hands[0].y)));
    EXPECT_EQ(kPinkInk, drawing.At(int(anchors.hands[1].x), int(anchors.hands[1].y)));
}

} // namespace
