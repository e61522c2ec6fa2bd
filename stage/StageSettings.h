#pragma once

// Settings of a stage control that its characters follow.
struct StageSettings {
    // Failing requests raise automation errors instead of reporting a failed status.
    bool raiseRequestErrors = true;
};
