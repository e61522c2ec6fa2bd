#pragma once
#include <cstdint>

// How a figure stands in one frame. Every figure understands every field in its own way
// (a parrot's arms are its wings, a robot's mouth is a row of lights), so that the
// same choreography plays on all of them.

// Mouth shapes: first the speaking shapes in the order of the file's mouth types, then
// the expressions.
enum class Mouth : uint8_t {
    Closed, Wide1, Wide2, Wide3, Wide4, Medium, Narrow,
    Smile, Grin, Oh, Frown, Flat, Wavy,
};

enum class Eyes : uint8_t {
    Open,
    Happy,   // closed in a smile
    Wide,    // surprised
    Sleepy,  // half closed and still
};

enum class Hand : uint8_t { Mitten, Palm, Fist, Point };

// What the figure holds, and in which hands.
enum class Held : uint8_t {
    Nothing,
    Wand,     // right hand: the figure's own magic tool
    Book,     // both hands, open in front
    Bowl,     // a mixing bowl on the left arm, a whisk in the right hand
    Trumpet,  // right hand, at the mouth
};

// Things drawn around the figure, on a layer of their own.
enum Effect : uint16_t {
    kEffectSparkles = 1 << 0,  // from the magic tool, or around the figure
    kEffectQuestion = 1 << 1,
    kEffectExclaim = 1 << 2,
    kEffectBulb = 1 << 3,
    kEffectConfetti = 1 << 4,
    kEffectThought = 1 << 5,
    kEffectNotes = 1 << 6,
    kEffectSleep = 1 << 7,
    kEffectPuff = 1 << 8,      // a cloud as the figure comes or goes
    kEffectFlour = 1 << 9,     // dust from the mixing bowl
    kEffectBurst = 1 << 10,    // a star burst high up
};

struct Arm {
    double raise = 0;  // degrees from hanging down, outwards; 180 is straight up
    double bend = 0;   // degrees the forearm turns further at the elbow
    Hand hand = Hand::Mitten;
};

struct Pose {
    // The whole figure, about the middle of its feet.
    double x = 0, y = 0;  // pixels
    double lean = 0;      // degrees, clockwise
    double squash = 1;    // height factor; the width changes the other way
    double scale = 1;
    double step = 0;      // walking, -1 .. 1: which foot is forward

    double headTilt = 0;  // degrees, clockwise
    double headTurn = 0;  // -1 (to the left of the screen) .. 1
    double headNod = 0;   // -1 (up) .. 1 (down)

    Eyes eyes = Eyes::Open;
    double lookX = 0, lookY = 0;  // -1 .. 1
    double lid = 0;               // 0 open .. 1 shut
    double brow = 0;              // -1 worried .. 1 raised
    Mouth mouth = Mouth::Smile;
    bool blush = false;
    double tear = 0;    // 0 none .. 1 a tear down the cheek
    bool sweat = false;

    Arm left, right;  // as seen on the screen
    Held held = Held::Nothing;
    double propPhase = 0;  // how far the held prop has moved (a whisk round, a page), 0 .. 1

    uint16_t effects = 0;  // Effect
    double effectPhase = 0;  // 0 .. 1 through an effect's motion
};

// Between two poses: numbers in proportion, choices from the nearer pose.
Pose MixPoses(const Pose& a, const Pose& b, double t);

// Every field equal; the same pose draws the same pixels.
bool SamePose(const Pose& a, const Pose& b);
