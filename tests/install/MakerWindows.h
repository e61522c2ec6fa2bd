#pragma once
#include "ProgramWindows.h"
#include <string>

// The maker's windows as a user meets them: captions, control and command ids, and the
// steps through them that the end-to-end test and the picture program share.
namespace Maker {

constexpr char TourCaption[] = "Parlacard Maker 1.04";
constexpr char SetupCaption[] = "Parlacard Maker Setup";
constexpr char NewGreetingCaption[] = "New Parlacard";
constexpr char ActionCaption[] = "New Action";
constexpr char EditActionCaption[] = "Edit Action";
constexpr char SaveCaption[] = "Save As";
constexpr char MessageCaption[] = "Parlacard";
constexpr char SendCaption[] = "Send Parlacard";
constexpr char HelpCaption[] = "Parlacard Help ";
constexpr char AboutCaption[] = "Parlacard Maker";
constexpr char UpdateCaption[] = "Parlacard WebUpdate";
constexpr int TourContinue = 1027;
constexpr int NameEdit = 1047;
constexpr int EmailEdit = 1043;
constexpr int GreetingTypes = 1046;
constexpr int RecipientEdit = 1042;
constexpr int ActionList = 1006;
constexpr int AddButton = 1007;
constexpr int HelpButton = 1048;
constexpr int MoveUpButton = 1023;
constexpr int UpdateStatus = 1013;
constexpr int FileNameCombo = 0x47C;  // the file name box of the save dialog: a combo box in
constexpr int FileNameEdit = 0x480;   // the explorer style, else an edit
constexpr int ShowRadio = 1013;
constexpr int SayRadio = 1016;
constexpr int MoveRadio = 1018;
constexpr int SpeechEdit = 1020;
constexpr int SendNowButton = 32771;
constexpr int PlayGreetingButton = 32773;
constexpr int AddressesEdit = 1049;
constexpr int FileSaveCommand = 0xE103;
constexpr int AppExitCommand = 0xE141;

// In the New Parlacard dialog: chooses Birthday (the only type that starts with a B),
// types the recipient's name and presses OK.
void ChooseBirthday(const ProgramWindows& windows, HWND dialog, const std::string& recipient);

// Adds an action through the action editor: the command's radio button with the
// editor's default argument, or for Say the text typed, then OK.
void AddAction(const ProgramWindows& windows, HWND view, int commandRadio, const std::string& said = std::string());

} // namespace Maker
