#include "controls/ButtonLayout.h"
#include <gtest/gtest.h>

namespace {
const DWORD Alignments[] = {
    BS_TOP | BS_LEFT, BS_TOP | BS_CENTER, BS_TOP | BS_RIGHT,
    BS_BOTTOM | BS_LEFT, BS_BOTTOM | BS_CENTER, BS_BOTTOM | BS_RIGHT,
    BS_VCENTER | BS_LEFT, BS_VCENTER | BS_CENTER, BS_VCENTER | BS_RIGHT, 0,
};

ButtonContent Content(SIZE image, SIZE caption)
{
    ButtonContent content;
    content.hasImage = image.cx > 0;
    content.image = image;
    content.hasCaption = caption.cx > 0;
    content.caption = caption;
    return content;
}

SIZE SizeOf(const RECT& rect)
{
    return { rect.right - rect.left, rect.bottom - rect.top };
}

bool Within(const RECT& part, SIZE button)
{
    return IsRectEmpty(&part) || (part.left >= 0 && part.top >= 0 && part.right <= button.cx && part.bottom <= button.cy);
}
}

TEST(ButtonLayoutTest, PartsStayInsideButtonsOfAnySize)
{
    const SIZE images[] = { { 0, 0 }, { 20, 16 }, { 48, 48 } };
    const SIZE captions[] = { { 0, 0 }, { 25, 13 }, { 140, 13 } };
    for (DWORD style : Alignments) {
        const ButtonAlignment alignment = AlignmentOf(style);
        for (const SIZE& image : images) {
            for (const SIZE& measured : captions) {
                for (LONG width = 0; width <= 90; width += 7) {
                    for (LONG height = 0; height <= 90; height += 7) {
                        const SIZE button = { width, height };
                        ButtonContent content = Content(image, measured);
                        if (content.hasCaption)
                            content.caption = CaptionForPlacement(
                                measured, CaptionSpace(button, 0, alignment, content), alignment, content.hasImage);
                        const ButtonParts parts = PlaceButtonParts(button, alignment, content);
                        SCOPED_TRACE(testing::Message() << "style " << std::hex << style << std::dec << ", button "
                                                        << width << " x " << height << ", image " << image.cx
                                                        << ", caption " << measured.cx);
                        EXPECT_TRUE(Within(parts.image, button));
                        EXPECT_TRUE(Within(parts.caption, button));
                        RECT overlap;
                        EXPECT_FALSE(IntersectRect(&overlap, &parts.image, &parts.caption));
                    }
                }
            }
        }
    }
}

TEST(ButtonLayoutTest, FittedSizeShowsImageAndCaptionWhole)
{
    const SIZE image = { 20, 16 };
    const SIZE captions[] = { { 1, 13 }, { 25, 13 }, { 140, 26 } };
    for (DWORD style : Alignments) {
        const ButtonAlignment alignment = AlignmentOf(style);
        for (const SIZE& measured : captions) {
            ButtonContent content = Content(image, measured);
            const SIZE fit = FitButtonSize(alignment, content);
            content.caption = CaptionForPlacement(measured, CaptionSpace(fit, 0, alignment, content), alignment, true);
            const ButtonParts parts = PlaceButtonParts(fit, alignment, content);
            SCOPED_TRACE(testing::Message() << "style " << std::hex << style << std::dec << ", caption " << measured.cx);
            EXPECT_EQ(image.cx, SizeOf(parts.image).cx);
            EXPECT_EQ(image.cy, SizeOf(parts.image).cy);
            EXPECT_EQ(measured.cx, SizeOf(parts.caption).cx);
            EXPECT_LE(measured.cy, SizeOf(parts.caption).cy);
        }
    }
}

TEST(ButtonLayoutTest, ImageGivesWayToTheCaptionWhenRoomRunsOut)
{
    // Side by side in a narrow button: the caption keeps its margins, the image goes.
    const ButtonParts narrow = PlaceButtonParts({ 40, 30 }, AlignmentOf(BS_VCENTER), Content({ 20, 16 }, { 60, 13 }));
    EXPECT_TRUE(IsRectEmpty(&narrow.image));
    EXPECT_EQ(7, narrow.caption.left);
    EXPECT_EQ(40 - 7, narrow.caption.right);

    // Stacked in a flat button: the caption keeps the height there is, the image goes.
    const ButtonParts flat = PlaceButtonParts({ 80, 12 }, AlignmentOf(BS_TOP), Content({ 20, 16 }, { 30, 13 }));
    EXPECT_TRUE(IsRectEmpty(&flat.image));
    EXPECT_EQ(12 - 6, SizeOf(flat.caption).cy);
}
