#include "controls/ButtonLayout.h"
#include <algorithm>

namespace {
// Margins around the image on each side, and around the caption.
const int ImagePad = 5;
const int TextPadX = 7;
const int TextPadY = 6;
// What the image takes from the caption's room beyond its own size.
const int StackedImageShare = 4;
const int SideImageShare = 3;

LONG AtLeastZero(LONG value)
{
    return std::max<LONG>(value, 0);
}

RECT PartRect(POINT origin, SIZE size)
{
    if (size.cx <= 0 || size.cy <= 0)
        return RECT{};
    return { origin.x, origin.y, origin.x + size.cx, origin.y + size.cy };
}

ButtonParts PlaceSideBySide(SIZE button, const ButtonAlignment& alignment, SIZE image, SIZE caption)
{
    const LONG W = button.cx;
    const LONG H = button.cy;
    SIZE block = { caption.cx + TextPadX, caption.cy + 2 * TextPadY };
    if (block.cx > W) {
        caption.cx = AtLeastZero(W - TextPadX);
        block.cx = W;
    }
    if (block.cy > H) {
        caption.cy = AtLeastZero(H - 2 * TextPadY);
        block.cy = H;
    }
    const LONG imageRoom = W - block.cx;
    if (imageRoom < image.cx + 2 * ImagePad)
        image.cx = AtLeastZero(imageRoom - 2 * ImagePad);
    if (image.cy + 2 * ImagePad > H)
        image.cy = AtLeastZero(H - 2 * ImagePad);
    if (image.cx == 0)
        caption.cx = AtLeastZero(block.cx - 2 * TextPadX);

    POINT imageAt;
    POINT captionAt;
    if (alignment.horizontal == BS_LEFT) {
        captionAt.x = TextPadX;
        imageAt.x = block.cx + ImagePad;
    } else {
        imageAt.x = ImagePad;
        captionAt.x = image.cx > 0 ? image.cx + 2 * ImagePad : TextPadX;
    }
    imageAt.y = (H - (image.cy + 2 * ImagePad)) / 2 + ImagePad;
    captionAt.y = (H - block.cy) / 2 + TextPadY;
    return { PartRect(imageAt, image), PartRect(captionAt, caption) };
}

ButtonParts PlaceStacked(SIZE button, const ButtonAlignment& alignment, const ButtonContent& content)
{
    const LONG W = button.cx;
    const LONG H = button.cy;
    SIZE image = content.hasImage ? content.image : SIZE{};
    SIZE caption = content.hasCaption ? content.caption : SIZE{};
    const LONG captionPadY = content.hasImage ? TextPadY : 2 * TextPadY;
    SIZE block = content.hasCaption ? SIZE{ caption.cx + 2 * TextPadX, caption.cy + captionPadY } : SIZE{};
    if (block.cy > H) {
        caption.cy = AtLeastZero(H - captionPadY);
        block.cy = H;
    }
    if (block.cx > W) {
        caption.cx = AtLeastZero(W - 2 * TextPadX);
        block.cx = W;
    }
    if (image.cx + 2 * ImagePad > W)
        image.cx = AtLeastZero(W - 2 * ImagePad);
    const LONG imageRoom = H - block.cy;
    if (content.hasImage && imageRoom < image.cy + 2 * ImagePad)
        image.cy = AtLeastZero(imageRoom - 2 * ImagePad);
    const SIZE imageBlock = content.hasImage ? SIZE{ image.cx + 2 * ImagePad, image.cy + 2 * ImagePad } : SIZE{};

    POINT imageAt;
    POINT captionAt;
    if (alignment.horizontal == BS_LEFT) {
        imageAt.x = ImagePad;
        captionAt.x = TextPadX;
    } else if (alignment.horizontal == BS_RIGHT) {
        imageAt.x = W - imageBlock.cx + ImagePad;
        captionAt.x = W - block.cx + TextPadX;
    } else {
        imageAt.x = (W - imageBlock.cx) / 2 + ImagePad;
        captionAt.x = (W - block.cx) / 2 + TextPadX;
    }
    if (alignment.vertical == BS_TOP) {
        imageAt.y = ImagePad;
        captionAt.y = content.hasImage ? imageBlock.cy : TextPadY;
    } else if (alignment.vertical == BS_BOTTOM) {
        // The caption stands above the image.
        imageAt.y = H - ImagePad - image.cy;
        captionAt.y = content.hasImage ? TextPadY : H - TextPadY - caption.cy;
    } else {
        const LONG top = (H - block.cy - imageBlock.cy) / 2;
        imageAt.y = top + ImagePad;
        captionAt.y = content.hasImage ? top + imageBlock.cy : top + TextPadY;
    }
    return { PartRect(imageAt, image), PartRect(captionAt, caption) };
}
}

ButtonAlignment AlignmentOf(DWORD style)
{
    ButtonAlignment alignment;
    const DWORD horizontal = style & BS_CENTER;
    const DWORD vertical = style & BS_VCENTER;
    alignment.horizontal = horizontal == 0 ? BS_CENTER : horizontal;
    alignment.vertical = vertical == 0 ? BS_VCENTER : vertical;
    alignment.multiLine = (style & BS_MULTILINE) != 0;
    return alignment;
}

SIZE CaptionSpace(SIZE button, int arrowArea, const ButtonAlignment& alignment, const ButtonContent& content)
{
    SIZE space = { button.cx - arrowArea - 2 * TextPadX, button.cy - 2 * TextPadY };
    if (content.hasImage) {
        if (alignment.SideBySide())
            space.cx -= content.image.cx + SideImageShare;
        else
            space.cy -= content.image.cy + StackedImageShare;
    }
    return { AtLeastZero(space.cx), AtLeastZero(space.cy) };
}

SIZE CaptionForPlacement(SIZE measured, SIZE space, const ButtonAlignment& alignment, bool hasImage)
{
    if (!hasImage)
        return measured;
    if (alignment.SideBySide())
        return { space.cx, std::min(measured.cy, space.cy) };
    return { std::min(measured.cx, space.cx), space.cy };
}

ButtonParts PlaceButtonParts(SIZE button, const ButtonAlignment& alignment, const ButtonContent& content)
{
    if (alignment.SideBySide() && content.hasImage && content.hasCaption)
        return PlaceSideBySide(button, alignment, content.image, content.caption);
    return PlaceStacked(button, alignment, content);
}

SIZE FitButtonSize(const ButtonAlignment& alignment, const ButtonContent& content)
{
    const SIZE image = { content.image.cx + 2 * ImagePad, content.image.cy + 2 * ImagePad };
    SIZE fit = {};
    if (alignment.SideBySide() && content.hasImage && content.hasCaption) {
        fit.cx = image.cx + content.caption.cx + TextPadX;
        fit.cy = std::max(image.cy, content.caption.cy + 2 * TextPadY);
    } else {
        if (content.hasImage)
            fit.cx = image.cx;
        if (content.hasCaption)
            fit.cx = std::max(fit.cx, content.caption.cx + 2 * TextPadX);
        if (content.hasImage)
            fit.cy = image.cy;
        if (content.hasCaption)
            fit.cy += content.caption.cy + (content.hasImage ? TextPadY : 2 * TextPadY);
    }
    if (fit.cx == 0)
        fit.cx = 2 * TextPadX;
    if (fit.cy == 0)
        fit.cy = 2 * TextPadY;
    return fit;
}
