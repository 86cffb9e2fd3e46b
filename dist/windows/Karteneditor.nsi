; The setup program for Windows, made by makensis with these definitions (dist/windows/CMakeLists.txt):
;   VERSION    the version, such as 1.0
;   PUBLISHER  who publishes it
;   STAGE      the folder of the files to install; STAGE.install.nsh and STAGE.uninstall.nsh
;              list them (package_windows.py)
;   ICON       the editor's icon
;   OUTFILE    the setup program to write
;
; It installs for the current user without administrator rights ($LOCALAPPDATA\Programs), or
; for all users of the computer when asked: by /ALLUSERS on the command line, or on its first
; page, which an administrator sees. /S installs without a window. The Start menu entry starts
; the editor in the user's data folder (%APPDATA%\Karteneditor), whose first start copies the
; sample maps there; the uninstaller removes the installed files and never touches that folder.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Karteneditor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Karteneditor"
!define UNINSTALLER "Deinstallieren.exe"
!define SHORTCUT "$SMPROGRAMS\Karteneditor.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

; The choice between the current user and all users. An administrator runs the setup elevated
; (Windows asks first) and may choose; any other user installs for himself without a question.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "Karteneditor"
!define MULTIUSER_USE_PROGRAMFILES64
; A new version installs where the one before it is: the uninstall key says for whom.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!define MULTIUSER_INIT_TEXT_ADMINREQUIRED "$(^Caption) braucht Administratorrechte."
!define MULTIUSER_INIT_TEXT_POWERREQUIRED "$(^Caption) braucht mindestens die Rechte eines Hauptbenutzers."
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "Für alle Benutzer dieses Computers kann nur ein Administrator $(^Name) einrichten oder entfernen. Starten Sie das Programm als Administrator."
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\mapeditor.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--data-folder"
!define MUI_FINISHPAGE_RUN_TEXT "Karteneditor starten"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LIESMICH.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "LIESMICH.txt lesen"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "${PRODUCT} ${VERSION} einrichten"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "${PUBLISHER}"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Karteneditor"
    SectionIn RO
    !include "${STAGE}.install.nsh"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    SetOutPath "$INSTDIR"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\mapeditor.exe" "--data-folder" \
        "$INSTDIR\mapeditor.exe" 0 SW_SHOWNORMAL "" "Karten bearbeiten"

    ; The entry under installed programs, in the hive of the chosen users; the uninstaller is
    ; told whose installation it removes.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\mapeditor.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${PACKAGE_SIZE_KB}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ; Only what the setup installed: maps the user saved beside the program stay, with their
    ; folders, and the data folder is never touched.
    !include "${STAGE}.uninstall.nsh"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
