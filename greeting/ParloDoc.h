#pragma once
#include "framework/Document.h"
#include "greeting/ActionStore.h"
#include "greeting/CsvRecordFile.h"
#include "greeting/GreetingAction.h"
#include <string>
#include <vector>

// Who sends a greeting: lines 4 and 5 of its text.
struct GreetingSender {
    std::string name;
    std::string email;
};

// The sender as the settings name them now.
GreetingSender CurrentSender();

// What became of reading or writing a greeting file. The file code only reports it;
// whoever started the read or write tells the user.
enum class GreetingFileResult { Done, NotOpened, WrongFormat, NewerVersion, NotWritten };

// The message for the user; empty for Done and for a file that could not be opened,
// about which the document's own callers say nothing.
std::string GreetingFileMessage(GreetingFileResult result);

// Writes a greeting text (lines ended by line feeds) as a greeting file. The old file
// is replaced only by a complete new one, so a failed write loses nothing.
GreetingFileResult WriteGreetingText(const std::string& path, const std::string& text);

// The greeting being made: its actions in order, who it is for, and its file.
// The document owns every action in its list.
class CParloDoc : public CDocument {
public:
    // Asks for a new greeting; a cancelled dialog keeps the current actions.
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;

    int GetActionCount() const;
    // Null when the index is out of range.
    GreetingAction* GetAction(int index) const;
    void InsertAction(GreetingAction* action, int index);
    // Actions are found by identity; one that is not in the list is left alone.
    void RemoveAction(GreetingAction* action);
    void MoveActionUp(GreetingAction* action);
    void MoveActionDown(GreetingAction* action);
    // Leaves the modified flag as it is.
    void ClearActions();

    // The greeting as text: the head lines, then one line per action, each line ended by
    // the terminator. Saving, preview and upload send the same text.
    std::string BuildGreetingText(const GreetingSender& sender, const std::string& terminator) const;
    // Writes the greeting as the current sender's.
    GreetingFileResult WriteGreetingFile(const std::string& path) const;
    // Keeps the current actions when the file cannot be read.
    GreetingFileResult ReadGreetingFile(const std::string& path);

    // Starts from the ready-made greeting of the type (none for the empty type); false
    // once the user was told that its file is missing or unreadable.
    bool LoadTemplate(const std::string& greetingType);
    // Fills the placeholders of the Say texts from the settings, the recipient and the
    // sender's gender; the modified flag stays as it is.
    void PersonaliseGreeting();

    const std::string& GetRecipientName() const { return recipientName; }
    const std::string& GetRecipientAddresses() const { return recipientAddresses; }
    void SetRecipientAddresses(const std::string& addresses) { recipientAddresses = addresses; }
    // The Send dialog edits the list in place.
    std::string& RecipientAddresses() { return recipientAddresses; }
    const std::string& GetSenderGender() const { return senderGender; }

    // Set once the player has been started on this greeting.
    bool IsPreviewed() const { return previewed; }
    void SetPreviewed(bool value) { previewed = value; }

private:
    // ReadGreetingFile without refreshing the views.
    GreetingFileResult LoadGreetingFile(const std::string& path);
    GreetingFileResult ReadText(ActionStore& loaded);
    void SwapWithNeighbour(GreetingAction* action, int offset);

    ActionStore actions;
    CsvRecordFile recordFile;
    std::string recipientName;
    std::string senderGender;
    bool previewed = false;
    std::string recipientAddresses;
};
