#pragma once
#include "agent/AgentCtlEx.h"
#include "framework/WinApp.h"
#include <string>
#include <vector>

// The application's hold on the character control: one character at a time, always under
// the same id, loaded by name and driven by every screen that shows a character.
class CAgentApp : public CWinApp {
public:
    static constexpr const char* AgentCharacterId = "PQ";
    // Balloon on, sized to the text, hiding by itself, paced automatically.
    static const long BalloonStyle = 15;

    // (Re)creates the hidden control window as a child of parent; forgets the character.
    virtual bool CreateAgentControl(CWnd* parent);
    // True when the named character is current afterwards.
    bool LoadCharacter(const std::string& name);
    AgentCharacter GetCurrentCharacter() const;
    void ShowCharacter(bool fast) const;
    void HideCharacter(bool fast) const;
    void StopCharacter() const;
    // Queues: show, the animation before, the text in the balloon, the animation after,
    // and a hide when asked; nothing waits for the character.
    void PerformCharacter(const std::string& text, const std::string& animationBefore, bool fast, bool hideAfter,
                          const std::string& animationAfter) const;
    // "(None)" and the character's animations, ordered by first character only.
    bool GetAnimationNames(std::vector<std::string>& names) const;
    void MoveToPosition(const std::string& position);
    // Where the current character stands once its moves are done, on the screen; false
    // when no character is current.
    bool GetStandingRect(RECT& rect) const;

    const std::string& GetCurrentCharacterName() const { return CurrentCharacterName; }
    int ExitInstance() override;

protected:
    CAgentCtlEx agentControl_;
    std::string CurrentCharacterName;
    std::string standingAt_;  // the position the character was last sent to
};

// The character every screen falls back to.
inline constexpr char DefaultCharacter[] = "Merlin";

// The application object as the character screens use it; null when it is no CAgentApp.
CAgentApp* GetAgentApp();

// Where a character of the given size stands at a named position on a screen: its
// top-left corner (the centre positions put that corner on the screen's middle lines),
// pulled in from the edges just far enough to lie wholly inside the work area. A
// character wider or taller than the work area keeps its left or top edge on it.
POINT PositionPoint(const std::string& position, int screenWidth, int screenHeight, int width, int height,
                    const RECT& workArea);

// The work area of a screen of that size: the screen less what the system keeps for
// itself at its edges (a taskbar), measured on the real screen.
RECT WorkAreaOf(int screenWidth, int screenHeight);

// Inserts a name before the first entry whose first character is greater than the name's.
void InsertByFirstCharacter(std::vector<std::string>& names, const std::string& name);
