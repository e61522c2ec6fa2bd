#include "player/Performer.h"
#include "agent/AgentApp.h"
#include "greeting/Vocabulary.h"
#include "player/PlayerMessage.h"
#include "settings/FileUtil.h"

namespace {

const UINT_PTR PollTimer = 1;
// Often enough that one action follows the other without a pause anyone sees.
const UINT PollInterval = 15;

// The language the maker sets for its characters too.
const long EnglishUS = 1033;

const long RequestFailed = 1;

// Request states: pending 2, in progress 4; the others (complete, failed, interrupted) are over.
bool IsUnderWay(const AgentRequest& request)
{
    const long status = request.GetStatus();
    return status == 2 || status == 4;
}

} // namespace

BEGIN_MESSAGE_MAP(CPerformer, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

bool CPerformer::NameLess::operator()(const std::string& a, const std::string& b) const
{
    return ::lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

CPerformer::CPerformer(const AgentControl& control, SIZE screen) : control_(control), screen_(screen)
{
}

bool CPerformer::Start(const std::vector<GreetingAction>& setUp, const std::vector<GreetingAction>& actions,
                       FinishedHandler onFinished)
{
    // A message-only window: it carries the timer and never shows.
    const RECT none = { 0, 0, 0, 0 };
    if (!CreateEx(0, nullptr, PlayerTitle, 0, none, HWND_MESSAGE, 0) ||
        !::SetTimer(m_hWnd, PollTimer, PollInterval, nullptr))
        return false;
    actions_ = setUp;
    actions_.insert(actions_.end(), actions.begin(), actions.end());
    setUpCount_ = setUp.size();
    onFinished_ = std::move(onFinished);
    stopGesture_ = StopGesture();
    phase_ = Phase::Performing;
    Advance();
    return true;
}

void CPerformer::Stop()
{
    if (phase_ != Phase::Loading && phase_ != Phase::Performing)
        return;
    CVariant allRequests;
    for (const auto& character : characters_)
        character.second.StopAll(allRequests.value());
    Leave(true);
}

void CPerformer::OnTimer(UINT_PTR)
{
    // A message box shown while advancing runs a message loop of its own, ticks included.
    if (advancing_)
        return;
    if ((phase_ == Phase::Loading || phase_ == Phase::Performing) && stopGesture_.Poll())
        Stop();
    Advance();
}

// Goes on for as long as nothing is under way: requests that are over at once (a Hide of
// a hidden character) do not cost a tick each.
void CPerformer::Advance()
{
    if (advancing_)
        return;
    advancing_ = true;
    while (!Waiting()) {
        if (phase_ == Phase::Loading) {
            FinishLoad();
        } else if (phase_ == Phase::Performing) {
            for (const AgentRequest& request : underWay_)
                failedRequests_ += request.GetStatus() == RequestFailed ? 1 : 0;
            underWay_.clear();
            PerformNext();
        } else if (phase_ == Phase::Leaving) {
            Finish();
        } else {
            break;
        }
    }
    advancing_ = false;
}

bool CPerformer::Waiting() const
{
    for (const AgentRequest& request : underWay_)
        if (IsUnderWay(request))
            return true;
    return false;
}

void CPerformer::PerformNext()
{
    if (next_ == actions_.size()) {
        Leave(false);
        return;
    }
    const GreetingAction& action = actions_[next_];
    const auto character = characters_.find(action.GetCharacter());
    if (character == characters_.end()) {
        BeginLoad(action.GetCharacter());
        return;
    }
    underWay_.push_back(Perform(character->second, action, next_ < setUpCount_));
    ++next_;
}

// Each character goes on the stage under its own name.
void CPerformer::BeginLoad(const std::string& name)
{
    loading_ = name;
    CVariant file(FindCharacterFile(name));
    underWay_.push_back(control_.GetCharacters().Load(name, file.value()));
    phase_ = Phase::Loading;
}

void CPerformer::FinishLoad()
{
    const long status = underWay_.front().GetStatus();
    underWay_.clear();
    if (status != 0) {
        performed_ = false;
        ShowPlayerError("The character \"" + loading_ + "\" could not be loaded.");
        Leave(true);
        return;
    }
    AgentCharacter character = control_.GetCharacters().Character(loading_);
    character.SetLanguageID(EnglishUS);
    // Until the greeting moves it, a character stands where the maker first shows it. The
    // character's own queue puts this before whatever it is asked next: no need to wait.
    const POINT centre = PositionPoint("Center", screen_.cx, screen_.cy, character.GetWidth(), character.GetHeight(),
                                       WorkAreaOf(screen_.cx, screen_.cy));
    CVariant atOnce(0L);
    character.MoveTo(static_cast<short>(centre.x), static_cast<short>(centre.y), atOnce.value());
    characters_.emplace(loading_, std::move(character));
    phase_ = Phase::Performing;
}

AgentRequest CPerformer::Perform(const AgentCharacter& character, const GreetingAction& action, bool atOnce) const
{
    const std::string& command = action.GetCommand();
    const std::string& argument = action.GetArgument();
    if (command == CommandShow || command == CommandHide) {
        CVariant fast(argument != "Animate");
        return command == CommandShow ? character.Show(fast.value()) : character.Hide(fast.value());
    }
    if (command == CommandSay) {
        // Nothing to say shows no balloon, as in the maker.
        if (argument.empty())
            return AgentRequest();
        character.GetBalloon().SetStyle(CAgentApp::BalloonStyle);
        CVariant text(argument), noSound;
        return character.Speak(text.value(), noSound.value());
    }
    if (command == CommandAnimate)
        return character.Play(argument);
    if (command == CommandMove) {
        const POINT target =
            PositionPoint(argument, screen_.cx, screen_.cy, character.GetWidth(), character.GetHeight(),
                          WorkAreaOf(screen_.cx, screen_.cy));
        CVariant jump(0L), defaultSpeed;
        return character.MoveTo(static_cast<short>(target.x), static_cast<short>(target.y),
                                (atOnce ? jump : defaultSpeed).value());
    }
    // The script lets no other command through.
    return AgentRequest();
}

void CPerformer::Leave(bool fast)
{
    underWay_.clear();
    CVariant flag(fast);
    for (const auto& character : characters_)
        underWay_.push_back(character.second.Hide(flag.value()));
    phase_ = Phase::Leaving;
}

void CPerformer::Finish()
{
    underWay_.clear();
    ::KillTimer(m_hWnd, PollTimer);
    phase_ = Phase::Finished;
    if (onFinished_)
        onFinished_(performed_);
}
