; Lumeo setup: places Lumeo, Koretta and their language and help files in one folder,
; registers the Explorer menu extension, adds a Start-menu shortcut and an uninstaller.
;   makensis -INPUTCHARSET UTF8 -DBINDIR=<folder with the built files> -DOUTFILE=<setup.exe>
;            -DVERSION=x.y.z lumeo.nsi
; Silent use: LumeoSetup.exe /S /D=C:\Program Files\Lumeo   and   Uninstall.exe /S
; Exit codes of both: 0 done; 2 not done (an update that fails leaves the earlier
; installation as it was); 3010 done, but a restart finishes it (Explorer still holds the
; menu extension).

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

; The files setup places, and the only ones uninstall removes: one line per file.
!macro LUMEO_FILES _action
  !insertmacro ${_action} "Koretta.dll"
  !insertmacro ${_action} "Lumeo.exe"
  !insertmacro ${_action} "LumeoCmd.exe"
  !insertmacro ${_action} "vnMUIDLL.dll"
  !insertmacro ${_action} "Uninstall.exe"
  !insertmacro ${_action} "Lumeo.Ver"
  !insertmacro ${_action} "LOCAL_EN.dat"
  !insertmacro ${_action} "LOCAL_FN.dat"
  !insertmacro ${_action} "LOCAL_GR.dat"
  !insertmacro ${_action} "LOCAL_JP.dat"
  !insertmacro ${_action} "LOCAL_KR.dat"
  !insertmacro ${_action} "HELP_EN.chm"
  !insertmacro ${_action} "HELP_FN.chm"
  !insertmacro ${_action} "HELP_GR.chm"
  !insertmacro ${_action} "HELP_JP.chm"
  !insertmacro ${_action} "HELP_KR.chm"
!macroend

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

!include "LogicLib.nsh"
!include "FileFunc.nsh"
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

LangString RestartToFinishRemoval ${LANG_ENGLISH} "Explorer is still using the menu extension. Restart Windows to finish removing Lumeo."
LangString RestartToFinishRemoval ${LANG_GERMAN} "Der Explorer verwendet noch die Menüerweiterung. Starten Sie Windows neu, um das Entfernen von Lumeo abzuschließen."
LangString RestartToFinishRemoval ${LANG_FRENCH} "L'Explorateur utilise encore l'extension de menu. Redémarrez Windows pour terminer la suppression de Lumeo."
LangString RestartToFinishRemoval ${LANG_JAPANESE} "エクスプローラーがメニュー拡張をまだ使用しています。Lumeo の削除を完了するには Windows を再起動してください。"
LangString RestartToFinishRemoval ${LANG_KOREAN} "탐색기가 아직 메뉴 확장을 사용하고 있습니다. Lumeo 제거를 완료하려면 Windows를 다시 시작하십시오."

LangString FolderHoldsOtherFiles ${LANG_ENGLISH} "The folder $INSTDIR holds other files. Choose an empty folder or the folder of an earlier Lumeo."
LangString FolderHoldsOtherFiles ${LANG_GERMAN} "Der Ordner $INSTDIR enthält andere Dateien. Wählen Sie einen leeren Ordner oder den Ordner einer früheren Lumeo-Installation."
LangString FolderHoldsOtherFiles ${LANG_FRENCH} "Le dossier $INSTDIR contient d'autres fichiers. Choisissez un dossier vide ou le dossier d'une installation précédente de Lumeo."
LangString FolderHoldsOtherFiles ${LANG_JAPANESE} "フォルダー $INSTDIR には他のファイルがあります。空のフォルダーか、以前の Lumeo のフォルダーを選んでください。"
LangString FolderHoldsOtherFiles ${LANG_KOREAN} "$INSTDIR 폴더에 다른 파일이 있습니다. 빈 폴더나 이전 Lumeo의 폴더를 선택하십시오."

LangString FolderNotProtected ${LANG_ENGLISH} "The folder $INSTDIR could not be created or protected (error $0). Lumeo was not installed."
LangString FolderNotProtected ${LANG_GERMAN} "Der Ordner $INSTDIR konnte nicht angelegt oder geschützt werden (Fehler $0). Lumeo wurde nicht installiert."
LangString FolderNotProtected ${LANG_FRENCH} "Le dossier $INSTDIR n'a pas pu être créé ou protégé (erreur $0). Lumeo n'a pas été installé."
LangString FolderNotProtected ${LANG_JAPANESE} "フォルダー $INSTDIR を作成または保護できませんでした (エラー $0)。Lumeo はインストールされませんでした。"
LangString FolderNotProtected ${LANG_KOREAN} "$INSTDIR 폴더를 만들거나 보호할 수 없습니다 (오류 $0). Lumeo가 설치되지 않았습니다."

LangString CannotReplace ${LANG_ENGLISH} "$INSTDIR\$0 is in use and could not be replaced. Close the programs that use it and run setup again. Lumeo was not installed."
LangString CannotReplace ${LANG_GERMAN} "$INSTDIR\$0 wird verwendet und konnte nicht ersetzt werden. Schließen Sie die Programme, die die Datei verwenden, und starten Sie das Setup erneut. Lumeo wurde nicht installiert."
LangString CannotReplace ${LANG_FRENCH} "$INSTDIR\$0 est en cours d'utilisation et n'a pas pu être remplacé. Fermez les programmes qui l'utilisent et relancez l'installation. Lumeo n'a pas été installé."
LangString CannotReplace ${LANG_JAPANESE} "$INSTDIR\$0 は使用中のため置き換えられませんでした。使用しているプログラムを閉じてから、もう一度セットアップを実行してください。Lumeo はインストールされませんでした。"
LangString CannotReplace ${LANG_KOREAN} "$INSTDIR\$0 파일이 사용 중이어서 바꿀 수 없습니다. 이 파일을 사용하는 프로그램을 닫고 설치를 다시 실행하십시오. Lumeo가 설치되지 않았습니다."

Var Earlier  ; during an update: the folder that holds the earlier installation's files
Var Failed   ; the first file that could not be moved aside or placed

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

; ---- the install folder ------------------------------------------------------------

; Explorer loads Koretta.dll for every user and the elevated uninstaller runs from this
; folder: only administrators and the system may change it, whatever its parent allows.
; A folder that holds other files (and no earlier Lumeo) is refused, since uninstall would
; leave them in a folder users can no longer change.
Function PrepareFolder
  ${If} ${FileExists} "$INSTDIR\*.*"
    ${DirState} "$INSTDIR" $0
    ${If} $0 == 1
    ${AndIfNot} ${FileExists} "$INSTDIR\Lumeo.exe"
      MessageBox MB_OK|MB_ICONSTOP "$(FolderHoldsOtherFiles)" /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${Else}
    CreateDirectory "$INSTDIR"
  ${EndIf}
  ; Owner Administrators; protected DACL: SYSTEM and Administrators full control, Users read and execute.
  StrCpy $0 "?"
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", i 1, *p .r1, p 0) i .r2'
  ${If} $2 != 0
    System::Call 'advapi32::GetSecurityDescriptorOwner(p r1, *p .r3, *i .r5) i .r2'
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r5, *p .r4, *i .r5) i .r2'
    ; OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i 1, i 0x80000005, p r3, p 0, p r4, p 0) i .r0'
    System::Call 'kernel32::LocalFree(p r1)'
  ${EndIf}
  ${If} $0 != 0
    RMDir "$INSTDIR"
    MessageBox MB_OK|MB_ICONSTOP "$(FolderNotProtected)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

; ---- an update: the earlier files aside, and back when it fails ----------------------

; A loaded library cannot be overwritten, but it can be renamed: every file of an earlier
; installation moves into a folder of its own, which a failed update empties again.
!macro MOVE_ASIDE name
  ${If} $Failed == ""
  ${AndIf} ${FileExists} "$INSTDIR\${name}"
    ClearErrors
    Rename "$INSTDIR\${name}" "$Earlier\${name}"
    ${If} ${Errors}
      StrCpy $Failed "${name}"
    ${EndIf}
  ${EndIf}
!macroend

!macro PUT_BACK name
  ${If} ${FileExists} "$Earlier\${name}"
    Delete "$INSTDIR\${name}"
    Rename "$Earlier\${name}" "$INSTDIR\${name}"
  ${EndIf}
!macroend

; A file Explorer still holds goes at the next restart.
!macro DROP_EARLIER name
  Delete /REBOOTOK "$Earlier\${name}"
!macroend

Function MoveEarlierAside
  StrCpy $Earlier ""
  StrCpy $Failed ""
  ${IfNot} ${FileExists} "$INSTDIR\Lumeo.exe"
    Return
  ${EndIf}
  GetTempFileName $Earlier "$INSTDIR"
  Delete $Earlier
  CreateDirectory $Earlier
  !insertmacro LUMEO_FILES MOVE_ASIDE
  ${If} $Failed != ""
    Call PutEarlierBack
    StrCpy $0 $Failed
    MessageBox MB_OK|MB_ICONSTOP "$(CannotReplace)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

Function PutEarlierBack
  !insertmacro LUMEO_FILES PUT_BACK
  RMDir $Earlier
FunctionEnd

Function DropEarlier
  ${If} $Earlier != ""
    !insertmacro LUMEO_FILES DROP_EARLIER
    RMDir /REBOOTOK $Earlier
  ${EndIf}
FunctionEnd

; ---- placing and removing the files ----------------------------------------------------

!macro PLACE_FILE name
  ClearErrors
  File "${BINDIR}/${name}"
  ${If} ${Errors}
  ${AndIf} $Failed == ""
    StrCpy $Failed "${name}"
  ${EndIf}
!macroend

!macro REMOVE_FILE name
  Delete /REBOOTOK "$INSTDIR\${name}"
!macroend

; The placed files and Koretta's registration, taken away again: the registration first,
; while Koretta.dll is there to say what it registered. A file that is still in use goes
; at the next restart.
!macro REMOVE_PLACED un
Function ${un}RemovePlaced
  ; The folder cannot go while it is the working folder.
  SetOutPath "$TEMP"
  ${If} ${FileExists} "$INSTDIR\Koretta.dll"
    ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\Koretta.dll"'
  ${EndIf}
  !insertmacro LUMEO_FILES REMOVE_FILE
FunctionEnd
!macroend
!insertmacro REMOVE_PLACED ""
!insertmacro REMOVE_PLACED "un."

Section "Lumeo" SecMain
  SectionIn RO
  Call PrepareFolder
  Call MoveEarlierAside
  SetOutPath "$INSTDIR"
  ; A file that cannot be written is reported below, not asked about.
  SetOverwrite try
  !insertmacro LUMEO_FILES PLACE_FILE
  SetOverwrite on
  ${If} $Failed != ""
    StrCpy $0 $Failed
    MessageBox MB_OK|MB_ICONSTOP "$(CannotReplace)" /SD IDOK
    Goto failed
  ${EndIf}
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Koretta.dll"' $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "$(RegisterFailed)" /SD IDOK
    Goto failed
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Lumeo.exe" "" "$INSTDIR\Lumeo.exe" 0

  ; Uninstall.exe runs this uninstaller from a copy and waits for it.
  WriteUninstaller "$INSTDIR\Uninstall.dat"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumeo.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  Call DropEarlier
  ${If} ${RebootFlag}
    MessageBox MB_OK|MB_ICONINFORMATION "$(RestartToFinish)" /SD IDOK
    SetErrorLevel 3010
  ${EndIf}
  Return

failed:
  ${If} $Earlier == ""
    ; A first installation that fails leaves nothing behind.
    Call RemovePlaced
    RMDir "$INSTDIR"
  ${Else}
    ; An update that fails leaves the earlier installation as it was, registration included.
    Call PutEarlierBack
    ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Koretta.dll"'
  ${EndIf}
  SetErrorLevel 2
  Abort
SectionEnd

Section "Uninstall"
  ; Uninstall.exe waits for this copy and runs from the folder: a running program cannot
  ; be deleted, but it can be moved, here into the temporary folder of this copy, which it
  ; empties when it ends. Where that fails, it goes at the next restart.
  Rename "$INSTDIR\Uninstall.exe" "$EXEDIR\Lumeo Uninstall.exe"
  Call un.RemovePlaced
  Delete "$INSTDIR\Uninstall.dat"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Files of others stay, and with them the folder.
  RMDir "$INSTDIR"
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "$INSTDIR"
    MessageBox MB_OK|MB_ICONINFORMATION "$(RestartToFinishRemoval)" /SD IDOK
    SetErrorLevel 3010
  ${EndIf}
SectionEnd
