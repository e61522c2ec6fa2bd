#pragma once
#include "framework/Exception.h"
#include <windows.h>
#include <string>

// A failed file operation: what went wrong in portable terms (the cause), the
// operating system's own error code and the file concerned.
class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1,
                            const std::string& fileName = std::string());

    // The system's text for the OS error, or a general text when it has none.
    std::string GetErrorMessage() const override;

    static int OsErrorToException(LONG osError);
    [[noreturn]] static void ThrowOsError(LONG osError, const std::string& fileName = std::string());

    int m_cause;
    LONG m_lOsError;
    std::string m_strFileName;
};
