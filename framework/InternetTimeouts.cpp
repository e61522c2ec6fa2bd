#include "framework/InternetTimeouts.h"
#include "framework/InternetException.h"

void ApplyInternetTimeouts(HINTERNET handle, DWORD milliseconds)
{
    for (DWORD option : { INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT }) {
        if (!::InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds))
            CInternetException::ThrowLastError();
    }
}
