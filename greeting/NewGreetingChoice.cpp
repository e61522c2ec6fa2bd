#include "greeting/NewGreetingChoice.h"

// Stands in as a cancelled dialog until the new-greeting dialog replaces it.
bool RunNewGreetingDialog(NewGreetingChoice&)
{
    return false;
}
