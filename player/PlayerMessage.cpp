#include "player/PlayerMessage.h"
#include "framework/MessageBox.h"

void ShowPlayerError(const std::string& text)
{
    ShowMessageBox(nullptr, text, PlayerTitle, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
