#pragma once
#include "agent/AgentDispatch.h"
#include "framework/Wnd.h"
#include "greeting/GreetingAction.h"
#include "player/StopGesture.h"
#include <functional>
#include <map>
#include <string>
#include <vector>

// Performs a greeting's actions with the character control, one after another: each
// request is watched on a timer until it is done before the next one is made, so the
// message loop never blocks and the user can stop the performance at any time. Every
// character is loaded the first time an action names it and stays on the stage, so that
// several characters can appear together; at the end they all leave.
class CPerformer : public CWnd {
public:
    // Positions are worked out on a screen of the given size.
    CPerformer(const AgentControl& control, SIZE screen);

    // Called once, when the last character has left; performed is false when a character
    // could not be loaded (the user has been told) and true otherwise, stopped or not.
    using FinishedHandler = std::function<void(bool performed)>;

    // Sets the stage at once with the set-up actions (their moves jump), then begins with
    // the first action; false when the performer's timer cannot be set up. A performer
    // performs once; the handler must not destroy it.
    bool Start(const std::vector<GreetingAction>& setUp, const std::vector<GreetingAction>& actions,
               FinishedHandler onFinished);
    // Ends the performance early: what the characters do stops and they leave at once.
    void Stop();
    bool IsFinished() const { return phase_ == Phase::Finished; }
    // Actions the control refused, such as an animation the character lacks; the
    // performance goes on past them.
    int FailedRequests() const { return failedRequests_; }

protected:
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    enum class Phase { Idle, Loading, Performing, Leaving, Finished };

    // Character names as the system treats file names: without regard to case.
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    void Advance();
    bool Waiting() const;
    void PerformNext();
    void BeginLoad(const std::string& name);
    void FinishLoad();
    AgentRequest Perform(const AgentCharacter& character, const GreetingAction& action, bool atOnce) const;
    void Leave(bool fast);
    void Finish();

    const AgentControl& control_;
    SIZE screen_;
    std::vector<GreetingAction> actions_;  // the set-up first
    size_t setUpCount_ = 0;
    size_t next_ = 0;
    std::map<std::string, AgentCharacter, NameLess> characters_;
    std::string loading_;
    std::vector<AgentRequest> underWay_;
    StopGesture stopGesture_;
    FinishedHandler onFinished_;
    Phase phase_ = Phase::Idle;
    bool performed_ = true;
    bool advancing_ = false;
    int failedRequests_ = 0;
};
