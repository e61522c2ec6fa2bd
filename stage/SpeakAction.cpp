#include "stage/SpeakAction.h"
#include "stage/BalloonText.h"
#include "stage/CharacterPerformer.h"
#include <cctype>
#include <cstring>

namespace {

const DWORD kLetterTime = 60;      // ms per letter spoken
const DWORD kWordGap = 120;        // ms between words
const DWORD kBalloonLinger = 1200; // ms the balloon stays after the last word

// The mouth shape a letter is spoken with.
int MouthForLetter(char letter)
{
    static const struct {
        const char* letters;
        MouthType mouth;
    } kShapes[] = {
        { "a", kMouthWide4 }, { "e", kMouthWide3 }, { "iy", kMouthWide2 }, { "o", kMouthMedium },
        { "uwq", kMouthNarrow }, { "mbp", kMouthClosed },
    };
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    for (const auto& shape : kShapes)
        if (std::strchr(shape.letters, lower))
            return shape.mouth;
    return std::isalpha(static_cast<unsigned char>(letter)) ? kMouthWide1 : kMouthClosed;
}

} // namespace

SpeakAction::SpeakAction(std::string text, bool balloon) : text_(std::move(text)), balloon_(balloon) {}

ActionState SpeakAction::Start(CharacterPerformer& performer, DWORD now)
{
    words_ = BalloonText(text_).Words();
    if (words_.empty())
        return ActionState::Complete;
    if (balloon_)
        performer.Balloon().Open(text_, performer.Window().ScreenRect());
    performer.Speech().Speak(text_);
    frame_ = performer.CurrentFrame();
    if (!frame_ || frame_->overlays.empty()) {
        if (const CharacterAnimation* speaking = performer.StateAnimation("Speaking")) {
            player_.emplace(*speaking, performer.Random());
            player_->Start(now);
        }
    }
    nextWord_ = now;
    return Tick(performer, now);
}

ActionState SpeakAction::Tick(CharacterPerformer& performer, DWORD now)
{
    const size_t before = shown_;
    while (shown_ < words_.size() && static_cast<LONG>(now - nextWord_) >= 0) {
        wordStart_ = nextWord_;
        nextWord_ += static_cast<DWORD>(words_[shown_].size()) * kLetterTime + kWordGap;
        ++shown_;
    }
    if (balloon_ && shown_ != before)
        performer.Balloon().ShowWords(shown_);

    const bool talking = shown_ < words_.size() || static_cast<LONG>(now - nextWord_) < 0;
    const int mouth = talking ? Mouth(now) : kNoMouth;
    if (player_)
        performer.PlayStep(*player_, now, mouth);
    else
        performer.ShowFrame(frame_, mouth);
    if (talking || static_cast<LONG>(now - nextWord_) < static_cast<LONG>(kBalloonLinger))
        return ActionState::Running;
    // The voice may still be talking; it finishes on its own.
    CloseBalloon(performer);
    return ActionState::Complete;
}

int SpeakAction::Mouth(DWORD now) const
{
    const std::string& word = words_[shown_ - 1];
    const size_t letter = (now - wordStart_) / kLetterTime;
    return letter < word.size() ? MouthForLetter(word[letter]) : kMouthClosed;
}

void SpeakAction::Stop(CharacterPerformer& performer)
{
    performer.Speech().Stop();
    CloseBalloon(performer);
}

void SpeakAction::CloseBalloon(CharacterPerformer& performer)
{
    performer.Balloon().Close();
    performer.ShowFrame(performer.CurrentFrame(), kNoMouth);
}
