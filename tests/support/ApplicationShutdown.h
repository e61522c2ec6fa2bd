#pragma once

class CWinApp;

// Closes a test's main window and ends the application object as the program would at
// exit. The quit message the closing window posts is taken off the queue, since the
// message loop it asks to end is the test's own.
void ShutDownApplication(CWinApp& app);
