#pragma once
#include <string>

// What the user picks in the new-greeting dialog.
struct NewGreetingChoice {
    std::string greetingType;
    std::string recipientName;
    std::string senderName;
    std::string gender;
};

// Runs the new-greeting dialog, preset from the choice; false when it is cancelled.
bool RunNewGreetingDialog(NewGreetingChoice& choice);
