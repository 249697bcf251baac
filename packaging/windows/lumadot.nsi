; The Lumadot installer, made from the staged zip folder by the build:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.1 -DLISTS=DIR -DICONS=DIR -DOUTFILE=setup.exe lumadot.nsi
; LISTS holds the lists nsis_lists.cmake writes. For the current user (the
; default, no administrator needed) or for all users: /CurrentUser or
; /AllUsers on the command line, /S for no questions, /D=FOLDER last.
; 64-bit, as the programs are: this wine, and many a Windows, runs no 32-bit program.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
Name "Lumadot ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Lumadot ${VERSION}"

!include "${LISTS}/defines.nsh"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumadot"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Lumadot"
; An uninstaller run without /AllUsers or /CurrentUser finds its mode here.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${ICONS}/lumadot.ico"
!define MUI_UNICON "${ICONS}/lumadot.ico"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Var GivenFolder
Function .onInit
  ; MultiUser sets the folder of the mode it picks: a folder given with /D= wins.
  StrCpy $GivenFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
  StrCmp $GivenFolder "" +2
  StrCpy $INSTDIR $GivenFolder
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section
  !include "${LISTS}/install.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  !include "${LISTS}/links.nsh"
  ; SHCTX: HKLM for all users, HKCU for one, as MultiUser set the shell's context.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Lumadot ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Lumadot 开发组"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${DISPLAY_ICON},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Exactly what the installer put there; a folder the user added files to stays, with them.
Section "Uninstall"
  !include "${LISTS}/unlinks.nsh"
  !include "${LISTS}/uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
