#pragma once
#include "cast/Geometry.h"
#include "cast/Pose.h"
#include "cast/Raster.h"
#include "stage/CharacterData.h"
#include <string>
#include <vector>

// What a character is apart from its drawing.
struct FigureInfo {
    std::string name;
    std::string description;
    CharacterBalloon balloon;
    CharacterColor outline = 0x1E1E2C;
    // The figure's own inks, numbered from kFirstFigureInk.
    std::vector<CharacterColor> inks;
    uint16_t width = 128;
    uint16_t height = 128;
};

// Where the parts the effects gather round ended up in a frame.
struct Anchors {
    Point headCentre;
    double headRadius = 0;
    Point top;  // the highest point of the head and what it wears
    Point hands[2];  // left, right
    Point magic;     // the tip of the magic tool
};

// One character of the cast: it draws itself in any pose.
class Figure {
public:
    explicit Figure(FigureInfo info) : info_(std::move(info)) {}
    virtual ~Figure() = default;

    const FigureInfo& Info() const { return info_; }
    // The inks of the whole palette: clear, outline, the shared inks, the figure's own.
    std::vector<CharacterColor> PaletteInks() const;

    // Draws the figure in the pose, the middle of its feet at the bottom middle of the
    // frame, and says where its parts ended up.
    void Draw(Raster& raster, const Pose& pose, Anchors& anchors) const;

protected:
    // Draws about the feet at (0, 0), up being negative y, at the size of a 128-pixel
    // frame; the body's placing, lean, squash and scale are already applied.
    virtual void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const = 0;
    // How far the feet sit above the frame's bottom edge.
    virtual double Ground() const { return 4; }

private:
    FigureInfo info_;
};
