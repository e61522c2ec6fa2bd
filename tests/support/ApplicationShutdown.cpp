#include "support/ApplicationShutdown.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

void ShutDownApplication(CWinApp& app)
{
    if (app.m_pMainWnd)
        app.m_pMainWnd->DestroyWindow();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT)
            DispatchMessageA(&message);
    app.ExitInstance();
}
