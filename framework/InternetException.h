#pragma once
#include "framework/Exception.h"
#include <windows.h>
#include <string>

// A failed WinInet call and its error code: one of WinInet's own (ERROR_INTERNET_...,
// ERROR_HTTP_...) or a system error code.
class CInternetException : public CException {
public:
    explicit CInternetException(DWORD error);

    // The system's description of the error, from WinInet's message table or else the
    // system's; a general text with the code when neither knows it.
    std::string GetErrorMessage() const override;

    // Throws for the calling thread's last error.
    [[noreturn]] static void ThrowLastError();

    DWORD m_dwError;
};
