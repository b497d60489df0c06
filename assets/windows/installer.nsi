; The Windows installer, made by the build with makensis (ui/win32/CMakeLists.txt):
;   makensis -DVERSION=<version> -DVERSION_FOUR=<a.b.c.d> -DPROGRAM=karvelo.exe -DREADME=README.txt -DOUTFILE=setup.exe installer.nsi
; It installs for the user who runs it, without asking for administrator rights: the
; program and its README under %LOCALAPPDATA%\Programs\Karvelo, an uninstaller beside
; them, a Start-menu entry, and the entry in the list of installed programs.
; Uninstalling removes exactly these. The player's settings and statistics, under
; HKCU\Software\VB and VBA Program Settings\Karvelo, are the player's and stay.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"

!define APP "Karvelo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Karvelo"
!define UNINSTALLER "Avinstallera Karvelo.exe"
!define SHORTCUT "$SMPROGRAMS\Karvelo.lnk"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Karvelo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VERSION_FOUR}"
VIAddVersionKey /LANG=1053 "ProductName" "${APP}"
VIAddVersionKey /LANG=1053 "FileDescription" "Installationsprogram för ${APP}"
VIAddVersionKey /LANG=1053 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1053 "LegalCopyright" "${APP}"

!define MUI_ICON "${__FILEDIR__}\..\ikon\karvelo.ico"
!define MUI_UNICON "${__FILEDIR__}\..\ikon\karvelo.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\karvelo.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Swedish"

Section "Karvelo"
  SetOutPath "$INSTDIR"
  File "/oname=karvelo.exe" "${PROGRAM}"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\karvelo.exe" "" "$INSTDIR\karvelo.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\karvelo.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\karvelo.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  ; The per-user programs folder too, if this left it empty (it may have made it).
  RMDir "$LOCALAPPDATA\Programs"
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; HKCU\Software\VB and VBA Program Settings\Karvelo is left alone on purpose: the
  ; player's statistics outlive the program.
SectionEnd
