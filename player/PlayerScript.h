#pragma once
#include "greeting/GreetingAction.h"
#include <string>
#include <vector>

// The actions the player performs: those of a greeting file from a start index to its
// end. All of them are checked before the first one is performed, so that a greeting
// the player cannot finish is refused whole instead of breaking off half-way. Played
// from the middle, the characters first stand as the skipped actions leave them.
class PlayerScript {
public:
    // Tells the user why and returns false when the file is missing, unreadable or no
    // greeting, when the start lies past its last action, or when an action has an unknown
    // command or a character that is not installed.
    bool Load(const std::string& path, size_t start);

    const std::vector<GreetingAction>& GetActions() const { return actions_; }
    // What puts the characters where the actions before the start leave them, to be done
    // at once and without animation: a Move to each one's last position, then a Show of
    // each one that stays shown. Only characters shown then or named later are set up.
    const std::vector<GreetingAction>& GetSetUp() const { return setUp_; }

private:
    bool ReadGreeting(const std::string& path, std::vector<GreetingAction>& greeting) const;
    bool CheckActions(const std::vector<GreetingAction>& greeting, size_t start) const;
    bool SetUpStage(const std::vector<GreetingAction>& greeting, size_t start);
    bool CheckCharacter(const GreetingAction& action, size_t index) const;

    std::vector<GreetingAction> actions_;
    std::vector<GreetingAction> setUp_;
};
