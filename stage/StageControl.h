#pragma once
#include <windows.h>
#include <oaidl.h>

// Creates the character stage: an automation object that answers the character
// control's calls by dispatch id and performs them with the stage's own windows. The
// caller owns the one reference returned.
HRESULT CreateStageControl(IDispatch** control);
