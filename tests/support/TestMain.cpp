#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

// The programs register the common control classes and load the rich edit DLL before
// their first dialog; tests create the same dialogs, so they start the same way.
int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = { sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES };
    if (!InitCommonControlsEx(&controls)) {
        std::fprintf(stderr, "InitCommonControlsEx failed\n");
        return 1;
    }
    if (!LoadLibraryA("riched20.dll")) {
        std::fprintf(stderr, "riched20.dll could not be loaded (error %lu)\n", GetLastError());
        return 1;
    }
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
