#pragma once
#include "framework/Dialog.h"
#include <string>
#include <vector>

class GreetingAction;

// Creates or changes one action: which character, which command, which argument,
// previewed with the real character.
class CActionDlg : public CDialog {
public:
    // No action: a new one.
    explicit CActionDlg(CWnd* parent, GreetingAction* action = nullptr);

    std::string character;
    std::string argument;
    std::string command;

    // The command radio button last chosen in any editor; a new action opens on it.
    static int ActionState;
    // The animation names of one character, so that they are enumerated once.
    struct AnimationCacheEntry {
        std::vector<std::string> names;
        std::string characterName;
    };
    static AnimationCacheEntry AnimationCache;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnDestroy();
    void OnCommandClicked(UINT id);
    void CheckSelectedCharacter();
    void OnPreview();
    void UpdateOkAndPreview();
    void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    GreetingAction* action_;
    bool loaded_ = false;

    void RefreshForCommand();
    void FillAnimationList();
    bool LoadSelectedCharacter();
    std::string SelectedCharacter() const;
    std::string CollectArgument() const;
    void PlaceArgumentControls(HWND shown);
    void OpenCharactersPage() const;
    void ResetCharacter() const;
};

// The command name of a command radio button, and back; 0 / "" when there is none.
std::string CommandForRadio(int radioId);
int RadioForCommand(const std::string& command);

// Speech as one line: line breaks become blanks, the ends are trimmed, double quotes
// become apostrophes.
std::string CleanSpeechText(const std::string& text);
