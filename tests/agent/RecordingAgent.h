#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <vector>

// An automation object tree that answers the character control's dispatch ids and
// records every call, in order, as text such as "Load(PQ,C:\x.ACS)" or "MoveTo(512,384,)".
// Empty variants print as nothing, Booleans as true/false.
struct RecordingAgent {
    std::vector<std::string> calls;
    long loadStatus = 0;
    short width = 128;
    short height = 128;
    std::vector<std::string> animationNames;
    bool enumeratorAvailable = true;
    int liveObjects = 0;
    int enumerations = 0;   // how often the animation names were enumerated

    // A new control object, one reference for the caller.
    IDispatch* CreateControl();

    // The one recorder the control factory hands out (a plain function cannot carry state).
    static RecordingAgent* current;
    static HRESULT Factory(IDispatch** control);
};
