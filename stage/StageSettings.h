#pragma once

// Settings of a stage control that its characters follow.
struct StageSettings {
    // Failing requests raise automation errors instead of reporting a failed status.
    bool raiseRequestErrors = true;
    // The scale the characters are drawn at, and their size reported in: the screen's.
    int dpi = 96;
};
