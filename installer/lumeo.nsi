; Lumeo setup: places Lumeo, Koretta and their language and help files in one folder,
; registers the Explorer menu extension, adds a Start-menu shortcut and an uninstaller.
;   makensis -INPUTCHARSET UTF8 -DBINDIR=<folder with the built files> -DOUTFILE=<setup.exe>
;            -DVERSION=x.y.z lumeo.nsi
; Silent use: LumeoSetup.exe /S [/LANGUAGE=EN|FN|GR|JP|KR] /D=C:\Program Files\Lumeo   and   Uninstall.exe /S
; (/LANGUAGE sets the language of every user of the machine, as LumeoSetup.msi's LANGUAGE does.)
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
  !error "VERSION must be the project's version"
!endif

!define PRODUCT "Lumeo"
!define PUBLISHER "Corvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

; The files setup places, and the only ones uninstall removes (LUMEO_FILES), and the MSI's
; upgrade code, from the list both installers are made from.
!tempfile LUMEO_FILES_NSH
!system 'python3 "${__FILEDIR__}/installers.py" nsis > "${LUMEO_FILES_NSH}"' = 0
!include "${LUMEO_FILES_NSH}"
!delfile "${LUMEO_FILES_NSH}"
!define LANGUAGE_KEY "SOFTWARE\KVQ\Lumeora"

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

LangString FolderHoldsOtherFiles ${LANG_ENGLISH} "The folder $INSTDIR holds $R1, which is not a file of Lumeo. Remove it or choose another folder. Lumeo was not installed."
LangString FolderHoldsOtherFiles ${LANG_GERMAN} "Der Ordner $INSTDIR enthält $R1, das nicht zu Lumeo gehört. Entfernen Sie es oder wählen Sie einen anderen Ordner. Lumeo wurde nicht installiert."
LangString FolderHoldsOtherFiles ${LANG_FRENCH} "Le dossier $INSTDIR contient $R1, qui n'est pas un fichier de Lumeo. Supprimez-le ou choisissez un autre dossier. Lumeo n'a pas été installé."
LangString FolderHoldsOtherFiles ${LANG_JAPANESE} "フォルダー $INSTDIR には Lumeo のファイルではない $R1 があります。これを削除するか、別のフォルダーを選んでください。Lumeo はインストールされませんでした。"
LangString FolderHoldsOtherFiles ${LANG_KOREAN} "$INSTDIR 폴더에 Lumeo 파일이 아닌 $R1이(가) 있습니다. 이를 삭제하거나 다른 폴더를 선택하십시오. Lumeo가 설치되지 않았습니다."

LangString FolderExists ${LANG_ENGLISH} "The folder $INSTDIR already exists and is not the folder of the Lumeo installed on this computer. Choose a folder that does not exist yet. Lumeo was not installed."
LangString FolderExists ${LANG_GERMAN} "Der Ordner $INSTDIR ist bereits vorhanden und ist nicht der Ordner des auf diesem Computer installierten Lumeo. Wählen Sie einen Ordner, den es noch nicht gibt. Lumeo wurde nicht installiert."
LangString FolderExists ${LANG_FRENCH} "Le dossier $INSTDIR existe déjà et n'est pas celui du Lumeo installé sur cet ordinateur. Choisissez un dossier qui n'existe pas encore. Lumeo n'a pas été installé."
LangString FolderExists ${LANG_JAPANESE} "フォルダー $INSTDIR は既に存在し、このコンピューターにインストールされている Lumeo のフォルダーではありません。まだ存在しないフォルダーを選んでください。Lumeo はインストールされませんでした。"
LangString FolderExists ${LANG_KOREAN} "$INSTDIR 폴더가 이미 있으며 이 컴퓨터에 설치된 Lumeo의 폴더가 아닙니다. 아직 없는 폴더를 선택하십시오. Lumeo가 설치되지 않았습니다."

LangString FolderIsLink ${LANG_ENGLISH} "$INSTDIR is a link to another folder. Choose a folder that is not a link. Lumeo was not installed."
LangString FolderIsLink ${LANG_GERMAN} "$INSTDIR ist eine Verknüpfung mit einem anderen Ordner. Wählen Sie einen Ordner, der keine Verknüpfung ist. Lumeo wurde nicht installiert."
LangString FolderIsLink ${LANG_FRENCH} "$INSTDIR est un lien vers un autre dossier. Choisissez un dossier qui n'est pas un lien. Lumeo n'a pas été installé."
LangString FolderIsLink ${LANG_JAPANESE} "$INSTDIR は別のフォルダーへのリンクです。リンクではないフォルダーを選んでください。Lumeo はインストールされませんでした。"
LangString FolderIsLink ${LANG_KOREAN} "$INSTDIR은(는) 다른 폴더에 대한 링크입니다. 링크가 아닌 폴더를 선택하십시오. Lumeo가 설치되지 않았습니다."

LangString InstalledByMsi ${LANG_ENGLISH} "Lumeo is installed on this computer from LumeoSetup.msi. Remove it first in Apps & features (or with msiexec /x $1), then run this setup again."
LangString InstalledByMsi ${LANG_GERMAN} "Lumeo ist auf diesem Computer aus LumeoSetup.msi installiert. Entfernen Sie es zuerst unter „Apps & Features“ (oder mit msiexec /x $1) und starten Sie dieses Setup dann erneut."
LangString InstalledByMsi ${LANG_FRENCH} "Lumeo est installé sur cet ordinateur à partir de LumeoSetup.msi. Supprimez-le d'abord dans Applications et fonctionnalités (ou avec msiexec /x $1), puis relancez cette installation."
LangString InstalledByMsi ${LANG_JAPANESE} "このコンピューターには LumeoSetup.msi から Lumeo がインストールされています。先に [アプリと機能] (または msiexec /x $1) で削除してから、このセットアップをもう一度実行してください。"
LangString InstalledByMsi ${LANG_KOREAN} "이 컴퓨터에는 LumeoSetup.msi로 Lumeo가 설치되어 있습니다. 먼저 [앱 및 기능]에서(또는 msiexec /x $1로) 제거한 다음 이 설치를 다시 실행하십시오."

LangString LanguageUnknown ${LANG_ENGLISH} "/LANGUAGE must be EN, FN, GR, JP or KR. Lumeo was not installed."
LangString LanguageUnknown ${LANG_GERMAN} "/LANGUAGE muss EN, FN, GR, JP oder KR sein. Lumeo wurde nicht installiert."
LangString LanguageUnknown ${LANG_FRENCH} "/LANGUAGE doit valoir EN, FN, GR, JP ou KR. Lumeo n'a pas été installé."
LangString LanguageUnknown ${LANG_JAPANESE} "/LANGUAGE には EN、FN、GR、JP、KR のいずれかを指定してください。Lumeo はインストールされませんでした。"
LangString LanguageUnknown ${LANG_KOREAN} "/LANGUAGE는 EN, FN, GR, JP 또는 KR이어야 합니다. Lumeo가 설치되지 않았습니다."

LangString FolderNotProtected ${LANG_ENGLISH} "The folder $1 could not be created or protected. Lumeo was not installed."
LangString FolderNotProtected ${LANG_GERMAN} "Der Ordner $1 konnte nicht angelegt oder geschützt werden. Lumeo wurde nicht installiert."
LangString FolderNotProtected ${LANG_FRENCH} "Le dossier $1 n'a pas pu être créé ou protégé. Lumeo n'a pas été installé."
LangString FolderNotProtected ${LANG_JAPANESE} "フォルダー $1 を作成または保護できませんでした。Lumeo はインストールされませんでした。"
LangString FolderNotProtected ${LANG_KOREAN} "$1 폴더를 만들거나 보호할 수 없습니다. Lumeo가 설치되지 않았습니다."

LangString FolderAboveOpen ${LANG_ENGLISH} "Users who are not administrators may change the folder $1, which would hold Lumeo. Choose a folder in Program Files, or one under folders only administrators may change. Lumeo was not installed."
LangString FolderAboveOpen ${LANG_GERMAN} "Benutzer ohne Administratorrechte können den Ordner $1 ändern, in dem Lumeo liegen würde. Wählen Sie einen Ordner unter „Programme“ oder unter Ordnern, die nur Administratoren ändern können. Lumeo wurde nicht installiert."
LangString FolderAboveOpen ${LANG_FRENCH} "Des utilisateurs qui ne sont pas administrateurs peuvent modifier le dossier $1, qui contiendrait Lumeo. Choisissez un dossier dans Program Files, ou sous des dossiers que seuls les administrateurs peuvent modifier. Lumeo n'a pas été installé."
LangString FolderAboveOpen ${LANG_JAPANESE} "管理者以外のユーザーが、Lumeo を入れるフォルダー $1 を変更できます。Program Files 内のフォルダー、または管理者だけが変更できるフォルダーの下を選んでください。Lumeo はインストールされませんでした。"
LangString FolderAboveOpen ${LANG_KOREAN} "관리자가 아닌 사용자가 Lumeo를 넣을 폴더 $1을(를) 변경할 수 있습니다. Program Files 안의 폴더나 관리자만 변경할 수 있는 폴더 아래를 선택하십시오. Lumeo가 설치되지 않았습니다."

LangString FolderPathInvalid ${LANG_ENGLISH} "$INSTDIR is not the full path of a folder on a drive, or has . or .. in it. Lumeo was not installed."
LangString FolderPathInvalid ${LANG_GERMAN} "$INSTDIR ist kein vollständiger Pfad eines Ordners auf einem Laufwerk oder enthält „.“ oder „..“. Lumeo wurde nicht installiert."
LangString FolderPathInvalid ${LANG_FRENCH} "$INSTDIR n'est pas le chemin complet d'un dossier sur un lecteur, ou contient « . » ou « .. ». Lumeo n'a pas été installé."
LangString FolderPathInvalid ${LANG_JAPANESE} "$INSTDIR はドライブ上のフォルダーの完全なパスではないか、「.」または「..」を含んでいます。Lumeo はインストールされませんでした。"
LangString FolderPathInvalid ${LANG_KOREAN} "$INSTDIR은(는) 드라이브에 있는 폴더의 전체 경로가 아니거나 . 또는 ..을 포함합니다. Lumeo가 설치되지 않았습니다."

LangString CannotReplace ${LANG_ENGLISH} "$INSTDIR\$0 is in use and could not be replaced. Close the programs that use it and run setup again. Lumeo was not installed."
LangString CannotReplace ${LANG_GERMAN} "$INSTDIR\$0 wird verwendet und konnte nicht ersetzt werden. Schließen Sie die Programme, die die Datei verwenden, und starten Sie das Setup erneut. Lumeo wurde nicht installiert."
LangString CannotReplace ${LANG_FRENCH} "$INSTDIR\$0 est en cours d'utilisation et n'a pas pu être remplacé. Fermez les programmes qui l'utilisent et relancez l'installation. Lumeo n'a pas été installé."
LangString CannotReplace ${LANG_JAPANESE} "$INSTDIR\$0 は使用中のため置き換えられませんでした。使用しているプログラムを閉じてから、もう一度セットアップを実行してください。Lumeo はインストールされませんでした。"
LangString CannotReplace ${LANG_KOREAN} "$INSTDIR\$0 파일이 사용 중이어서 바꿀 수 없습니다. 이 파일을 사용하는 프로그램을 닫고 설치를 다시 실행하십시오. Lumeo가 설치되지 않았습니다."

Var Earlier  ; during an update: the folder that holds the earlier installation's files
Var Failed   ; the first file that could not be moved aside or placed
Var MachineLanguage ; /LANGUAGE=, the language of every user of the machine; empty: each user's own

Function .onInit
  SetShellVarContext all
  SetRegView 64
  ; The MSI of Lumeo and this setup would each take the other's files for their own.
  System::Call '$SYSDIR\msi::MsiEnumRelatedProductsW(w "${UPGRADE_CODE}", i 0, i 0, w .r1) i .r0'
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "$(InstalledByMsi)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LANGUAGE=" $MachineLanguage
  ${If} ${Errors}
    StrCpy $MachineLanguage ""
  ${ElseIf} $MachineLanguage != "EN"
  ${AndIf} $MachineLanguage != "FN"
  ${AndIf} $MachineLanguage != "GR"
  ${AndIf} $MachineLanguage != "JP"
  ${AndIf} $MachineLanguage != "KR"
    MessageBox MB_OK|MB_ICONSTOP "$(LanguageUnknown)" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

; ---- the install folder ------------------------------------------------------------

; Explorer loads Koretta.dll for every user and the elevated uninstaller runs from this
; folder: only administrators and the system may change it, or any folder above it
; (LumeoSetupHelper.dll checks them, makes the missing ones and protects the folder).
; A folder that exists is taken only when the machine's installation record names it: any
; other may hold files a user put there (a VERSION.dll beside Lumeo.exe would be loaded by
; every user). A link is refused, since what it points to can change after the check.
; With the folder protected, an entry that is not Lumeo's is refused.

!macro REFUSE text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

; $R2 1 when $R1 is the name of a file of Lumeo.
!macro IS_LUMEO_FILE name
  ${If} $R1 == "${name}"
    StrCpy $R2 1
  ${EndIf}
!macroend

Function PrepareFolder
  System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR") i .r0'
  ${If} $0 <> -1
    IntOp $1 $0 & 0x400 ; FILE_ATTRIBUTE_REPARSE_POINT
    ${If} $1 <> 0
      !insertmacro REFUSE "$(FolderIsLink)"
    ${EndIf}
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 == ""
    ${OrIf} $1 != $INSTDIR
      !insertmacro REFUSE "$(FolderExists)"
    ${EndIf}
  ${EndIf}
  InitPluginsDir
  File "/oname=$PLUGINSDIR\LumeoSetupHelper.dll" "${BINDIR}/LumeoSetupHelper.dll"
  StrCpy $0 3
  StrCpy $1 $INSTDIR
  System::Call 'kernel32::LoadLibraryW(w "$PLUGINSDIR\LumeoSetupHelper.dll") p .r2'
  ${If} $2 != 0
    System::Call 'LumeoSetupHelper::PrepareFolder(w "$INSTDIR", w .r1, i ${NSIS_MAX_STRLEN}) i .r0'
    System::Call 'kernel32::FreeLibrary(p r2)'
  ${EndIf}
  ${If} $0 == 1
    !insertmacro REFUSE "$(FolderPathInvalid)"
  ${ElseIf} $0 == 2
    !insertmacro REFUSE "$(FolderAboveOpen)"
  ${ElseIf} $0 != 0
    !insertmacro REFUSE "$(FolderNotProtected)"
  ${EndIf}
  FindFirst $R0 $R1 "$INSTDIR\*.*"
  ${DoWhile} $R1 != ""
    StrCpy $R2 0
    !insertmacro LUMEO_FILES IS_LUMEO_FILE
    ${If} $R1 == "."
    ${OrIf} $R1 == ".."
    ${OrIf} $R1 == "Uninstall.dat"
      StrCpy $R2 1
    ${EndIf}
    ; An earlier installation's files, still held by Explorer, wait for a restart in ns*.tmp.
    StrCpy $3 $R1 2
    StrCpy $4 $R1 "" -4
    System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR\$R1") i .r5'
    IntOp $5 $5 & 0x410 ; directory, not a reparse point
    ${If} $3 == "ns"
    ${AndIf} $4 == ".tmp"
    ${AndIf} $5 = 0x10
      StrCpy $R2 1
    ${EndIf}
    ${If} $R2 == 0
      FindClose $R0
      !insertmacro REFUSE "$(FolderHoldsOtherFiles)"
    ${EndIf}
    FindNext $R0 $R1
  ${Loop}
  FindClose $R0
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

; Once the new files are placed, a file the earlier installation did not have goes too.
!macro RESTORE_EARLIER name
  ${If} ${FileExists} "$Earlier\${name}"
    Delete "$INSTDIR\${name}"
    Rename "$Earlier\${name}" "$INSTDIR\${name}"
  ${Else}
    Delete "$INSTDIR\${name}"
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

Function RestoreEarlier
  !insertmacro LUMEO_FILES RESTORE_EARLIER
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
  ; The folder cannot go while it is the working folder; regsvr32 starts in one no user can write.
  SetOutPath "$SYSDIR"
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
  ${If} $MachineLanguage != ""
    WriteRegStr HKLM "${LANGUAGE_KEY}" "KVQLangCode" $MachineLanguage
  ${EndIf}

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
    Call RestoreEarlier
    ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Koretta.dll"'
  ${EndIf}
  SetErrorLevel 2
  Abort
SectionEnd

Section "Uninstall"
  ; Uninstall.exe waits for this copy and runs from the folder: a running program cannot
  ; be deleted, but it can be moved, here into the protected folder of this copy, which
  ; Uninstall.exe empties when it ends (it knows this name). Where that fails, it goes at
  ; the next restart.
  Rename "$INSTDIR\Uninstall.exe" "$EXEDIR\Lumeo Uninstall.exe"
  Call un.RemovePlaced
  Delete "$INSTDIR\Uninstall.dat"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegValue HKLM "${LANGUAGE_KEY}" "KVQLangCode"
  DeleteRegKey /ifempty HKLM "${LANGUAGE_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\KVQ"
  ; Files of others stay, and with them the folder.
  RMDir "$INSTDIR"
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "$INSTDIR"
    MessageBox MB_OK|MB_ICONINFORMATION "$(RestartToFinishRemoval)" /SD IDOK
    SetErrorLevel 3010
  ${EndIf}
SectionEnd
