; The setup program of the Windows build: Korvex for the current user
; without administrator rights (the user's local programs folder, the registry
; under HKCU), or for all users when run as administrator (Program Files,
; HKLM). /CurrentUser and /AllUsers choose either way; /S runs silently and
; /D=FOLDER installs there. The setup and the uninstaller speak the system's
; language where it is German or Danish, English otherwise.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=1.3 -DVERSION_QUAD=1.3.0.0 -DPROGRAMS=DIR
;          -DREADME=FILE -DICON=FILE -DOUTFILE=FILE korvex-setup.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; No prompt for rights: users install for themselves; "Run as administrator"
; installs for all users.
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinCore.nsh
!include Integration.nsh

!define PRODUCT Korvex
!define PROGID Korvex.DataFile
!define UNINSTALL_KEY Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvex
; Text 301 of korvex.exe: the file type's name in the language Windows shows.
!define TYPE_NAME_RESOURCE -301

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}

Var AllUsers ; 1 when installing for (or removing from) all users

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\korvex.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS --desktop
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE English
!insertmacro MUI_LANGUAGE German
!insertmacro MUI_LANGUAGE Danish

VIAddVersionKey /LANG=${LANG_ENGLISH} ProductName "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileDescription "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} LegalCopyright "The Korvex developers"

LangString TYPE_NAME ${LANG_ENGLISH} "Korvex data file"
LangString TYPE_NAME ${LANG_GERMAN} "Korvex-Datendatei"
LangString TYPE_NAME ${LANG_DANISH} "Korvex-datafil"
LangString SHORTCUT_COMMENT ${LANG_ENGLISH} "Download, chart and keep the logged values of a T596 power data logger"
LangString SHORTCUT_COMMENT ${LANG_GERMAN} "Die Messwerte eines T596-Leistungsdatenloggers herunterladen, als Diagramm zeigen und sichern"
LangString SHORTCUT_COMMENT ${LANG_DANISH} "Hent, vis og gem de loggede værdier fra en T596 effektdatalogger"
LangString ALL_USERS_NEED_ADMIN ${LANG_ENGLISH} "Installing Korvex for all users needs administrator rights."
LangString ALL_USERS_NEED_ADMIN ${LANG_GERMAN} "Um Korvex für alle Benutzer zu installieren, sind Administratorrechte nötig."
LangString ALL_USERS_NEED_ADMIN ${LANG_DANISH} "Installation af Korvex for alle brugere kræver administratorrettigheder."
LangString REMOVAL_NEEDS_ADMIN ${LANG_ENGLISH} "Korvex is installed for all users: removing it needs administrator rights."
LangString REMOVAL_NEEDS_ADMIN ${LANG_GERMAN} "Korvex ist für alle Benutzer installiert: Zum Entfernen sind Administratorrechte nötig."
LangString REMOVAL_NEEDS_ADMIN ${LANG_DANISH} "Korvex er installeret for alle brugere: Fjernelse kræver administratorrettigheder."

; $0 := 1 when the process has administrator rights.
!macro IS_ADMIN
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        StrCpy $0 1
    ${Else}
        StrCpy $0 0
    ${EndIf}
!macroend

; Shortcuts, the registry (SHCTX) and the program folder of the chosen users.
!macro CHOOSE_USERS ALL
    StrCpy $AllUsers ${ALL}
    ${If} $AllUsers == 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
!macroend

Function .onInit
    !insertmacro IS_ADMIN
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/AllUsers" $2
    ${IfNot} ${Errors}
    ${AndIf} $0 != 1
        MessageBox MB_OK|MB_ICONSTOP "$(ALL_USERS_NEED_ADMIN)" /SD IDOK
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
    ClearErrors
    ${GetOptions} $1 "/CurrentUser" $2
    ${If} ${Errors}
        !insertmacro CHOOSE_USERS $0
    ${Else}
        !insertmacro CHOOSE_USERS 0
    ${EndIf}
    ; /D= is taken as given; else the folder of an earlier install for the
    ; same users, so that a new version replaces it.
    ${If} $INSTDIR == ""
        ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" InstallLocation
    ${EndIf}
    ${If} $INSTDIR == ""
        ${If} $AllUsers == 1
            StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
        ${Else}
            GetKnownFolderPath $INSTDIR ${FOLDERID_UserProgramFiles}
            ${If} $INSTDIR == ""
                StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
            ${EndIf}
            StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
        ${EndIf}
    ${EndIf}
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File "${PROGRAMS}\korvex.exe"
    File "${PROGRAMS}\korvex-fetch.exe"
    File "${PROGRAMS}\korvex-convert.exe"
    File "${PROGRAMS}\t596sim.exe"
    File "${README}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The menu and a double click start the program with --desktop: its
    ; settings then live in the user's application data, wherever it starts.
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\korvex.exe" "--desktop" \
        "$INSTDIR\korvex.exe" 0 SW_SHOWNORMAL "" "$(SHORTCUT_COMMENT)"

    WriteRegStr SHCTX "Software\Classes\.kvd" "" "${PROGID}"
    WriteRegStr SHCTX "Software\Classes\.kvd\OpenWithProgids" "${PROGID}" ""
    WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "$(TYPE_NAME)"
    WriteRegStr SHCTX "Software\Classes\${PROGID}" FriendlyTypeName \
        "@$INSTDIR\korvex.exe,${TYPE_NAME_RESOURCE}"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\korvex.exe,0"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" \
        '"$INSTDIR\korvex.exe" --desktop "%1"'

    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\korvex.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" Publisher "The Korvex developers"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" EstimatedSize $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoRepair 1

    ${NotifyShell_AssocChanged}
SectionEnd

; The uninstaller removes the install its folder belongs to: the current
; user's when that user's entry names the folder, else the one for all users.
Function un.onInit
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" InstallLocation
    ${If} $1 == $INSTDIR
        !insertmacro CHOOSE_USERS 0
        Return
    ${EndIf}
    !insertmacro IS_ADMIN
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" InstallLocation
    ${If} $1 == $INSTDIR
    ${AndIf} $0 != 1
        MessageBox MB_OK|MB_ICONSTOP "$(REMOVAL_NEEDS_ADMIN)" /SD IDOK
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
    !insertmacro CHOOSE_USERS $0
FunctionEnd

; Only what the setup made goes: the data files and settings of the user, and
; anything else in the program's folder, stay.
Section Uninstall
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"

    ReadRegStr $0 SHCTX "Software\Classes\.kvd" ""
    ${If} $0 == "${PROGID}"
        DeleteRegValue SHCTX "Software\Classes\.kvd" ""
    ${EndIf}
    DeleteRegValue SHCTX "Software\Classes\.kvd\OpenWithProgids" "${PROGID}"
    DeleteRegKey /IfEmpty SHCTX "Software\Classes\.kvd\OpenWithProgids"
    DeleteRegKey /IfEmpty SHCTX "Software\Classes\.kvd"
    DeleteRegKey SHCTX "Software\Classes\${PROGID}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${NotifyShell_AssocChanged}

    Delete "$INSTDIR\korvex.exe"
    Delete "$INSTDIR\korvex-fetch.exe"
    Delete "$INSTDIR\korvex-convert.exe"
    Delete "$INSTDIR\t596sim.exe"
    Delete "$INSTDIR\README.md"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
