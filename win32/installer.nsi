; The Windows installer, made on Debian by makensis (cmake/windows_packages.cmake makes the
; header it reads: version, publisher, the files to install). It installs for the current user
; alone, without administrator rights, into %LOCALAPPDATA%\Programs\Quillon: a Start-menu entry,
; a desktop icon if chosen, an entry in Apps & features with the uninstaller, and Quillon among
; the programs that open .txt and .qs files, never as their default. /S installs silently (with
; the desktop icon), /D=FOLDER elsewhere; the uninstaller takes /S too.
Unicode true
Target amd64-unicode
!include "${HEADER}"
!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"
!define PROG_ID "Quillon.Script"
!define DISPLAY_NAME "Quillon 密评算分器"

Name "Quillon ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quillon"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "Quillon ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillon.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "Quillon"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${DISPLAY_NAME} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "${COPYRIGHT}"

Section "Quillon 窗口、命令行工具与帮助页" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro INSTALL_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quillon.lnk" "$INSTDIR\quillon.exe" "" "$INSTDIR\quillon.exe" 0 SW_SHOWNORMAL "" "${DISPLAY_NAME}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  ; "Open with": the program and a type of its own, named in each extension's list; the
  ; extension's default stays whatever it was.
  WriteRegStr HKCU "Software\Classes\Applications\quillon.exe" "FriendlyAppName" "${DISPLAY_NAME}"
  WriteRegStr HKCU "Software\Classes\Applications\quillon.exe\SupportedTypes" ".txt" ""
  WriteRegStr HKCU "Software\Classes\Applications\quillon.exe\SupportedTypes" ".qs" ""
  WriteRegStr HKCU "Software\Classes\Applications\quillon.exe\shell\open\command" "" '"$INSTDIR\quillon.exe" "%1"'
  WriteRegStr HKCU "Software\Classes\${PROG_ID}" "" "Quillon 脚本"
  WriteRegStr HKCU "Software\Classes\${PROG_ID}\DefaultIcon" "" "$INSTDIR\quillon.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROG_ID}\shell\open\command" "" '"$INSTDIR\quillon.exe" "%1"'
  WriteRegNone HKCU "Software\Classes\.txt\OpenWithProgids" "${PROG_ID}"
  WriteRegNone HKCU "Software\Classes\.qs\OpenWithProgids" "${PROG_ID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; SHCNE_ASSOCCHANGED

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "桌面快捷方式" SectionDesktop
  CreateShortcut "$DESKTOP\Quillon.lnk" "$INSTDIR\quillon.exe" "" "$INSTDIR\quillon.exe" 0 SW_SHOWNORMAL "" "${DISPLAY_NAME}"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} "窗口 quillon.exe、命令行工具 quillon-score.exe 与帮助页；开始菜单中的 Quillon，以及 .txt 与 .qs 文件“打开方式”中的 Quillon。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionDesktop} "在桌面上放一个 Quillon 图标。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Removes what the installer put there and nothing else: files of the user's own in the folder
; keep it.
Section "Uninstall"
  !insertmacro REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Quillon.lnk"
  Delete "$DESKTOP\Quillon.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Classes\Applications\quillon.exe"
  DeleteRegKey HKCU "Software\Classes\${PROG_ID}"
  DeleteRegValue HKCU "Software\Classes\.txt\OpenWithProgids" "${PROG_ID}"
  DeleteRegKey /ifempty HKCU "Software\Classes\.txt\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "Software\Classes\.txt"
  DeleteRegValue HKCU "Software\Classes\.qs\OpenWithProgids" "${PROG_ID}"
  DeleteRegKey /ifempty HKCU "Software\Classes\.qs\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "Software\Classes\.qs"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
