#include "player/PlayerScript.h"
#include "framework/File.h"
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "player/PlayerMessage.h"
#include "settings/FileUtil.h"
#include <algorithm>

namespace {

// Actions are numbered for the user from 1, as the maker's list shows them.
std::string ActionNumber(size_t index)
{
    return std::to_string(index + 1);
}

// A field of the greeting as a message may quote it: the greeting comes from someone
// else, and a field can be megabytes long or hold control characters.
std::string Shown(const std::string& field)
{
    const size_t MaxShown = 64;
    std::string shown = field.substr(0, MaxShown);
    std::replace_if(shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    return field.size() > MaxShown ? shown + "..." : shown;
}

std::string CountOfActions(size_t count)
{
    return std::to_string(count) + (count == 1 ? " action" : " actions");
}

} // namespace

bool PlayerScript::Load(const std::string& path, size_t start)
{
    actions_.clear();
    setUp_.clear();
    std::vector<GreetingAction> greeting;
    if (!ReadGreeting(path, greeting) || !CheckActions(greeting, start) || !SetUpStage(greeting, start))
        return false;
    actions_.assign(greeting.begin() + start, greeting.end());
    return true;
}

bool PlayerScript::ReadGreeting(const std::string& path, std::vector<GreetingAction>& greeting) const
{
    // Opened once here to tell a missing file from one the system keeps us from reading;
    // the document would fail on both without a word.
    {
        CFile probe;
        CFileException error;
        if (!probe.Open(path, CFile::modeRead | CFile::shareDenyWrite, &error)) {
            if (error.m_cause == CFileException::fileNotFound || error.m_cause == CFileException::badPath)
                ShowPlayerError("The greeting file could not be found:\n" + path);
            else
                ShowPlayerError("The greeting file could not be opened:\n" + path + "\n\n" + error.GetErrorMessage());
            return false;
        }
    }

    CParloDoc document;
    const GreetingFileResult read = document.ReadGreetingFile(path);
    if (read != GreetingFileResult::Done) {
        const std::string message = GreetingFileMessage(read);
        ShowPlayerError(message.empty() ? "The greeting file could not be read:\n" + path : message);
        return false;
    }
    for (int i = 0; i < document.GetActionCount(); ++i)
        greeting.push_back(*document.GetAction(i));
    return true;
}

bool PlayerScript::CheckActions(const std::vector<GreetingAction>& greeting, size_t start) const
{
    if (greeting.empty()) {
        ShowPlayerError("The greeting has no actions to play.");
        return false;
    }
    if (start >= greeting.size()) {
        ShowPlayerError("The greeting has " + CountOfActions(greeting.size()) + ", so it cannot be played from action " +
                        ActionNumber(start) + ".");
        return false;
    }
    for (size_t i = start; i < greeting.size(); ++i) {
        const GreetingAction& action = greeting[i];
        if (std::find(CommandNames.begin(), CommandNames.end(), action.GetCommand()) == CommandNames.end()) {
            ShowPlayerError("Action " + ActionNumber(i) + " of the greeting has an unknown command: \"" + Shown(action.GetCommand()) +
                            "\".");
            return false;
        }
        if (!CheckCharacter(action, i))
            return false;
    }
    return true;
}

bool PlayerScript::CheckCharacter(const GreetingAction& action, size_t index) const
{
    if (action.GetCharacter().empty()) {
        ShowPlayerError("Action " + ActionNumber(index) + " of the greeting names no character.");
        return false;
    }
    if (FindCharacterFile(action.GetCharacter()).empty()) {
        ShowPlayerError("Action " + ActionNumber(index) + " of the greeting needs the character \"" +
                        Shown(action.GetCharacter()) + "\", which is not installed on this computer.");
        return false;
    }
    return true;
}

// Only Show, Hide and Move change where a character stands and whether it is seen; the
// skipped actions are not held against the greeting beyond the characters left shown.
bool PlayerScript::SetUpStage(const std::vector<GreetingAction>& greeting, size_t start)
{
    struct Standing {
        std::string character;  // as the first action names it
        bool shown = false;
        size_t shownBy = 0;     // the action that showed it last
        std::string position;   // empty: where a character first comes on
    };
    std::vector<Standing> stage;
    const auto find = [&stage](const std::string& character) {
        return std::find_if(stage.begin(), stage.end(), [&character](const Standing& standing) {
            return ::lstrcmpiA(standing.character.c_str(), character.c_str()) == 0;
        });
    };
    for (size_t i = 0; i < start; ++i) {
        const GreetingAction& action = greeting[i];
        const std::string& command = action.GetCommand();
        if (action.GetCharacter().empty() || (command != CommandShow && command != CommandHide && command != CommandMove))
            continue;
        auto standing = find(action.GetCharacter());
        if (standing == stage.end())
            standing = stage.insert(stage.end(), Standing{ action.GetCharacter() });
        if (command == CommandMove) {
            standing->position = action.GetArgument();
        } else {
            standing->shown = command == CommandShow;
            standing->shownBy = i;
        }
    }

    const auto namedLater = [&](const std::string& character) {
        return std::any_of(greeting.begin() + start, greeting.end(), [&character](const GreetingAction& action) {
            return ::lstrcmpiA(action.GetCharacter().c_str(), character.c_str()) == 0;
        });
    };
    std::vector<GreetingAction> shows;
    for (const Standing& standing : stage) {
        if (standing.shown && !CheckCharacter(greeting[standing.shownBy], standing.shownBy))
            return false;
        if (!standing.shown && !namedLater(standing.character))
            continue;
        if (!standing.position.empty())
            setUp_.emplace_back(standing.character, CommandMove, standing.position);
        if (standing.shown)
            shows.emplace_back(standing.character, CommandShow, "Don't Animate");
    }
    setUp_.insert(setUp_.end(), shows.begin(), shows.end());
    return true;
}
