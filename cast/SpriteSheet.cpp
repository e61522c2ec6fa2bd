#include "cast/SpriteSheet.h"
#include <algorithm>
#include <cmath>

namespace {

bool HasPixels(const CharacterImage& image)
{
    return image.present && image.width > 0 && image.height > 0 && image.pixels.size() >= image.Stride() * image.height;
}

// Copies the image, stored bottom row first with padded rows, to its place.
void Blit(const CharacterImage& image, const SpriteRect& place, SpriteSheet& sheet)
{
    const size_t stride = image.Stride();
    for (int row = 0; row < image.height; ++row) {
        const uint8_t* source = image.pixels.data() + (image.height - 1 - row) * stride;
        std::copy(source, source + image.width, sheet.pixels.begin() + size_t(place.y + row) * sheet.width + place.x);
    }
}

} // namespace

SpriteSheet PackSprites(const std::vector<CharacterImage>& images, uint8_t transparentIndex)
{
    SpriteSheet sheet;
    sheet.places.resize(images.size());
    std::vector<size_t> order;
    double area = 0;
    int widest = 1;
    for (size_t i = 0; i < images.size(); ++i) {
        if (!HasPixels(images[i]))
            continue;
        order.push_back(i);
        area += double(images[i].width) * images[i].height;
        widest = std::max<int>(widest, images[i].width);
    }
    // Rows of images of about one height waste the least.
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return images[a].height > images[b].height; });

    sheet.width = std::max(widest, int(std::ceil(std::sqrt(area))));
    int x = 0, y = 0, rowHeight = 0;
    for (size_t i : order) {
        const CharacterImage& image = images[i];
        if (x + image.width > sheet.width) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        sheet.places[i] = SpriteRect{ x, y, image.width, image.height };
        x += image.width;
        rowHeight = std::max<int>(rowHeight, image.height);
    }
    sheet.height = std::max(1, y + rowHeight);
    sheet.pixels.assign(size_t(sheet.width) * sheet.height, transparentIndex);
    for (size_t i : order)
        Blit(images[i], *sheet.places[i], sheet);
    return sheet;
}
