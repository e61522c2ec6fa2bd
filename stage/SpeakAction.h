#pragma once
#include "stage/AnimationPlayer.h"
#include "stage/CharacterData.h"
#include "stage/StageAction.h"
#include <optional>
#include <string>
#include <vector>

// Speaks a text: the words appear in the balloon one by one at a talking pace while the
// voice (where there is one) says them and the mouth moves, then the balloon goes away
// a little after the last word. The mouth moves on the frame the character stands in
// when that has mouth overlays, else on its Speaking animation. An empty text is done
// at once, without a balloon.
class SpeakAction : public StageAction {
public:
    // The text is 8-bit in the system's code page.
    SpeakAction(std::string text, bool balloon);

    ActionKind Kind() const override { return kActionSpeak; }
    ActionState Start(CharacterPerformer& performer, DWORD now) override;
    ActionState Tick(CharacterPerformer& performer, DWORD now) override;
    void Stop(CharacterPerformer& performer) override;

private:
    int Mouth(DWORD now) const;
    void CloseBalloon(CharacterPerformer& performer);

    std::string text_;
    bool balloon_;
    std::vector<std::string> words_;
    size_t shown_ = 0;
    DWORD wordStart_ = 0;  // when the last shown word appeared
    DWORD nextWord_ = 0;   // when the next word appears, or the last one is done
    const CharacterFrame* frame_ = nullptr;
    std::optional<AnimationPlayer> player_;
};
