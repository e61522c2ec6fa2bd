#pragma once
#include <string>

// What the user picks in the new-greeting dialog.
struct NewGreetingChoice {
    std::string greetingType;
    std::string recipientName;
    std::string senderName;
    std::string gender;
};

// The dialog lives with the program's windows above this folder, so the program hands
// it down at start-up. False when it is cancelled.
using NewGreetingDialog = bool (*)(NewGreetingChoice& choice);
void SetNewGreetingDialog(NewGreetingDialog dialog);

// Runs the new-greeting dialog, preset from the choice; without one handed down, a new
// greeting goes as if it was cancelled.
bool RunNewGreetingDialog(NewGreetingChoice& choice);
