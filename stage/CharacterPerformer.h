#pragma once
#include "stage/AnimationPlayer.h"
#include "stage/BalloonWindow.h"
#include "stage/CharacterData.h"
#include "stage/CharacterWindow.h"
#include "stage/FrameComposer.h"
#include "stage/RequestQueue.h"
#include "stage/SoundOutput.h"
#include "stage/SpeechOutput.h"
#include <memory>
#include <random>
#include <string>

// Performs one character's requests one after another, on timer ticks of the
// user-interface thread, and owns all the user sees and hears of the character: its
// window, its balloon, its voice. When it has nothing to do and is visible it idles now
// and then with its idling animations.
class CharacterPerformer {
public:
    // The character is shown at the scale of dpi.
    CharacterPerformer(std::shared_ptr<const CharacterData> data, int dpi);
    ~CharacterPerformer();
    CharacterPerformer(const CharacterPerformer&) = delete;
    CharacterPerformer& operator=(const CharacterPerformer&) = delete;

    // Makes the windows, hidden; false with the reason when they cannot be made.
    bool Create(std::string& error);

    // The request waits its turn as pending; performing begins at the next tick.
    void Queue(ComRef<RequestObject> request, std::unique_ptr<StageAction> action);
    // Ends the requests of the given kinds (ActionKind mask), waiting or running, as
    // interrupted; what was running stops at once.
    void Stop(unsigned kinds);

    // What the actions work with.
    const CharacterData& Data() const { return *data_; }
    CharacterWindow& Window() { return window_; }
    BalloonWindow& Balloon() { return balloon_; }
    SpeechOutput& Speech() { return speech_; }
    std::mt19937& Random() { return random_; }
    bool RequestsWaiting() const { return !queue_.Empty(); }

    // One of the animations of a state ("Showing", "Moving Left"...), picked at random;
    // null when the character has none. State names match without regard to case and
    // spaces.
    const CharacterAnimation* StateAnimation(const std::string& state);
    // Puts the frame on the screen with the mouth overlay of that shape (or kNoMouth);
    // a frame newly shown while the window is visible starts its sound.
    void ShowFrame(const CharacterFrame* frame, int mouth = kNoMouth);
    // Starts the sound of the frame on the screen, for a window just made visible.
    void SoundCurrentFrame();
    // Cuts off the character's sound: its animation was stopped or it went away.
    void StopSound() { sound_.Stop(); }
    // The frame the character stands in when it does nothing.
    void ShowRestFrame() { ShowFrame(restFrame_); }
    const CharacterFrame* CurrentFrame() const { return frame_; }
    // Moves the animation on and shows its frame; true when it has finished. Requests
    // waiting behind it end its loops.
    bool PlayStep(AnimationPlayer& player, DWORD now, int mouth = kNoMouth);

private:
    void Tick();
    void Finish(ActionState state, DWORD now);
    void BeginIdling(DWORD now);
    // Ticks every `interval` ms from now on; 0 stops the ticks.
    void KeepTicking(UINT interval);
    const CharacterState* FindState(const std::string& name, bool prefix) const;
    const CharacterAnimation* PickAnimation(const CharacterState& state);
    const CharacterFrame* ChooseRestFrame();

    // Declared first: everything below points into the data.
    std::shared_ptr<const CharacterData> data_;
    FrameComposer composer_;
    CharacterWindow window_;
    BalloonWindow balloon_;
    SpeechOutput speech_;
    SoundOutput sound_;
    int dpi_;
    std::mt19937 random_;
    RequestQueue queue_;
    QueuedRequest current_;
    const CharacterFrame* restFrame_ = nullptr;
    const CharacterState* idling_ = nullptr;  // the first state whose name begins with "Idling"
    const CharacterFrame* frame_ = nullptr;
    int mouth_ = kNoMouth;
    bool presented_ = false;
    UINT tickInterval_ = 0;
    bool inTick_ = false;
    DWORD idleAt_ = 0;
};
