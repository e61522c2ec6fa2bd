#include "greeting/NewGreetingChoice.h"

namespace {
NewGreetingDialog newGreetingDialog = nullptr;
}

void SetNewGreetingDialog(NewGreetingDialog dialog)
{
    newGreetingDialog = dialog;
}

bool RunNewGreetingDialog(NewGreetingChoice& choice)
{
    return newGreetingDialog && newGreetingDialog(choice);
}
