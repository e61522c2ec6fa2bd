#pragma once
#include <windows.h>

class CharacterPerformer;

// Kinds of requests, as StopAll names them; a mask of them picks what to stop.
enum ActionKind : unsigned {
    kActionVisibility = 1,  // Show and Hide
    kActionPlay = 2,
    kActionSpeak = 4,
    kActionMove = 8,
    kAllActions = 15,
};

enum class ActionState { Running, Complete, Failed };

// What a queued request does when its turn comes: started once, then given every
// timer tick of the character until it is done.
class StageAction {
public:
    virtual ~StageAction() = default;

    virtual ActionKind Kind() const = 0;
    virtual ActionState Start(CharacterPerformer& performer, DWORD now) = 0;
    virtual ActionState Tick(CharacterPerformer& performer, DWORD now) = 0;
    // Cut off before its end: take back what only lasts while it runs.
    virtual void Stop(CharacterPerformer& performer) {}
};
