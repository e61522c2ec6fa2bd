#pragma once
#include "framework/Document.h"
#include "greeting/CsvRecordFile.h"
#include "greeting/GreetingAction.h"
#include <memory>
#include <string>
#include <vector>

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

    // Rebuilds the greeting text with each line ended by the terminator.
    void BuildGreetingText(const std::string& terminator);
    // Shows the user a message when the file cannot be written.
    bool WriteGreetingFile(const std::string& path);
    // Keeps the current actions when the file cannot be read.
    bool ReadGreetingFile(const std::string& path);

    const std::string& GetGreetingText() const { return greetingText; }
    const std::string& GetRecipientName() const { return recipientName; }
    const std::string& GetRecipientAddresses() const { return recipientAddresses; }
    void SetRecipientAddresses(const std::string& addresses) { recipientAddresses = addresses; }
    // The Send dialog edits the list in place.
    std::string& RecipientAddresses() { return recipientAddresses; }
    const std::string& GetSenderGender() const { return senderGender; }
    // Starts the player on a copy of the greeting, from the action at start.
    void PreviewGreeting(int start);
    bool UploadGreeting();  // posts it to the service and opens its send page; false once the user was told why not

    // Set once the player has been started on this greeting.
    bool IsPreviewed() const { return previewed; }
    void SetPreviewed(bool value) { previewed = value; }

private:
    enum class ReadOutcome { Loaded, WrongFormat, NewerVersion };
    using ActionList = std::vector<std::unique_ptr<GreetingAction>>;

    ReadOutcome ReadOpenFile(ActionList& loaded);
    int IndexOf(const GreetingAction* action) const;
    void SwapWithNeighbour(GreetingAction* action, int offset);

    ActionList actions;
    CsvRecordFile recordFile;
    std::string recipientName;
    std::string senderGender;
    std::string greetingText;
    bool previewed = false;
    std::string recipientAddresses;
};
