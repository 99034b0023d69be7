; Lumeo setup: places Lumeo, Koretta and their language and help files in one folder,
; registers the Explorer menu extension, adds a Start-menu shortcut and an uninstaller.
;   makensis -DBINDIR=<folder with the built files> -DOUTFILE=<setup.exe> -DVERSION=x.y.z lumeo.nsi
; Silent use: LumeoSetup.exe /S /D=C:\Program Files\Lumeo   and   Uninstall.exe /S

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
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Lumeo" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${BINDIR}/Koretta.dll"
  File /nonfatal "${BINDIR}/Lumeo.exe"
  File /nonfatal "${BINDIR}/vnMUIDLL.dll"
  File /nonfatal "${BINDIR}/Lumeo.Ver"
  File /nonfatal "${BINDIR}/LOCAL_*.dat"
  File /nonfatal "${BINDIR}/HELP_*.chm"

  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Koretta.dll"' $0
  StrCmp $0 "0" registered
    MessageBox MB_OK|MB_ICONSTOP "The Explorer menu extension could not be registered (error $0)." /SD IDOK
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
SectionEnd

Section "Uninstall"
  ; Unregister first, while Koretta.dll is still there to say what it registered.
  IfFileExists "$INSTDIR\Koretta.dll" 0 +2
    ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\Koretta.dll"'

  ; Explorer may still hold the extension: then it goes at the next restart.
  Delete /REBOOTOK "$INSTDIR\Koretta.dll"
  Delete "$INSTDIR\Lumeo.exe"
  Delete "$INSTDIR\vnMUIDLL.dll"
  Delete "$INSTDIR\Lumeo.Ver"
  Delete "$INSTDIR\LOCAL_*.dat"
  Delete "$INSTDIR\HELP_*.chm"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
