; The Parlacard Maker installer. The build defines, on makensis's command line:
;   OUTFILE          the installer to write
;   PROGRAMS         the folder with the stripped Parlacard.exe and DODevavi.EXE
;   TEMPLATES, CAST  the folders of the ready-made greetings and the characters
;   ICON             the program's icon
;   PICTURE          the welcome and finish pages' picture, 164 x 314, 24-bit
;   VERSION          the version users see ("1.04"), VERSION_NUMBERS its four parts
;   LISTS            the generated lists of templates and characters (ForEach... macros)

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${LISTS}"

!define PRODUCT "Parlacard Maker"
!define PUBLISHER "Zentorix LLC"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Parlacard"
; The characters this installer put in place, by name: the uninstaller removes only those.
!define OWN_CHARACTERS_KEY "${UNINSTALL_KEY}\Characters"
!define CHARS "$WINDIR\MSAgent\Chars"
; The document type as the program's document template names it.
!define PROGID "Parlacard.Document"
!define PROGID_NAME "Parlacard Document"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Parlacard"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion ${VERSION_NUMBERS}
VIFileVersion ${VERSION_NUMBERS}
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "ParlacardSetup.exe"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURE}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsUser
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var CharactersKB

; The installer runs with administrator rights; the program, started through the shell,
; runs with the user's own, as it does from the Start menu.
Function StartAsUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Parlacard.exe"'
FunctionEnd

!macro InstallTemplate NAME
  File "${TEMPLATES}\${NAME}.pcg"
!macroend

; A character file of that name that this installer did not put there is the user's own.
!macro InstallCharacter NAME
  ReadRegDWORD $0 HKLM "${OWN_CHARACTERS_KEY}" "${NAME}"
  ${If} $0 == 1
  ${OrIfNot} ${FileExists} "${CHARS}\${NAME}.ACS"
    File "/oname=${CHARS}\${NAME}.ACS" "${CAST}\${NAME}.ACS"
    WriteRegDWORD HKLM "${OWN_CHARACTERS_KEY}" "${NAME}" 1
    ${GetSize} "${CHARS}" "/M=${NAME}.ACS /S=0K /G=0" $1 $2 $3
    IntOp $CharactersKB $CharactersKB + $1
  ${EndIf}
!macroend

Section "${PRODUCT}"
  SetShellVarContext all
  SetOverwrite on
  StrCpy $CharactersKB 0

  SetOutPath "$INSTDIR"
  File "${PROGRAMS}\Parlacard.exe"
  File "${PROGRAMS}\DODevavi.EXE"
  SetOutPath "$INSTDIR\Templates"
  !insertmacro ForEachTemplate InstallTemplate
  SetOutPath "$INSTDIR"

  CreateDirectory "${CHARS}"
  !insertmacro ForEachCharacter InstallCharacter

  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "${MENU_FOLDER}"
  CreateShortCut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\Parlacard.exe" "" "$INSTDIR\Parlacard.exe" 0
  CreateShortCut "${MENU_FOLDER}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  ; Greetings open in the maker; "Play" hands them to the player.
  WriteRegStr HKCR ".pcg" "" "${PROGID}"
  WriteRegStr HKCR ".pcg\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKCR "${PROGID}" "" "${PROGID_NAME}"
  WriteRegStr HKCR "${PROGID}\DefaultIcon" "" "$INSTDIR\Parlacard.exe,0"
  WriteRegStr HKCR "${PROGID}\shell" "" "open"
  WriteRegStr HKCR "${PROGID}\shell\open\command" "" '"$INSTDIR\Parlacard.exe" "%1"'
  WriteRegStr HKCR "${PROGID}\shell\Play" "" "&Play"
  WriteRegStr HKCR "${PROGID}\shell\Play\command" "" '"$INSTDIR\DODevavi.EXE" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Parlacard.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntOp $0 $0 + $CharactersKB
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!macro RemoveTemplate NAME
  Delete "$INSTDIR\Templates\${NAME}.pcg"
!macroend

!macro RemoveCharacter NAME
  ReadRegDWORD $0 HKLM "${OWN_CHARACTERS_KEY}" "${NAME}"
  ${If} $0 == 1
    Delete "${CHARS}\${NAME}.ACS"
  ${EndIf}
!macroend

; Greetings and settings are the user's: folders are removed only when empty, and the
; settings under Software\Zentorix stay.
Section "Uninstall"
  SetShellVarContext all

  !insertmacro ForEachCharacter RemoveCharacter

  Delete "$INSTDIR\Parlacard.exe"
  Delete "$INSTDIR\DODevavi.EXE"
  !insertmacro ForEachTemplate RemoveTemplate
  RMDir "$INSTDIR\Templates"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "${MENU_FOLDER}\Uninstall ${PRODUCT}.lnk"
  RMDir "${MENU_FOLDER}"

  ; ".pcg" may have been given to another program since: only our own values go.
  DeleteRegValue HKCR ".pcg\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCR ".pcg\OpenWithProgids"
  ReadRegStr $0 HKCR ".pcg" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKCR ".pcg" ""
  ${EndIf}
  DeleteRegKey /ifempty HKCR ".pcg"
  DeleteRegKey HKCR "${PROGID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
