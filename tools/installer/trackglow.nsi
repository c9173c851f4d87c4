; Trackglow's installer: a per-user installation (no administrator rights)
; into %LOCALAPPDATA%\Programs\Trackglow, with a Start-menu entry, an
; optional start with Windows and an uninstaller registered for the user.
;
; Built by tools/installer/package.cmake, which passes:
;   VERSION    the program's version (1.1.0)
;   STAGE      the folder holding what is installed (trackglow.exe, interface\,
;              README.txt, LICENSE)
;   FILES_NSH  the generated macros TG_INSTALL_SKINS and TG_UNINSTALL_SKINS,
;              one File or Delete line per shipped skin file
;   ICON       the program's icon
;   OUTFILE    the installer to write

!ifndef VERSION | STAGE | FILES_NSH | ICON | OUTFILE
    !error "VERSION, STAGE, FILES_NSH, ICON and OUTFILE must be defined"
!endif

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "${FILES_NSH}"

!define PRODUCT "Trackglow"
!define PUBLISHER "Trackglow contributors"
!define EXE "trackglow.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An update goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "MIT licence, ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; --- Installation -------------------------------------------------------------

Section "-${PRODUCT}" SecProgram
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}/${EXE}"
    File "${STAGE}/README.txt"
    File "${STAGE}/LICENSE"
    ; No settings.ini is shipped: an update keeps the user's, and a first
    ; start writes the defaults.
    !insertmacro TG_INSTALL_SKINS

    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; A tray utility is meant to be there whenever music plays, so this is on
; unless the user unticks it.
Section "Start with Windows" SecAutostart
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}"'
SectionEnd

; Unticked on an update: a start-up entry the user removed stays removed.
Section "-Forget the start-up entry" SecNoAutostart
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
SectionEnd

; --- Uninstallation -----------------------------------------------------------

Section "-un.${PRODUCT}" UnSecProgram
    SetShellVarContext current
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    Delete "${SHORTCUT}"

    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE"
    ; A save cut short may have left its temporary file behind.
    Delete "$INSTDIR\settings.ini.tmp"
    ; Only the skins we shipped: skins the user added stay, and so do the
    ; folders that still hold them.
    !insertmacro TG_UNINSTALL_SKINS
SectionEnd

; Off by default: the settings survive for a later installation.
Section /o "un.Settings" UnSecSettings
    Delete "$INSTDIR\settings.ini"
SectionEnd

; Last of all, so that the key's absence means the uninstallation is over.
Section "-un.Registration" UnSecRegistration
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
    ; /REMOVESETTINGS ticks "Settings" for an unattended uninstallation.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${UnSecSettings}
    ${EndIf}
FunctionEnd
