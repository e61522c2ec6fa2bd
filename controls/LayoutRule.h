#pragma once
#include <cstdint>

// What a layout rule does to its subject.
enum LayoutAction : int32_t {
    Stretch = 0,           // sets one metric; the opposite edge stays, the size follows
    Move = 1,              // sets one side; the size stays
    CentreVertical = 2,    // centres a range of children as a block
    CentreHorizontal = 3,
    EndOfRules = 4,        // ends a rule table
};

// The metrics of a window rectangle, as rules and child records index them.
enum LayoutMetric : int32_t {
    MetricLeft = 0,
    MetricTop = 1,
    MetricRight = 2,
    MetricBottom = 3,
    MetricWidth = 4,
    MetricHeight = 5,
    MetricCentre = 6,      // reference only: the midpoint on the centring axis
};
const int MetricCount = 6;

// The id that names the parent's client area in rules.
const int32_t ParentId = 0x10000;

// One entry of a static rule table. The solver writes the last two fields on every run,
// so tables are writable.
struct LayoutRule {
    int32_t action;            // LayoutAction
    int32_t metric;            // the subject's metric set by Stretch and Move
    int32_t subjectId;         // centring: first id of the range
    int32_t lastId;            // centring: last id of the range (inclusive), else 0
    int32_t referenceMetric;   // LayoutMetric, MetricCentre for the centring actions only
    int32_t referenceId;       // a child's id or ParentId
    int32_t percent;           // reference width or height taken at this percentage
    int32_t distance;          // in dialog units along the rule's axis
    int32_t applied;
    int32_t pixels;            // distance converted with the parent's font
};
