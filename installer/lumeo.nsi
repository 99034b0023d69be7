; Lumeo setup: places Lumeo, Koretta and their language and help files in one folder,
; registers the Explorer menu extension, adds a Start-menu shortcut and an uninstaller.
;   makensis -INPUTCHARSET UTF8 -DBINDIR=<folder with the built files> -DOUTFILE=<setup.exe>
;            -DVERSION=x.y.z lumeo.nsi
; Silent use: LumeoSetup.exe /S /D=C:\Program Files\Lumeo   and   Uninstall.exe /S
; Exit codes: 0 installed, 2 not installed (nothing left behind), 3010 installed, but
; a restart finishes the update of the menu extension.

!ifndef BINDIR
  !error "BINDIR must name the folder of the built files"
!endif
!ifndef OUTFILE
  !define OUTFILE "LumeoSetup.exe"
!endif
!ifndef VERSION
  !define VERSION "1.0.0"
!endif

!define PRODUCT "Lumeo"
!define PUBLISHER "Corvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Unicode true
; Koretta.dll is a 64-bit shell extension: a 64-bit setup registers it with the 64-bit regsvr32.
Target amd64-unicode
Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The product's languages. Setup and uninstaller speak the user's display language when
; it is one of them, else the first (English).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "Korean"

LangString RegisterFailed ${LANG_ENGLISH} "The Explorer menu extension could not be registered (error $0). Lumeo was not installed."
LangString RegisterFailed ${LANG_GERMAN} "Die Explorer-Menüerweiterung konnte nicht registriert werden (Fehler $0). Lumeo wurde nicht installiert."
LangString RegisterFailed ${LANG_FRENCH} "L'extension du menu de l'Explorateur n'a pas pu être enregistrée (erreur $0). Lumeo n'a pas été installé."
LangString RegisterFailed ${LANG_JAPANESE} "エクスプローラーのメニュー拡張を登録できませんでした (エラー $0)。Lumeo はインストールされませんでした。"
LangString RegisterFailed ${LANG_KOREAN} "탐색기 메뉴 확장을 등록할 수 없습니다 (오류 $0). Lumeo가 설치되지 않았습니다."

LangString RestartToFinish ${LANG_ENGLISH} "Explorer is still using the previous menu extension. Restart Windows to finish the update of Lumeo."
LangString RestartToFinish ${LANG_GERMAN} "Der Explorer verwendet noch die bisherige Menüerweiterung. Starten Sie Windows neu, um die Aktualisierung von Lumeo abzuschließen."
LangString RestartToFinish ${LANG_FRENCH} "L'Explorateur utilise encore l'ancienne extension de menu. Redémarrez Windows pour terminer la mise à jour de Lumeo."
LangString RestartToFinish ${LANG_JAPANESE} "エクスプローラーが以前のメニュー拡張をまだ使用しています。Lumeo の更新を完了するには Windows を再起動してください。"
LangString RestartToFinish ${LANG_KOREAN} "탐색기가 아직 이전 메뉴 확장을 사용하고 있습니다. Lumeo 업데이트를 완료하려면 Windows를 다시 시작하십시오."

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

; Everything setup places, taken away again: the registration first, while Koretta.dll
; is there to say what it registered. A Koretta.dll that Explorer still holds goes at
; the next restart.
!macro REMOVE_PRODUCT un
Function ${un}RemoveProduct
  ; The folder cannot go while it is the working folder.
  SetOutPath "$TEMP"
  IfFileExists "$INSTDIR\Koretta.dll" 0 +2
    ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\Koretta.dll"'
  Delete /REBOOTOK "$INSTDIR\Koretta.dll"
  Delete "$INSTDIR\Lumeo.exe"
  Delete "$INSTDIR\LumeoCmd.exe"
  Delete "$INSTDIR\vnMUIDLL.dll"
  Delete "$INSTDIR\Lumeo.Ver"
  Delete "$INSTDIR\LOCAL_*.dat"
  Delete "$INSTDIR\HELP_*.chm"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
FunctionEnd
!macroend
!insertmacro REMOVE_PRODUCT ""
!insertmacro REMOVE_PRODUCT "un."

; Explorer may hold the Koretta.dll of an earlier installation. A loaded library cannot
; be overwritten, but it can be renamed: the renamed copy goes at the next restart.
Function MoveLoadedKorettaAside
  Delete "$INSTDIR\Koretta.dll"
  IfFileExists "$INSTDIR\Koretta.dll" 0 done
    GetTempFileName $1 "$INSTDIR"
    Delete $1
    Rename "$INSTDIR\Koretta.dll" $1
    Delete /REBOOTOK $1
  done:
FunctionEnd

Section "Lumeo" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  Call MoveLoadedKorettaAside
  File "${BINDIR}/Koretta.dll"
  File "${BINDIR}/Lumeo.exe"
  File "${BINDIR}/LumeoCmd.exe"
  File "${BINDIR}/vnMUIDLL.dll"
  File "${BINDIR}/Lumeo.Ver"
  File "${BINDIR}/LOCAL_*.dat"
  File "${BINDIR}/HELP_*.chm"

  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Koretta.dll"' $0
  StrCmp $0 "0" registered
    ; A setup that fails leaves nothing behind.
    Call RemoveProduct
    MessageBox MB_OK|MB_ICONSTOP "$(RegisterFailed)" /SD IDOK
    SetErrorLevel 2
    Abort
  registered:

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Lumeo.exe" "" "$INSTDIR\Lumeo.exe" 0

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumeo.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  IfRebootFlag 0 done
    MessageBox MB_OK|MB_ICONINFORMATION "$(RestartToFinish)" /SD IDOK
    SetErrorLevel 3010
  done:
SectionEnd

Section "Uninstall"
  Call un.RemoveProduct
SectionEnd
