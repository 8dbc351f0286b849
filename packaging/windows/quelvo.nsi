; Quelvo's Windows installer, one per architecture. packaging/windows/build-installer
; stages the files and runs makensis with these symbols:
;   ARCH     x64 (into the native Program Files, 64-bit registry view) or
;            x86 (into Program Files (x86) on 64-bit Windows)
;   VERSION  the program's version, four numbers (1.0.0.0)
;   STAGE    a folder with Quelvo.exe, quelvo-search.exe, Login.ini,
;            README.txt (for data\), License.txt and quelvo.ico
;   OUTFILE  the installer to write
;
; Command line of the installer, besides NSIS's own /S (silent) and /D=folder:
;   /SERVIDOR=host   writes Servidor=host into Login.ini, also on an upgrade.
; An upgrade keeps the Login.ini the site has (login-ini.nsh). The uninstaller
; removes what was installed; it leaves a Login.ini the site changed, and
; whatever else the site put into the folder (the database in data\, the
; Firebird client).
;
; Exit codes: 0 done, 1 cancelled by the user, 2 failed (among others:
; Quelvo still running from the folder).

!ifndef ARCH | VERSION | STAGE | OUTFILE
    !error "makensis -DARCH=x64|x86 -DVERSION=... -DSTAGE=... -DOUTFILE=... quelvo.nsi (packaging/windows/build-installer does this)"
!endif

Unicode true
!if "${ARCH}" == "x64"
    Target amd64-unicode
!else if "${ARCH}" == "x86"
    Target x86-unicode
!else
    !error "ARCH must be x64 or x86, not ${ARCH}"
!endif

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!addincludedir "${__FILEDIR__}"
!include login-ini.nsh

!define PRODUCT Quelvo
!define PUBLISHER "Quelvo maintainers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Program Files and HKLM: for every user of the machine.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all
BrandingText "${PRODUCT} ${VERSION} (${ARCH})"
ShowInstDetails show
ShowUninstDetails show

!if "${ARCH}" == "x64"
    InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
    InstallDir "$PROGRAMFILES32\${PRODUCT}"
!endif
; An upgrade goes where the installed copy is. A 64-bit installer reads the
; 64-bit registry view, a 32-bit one the 32-bit view: each finds its own.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" InstallLocation

Var Servidor
Var ServidorGiven

; --- pages (the program's interface is in Portuguese, so is its installer) ---

!define MUI_ICON "${STAGE}/quelvo.ico"
!define MUI_UNICON "${STAGE}/quelvo.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}/License.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} ProductName "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} ProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} FileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} FileDescription "Instalador do ${PRODUCT} ${VERSION} (${ARCH})"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} CompanyName "${PUBLISHER}"
!ifdef COPYRIGHT
    VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} LegalCopyright "${COPYRIGHT}"
!endif

; --- a program that runs from the folder cannot be replaced or removed ---

; Sets $0 to FILE when $0 is empty and $INSTDIR\FILE is in use: a running
; program file cannot be opened for writing.
!macro _IN_USE FILE
    ${If} $0 == ""
    ${AndIf} ${FileExists} "$INSTDIR\${FILE}"
        ClearErrors
        FileOpen $1 "$INSTDIR\${FILE}" a
        ${If} ${Errors}
            StrCpy $0 "${FILE}"
        ${Else}
            FileClose $1
        ${EndIf}
    ${EndIf}
!macroend

; Aborts (exit code 2) while Quelvo.exe or quelvo-search.exe in $INSTDIR is
; in use, unless the user closes it and asks to retry.
!macro REFUSE_WHILE_RUNNING_FUNCTION PREFIX
Function ${PREFIX}RefuseWhileRunning
    Push $0
    Push $1
retry:
    StrCpy $0 ""
    !insertmacro _IN_USE Quelvo.exe
    !insertmacro _IN_USE quelvo-search.exe
    ${If} $0 != ""
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "$INSTDIR\$0 está em uso.$\r$\nFeche o ${PRODUCT} e clique em Repetir." \
            /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Abort "$INSTDIR\$0 está em uso"
    ${EndIf}
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING_FUNCTION ""
!insertmacro REFUSE_WHILE_RUNNING_FUNCTION "un."

; --- installing ---

Function .onInit
!if "${ARCH}" == "x64"
    ; (A 64-bit installer does not start on 32-bit Windows at all.)
    SetRegView 64
!endif
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/SERVIDOR=" $Servidor
    ${If} ${Errors}
        StrCpy $ServidorGiven 0
    ${Else}
        StrCpy $ServidorGiven 1
    ${EndIf}
FunctionEnd

Section "${PRODUCT}" SectionProgram
    SectionIn RO
    Call RefuseWhileRunning
    SetShellVarContext all

    SetOutPath "$INSTDIR"
    File "${STAGE}/Quelvo.exe"
    File "${STAGE}/quelvo-search.exe"
    SetOutPath "$INSTDIR\data"
    File "${STAGE}/README.txt"
    SetOutPath "$INSTDIR"
    !insertmacro LOGIN_INI_INSTALL "${STAGE}/Login.ini" "${UNINSTALL_KEY}" $ServidorGiven $Servidor
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "${SHORTCUT}" "$INSTDIR\Quelvo.exe" "" "$INSTDIR\Quelvo.exe" 0

    ; Apps & features
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\Quelvo.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
    ; The size of what this installs, in KiB; not the site's database.
    SectionGetSize ${SectionProgram} $0
    ${GetSize} "$INSTDIR" "/M=Uninstall.exe /S=0K /G=0" $1 $2 $3
    IntOp $0 $0 + $1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

; --- uninstalling ---

Function un.onInit
!if "${ARCH}" == "x64"
    SetRegView 64
!endif
FunctionEnd

Section Uninstall
    Call un.RefuseWhileRunning
    SetShellVarContext all

    Delete "${SHORTCUT}"
    Delete "$INSTDIR\Quelvo.exe"
    Delete "$INSTDIR\quelvo-search.exe"
    Delete "$INSTDIR\data\README.txt"
    ; Only when empty: the database stays.
    RMDir "$INSTDIR\data"
    !insertmacro LOGIN_INI_UNINSTALL "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
