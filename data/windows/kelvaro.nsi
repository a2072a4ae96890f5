; The Windows installer of Kelvaro: a per-user install that needs no
; administrator, with a Start menu entry, the .ref form type and an entry in
; Apps & features. scripts/package-windows runs makensis with
;   KELVARO_VERSION   the release number, e.g. 1.0.0
;   KELVARO_STAGE     the folder holding exactly what is installed
;   KELVARO_OUTFILE   the installer to write
;   KELVARO_ICON      the program's icon, for the installer and uninstaller
;   KELVARO_REMOVALS  a generated list of Delete and RMDir lines, one for every
;                     file and folder of the stage, deepest first
; /S installs and uninstalls silently.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include "MUI2.nsh"

!define APP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaro"
!define FORM_CLASS "Kelvaro.Form"

Name "Kelvaro ${KELVARO_VERSION}"
OutFile "${KELVARO_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kelvaro"
InstallDirRegKey HKCU "${APP_KEY}" "InstallLocation"
VIProductVersion "${KELVARO_VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "Kelvaro"
VIAddVersionKey /LANG=1041 "FileDescription" "Kelvaro セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${KELVARO_VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${KELVARO_VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (c) 2026 The Kelvaro developers"

!define MUI_ICON "${KELVARO_ICON}"
!define MUI_UNICON "${KELVARO_ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kelvaro.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Kelvaro"
  SetOutPath "$INSTDIR"
  File /r "${KELVARO_STAGE}\*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Kelvaro.lnk" "$INSTDIR\Kelvaro.exe"

  ; The form files open in Kelvaro and show its icon. Per user, so no
  ; administrator is needed and other users keep their own choice.
  WriteRegStr HKCU "Software\Classes\.ref" "" "${FORM_CLASS}"
  WriteRegStr HKCU "Software\Classes\${FORM_CLASS}" "" "Kelvaro フォーム"
  WriteRegStr HKCU "Software\Classes\${FORM_CLASS}\DefaultIcon" "" '"$INSTDIR\Kelvaro.exe",0'
  WriteRegStr HKCU "Software\Classes\${FORM_CLASS}\shell\open\command" "" '"$INSTDIR\Kelvaro.exe" "%1"'

  WriteRegStr HKCU "${APP_KEY}" "DisplayName" "Kelvaro"
  WriteRegStr HKCU "${APP_KEY}" "DisplayVersion" "${KELVARO_VERSION}"
  WriteRegStr HKCU "${APP_KEY}" "Publisher" "The Kelvaro developers"
  WriteRegStr HKCU "${APP_KEY}" "DisplayIcon" '"$INSTDIR\Kelvaro.exe",0'
  WriteRegStr HKCU "${APP_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${APP_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${APP_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${APP_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${APP_KEY}" "NoRepair" 1

  ; Explorer shows the new icon without a new login (SHCNE_ASSOCCHANGED).
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Kelvaro.lnk"

  ; The form type only while it is still ours: another program may have
  ; taken .ref since.
  ReadRegStr $0 HKCU "Software\Classes\.ref" ""
  StrCmp $0 "${FORM_CLASS}" 0 +2
    DeleteRegKey HKCU "Software\Classes\.ref"
  DeleteRegKey HKCU "Software\Classes\${FORM_CLASS}"
  DeleteRegKey HKCU "${APP_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; Exactly what was installed, by name: a form or a template the user put
  ; into the program's folder stays, and so does the folder around it.
  !include "${KELVARO_REMOVALS}"
  ; The program's own state beside it (journals of a portable run).
  RMDir /r "$INSTDIR\State"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
