; Login.ini belongs to the site once it has changed it: an upgrade keeps the
; file as it is, and the uninstaller removes it only when it still holds,
; byte for byte, what the installer left there.
;
; To know that, the installer records the file's stamp in the uninstall key
; (value LoginIniStamp): its size and a 32-bit FNV-1a hash of its bytes, as
; "size:HASH". The uninstaller computes the stamp again and deletes the file
; only when both agree. A file the installer did not write (one that was there
; before the first install), or one the site had already changed when an
; upgrade ran, gets no stamp and is never removed.

!include LogicLib.nsh

!define LOGIN_INI_STAMP_VALUE LoginIniStamp
; Larger files are no Login.ini the installer wrote: no stamp, so kept.
!define LOGIN_INI_STAMP_LIMIT 65536

; Pushes the stamp of the file whose path is on the stack ("size:HASH"),
; or "" when it cannot be read or is larger than the limit.
!macro LOGIN_INI_STAMP_FUNCTION PREFIX
Function ${PREFIX}LoginIniStamp
    Exch $0 ; path, then the result
    Push $1 ; file handle
    Push $2 ; byte
    Push $3 ; size
    Push $4 ; hash
    StrCpy $3 0
    StrCpy $4 0x811C9DC5 ; FNV-1a offset basis
    ClearErrors
    FileOpen $1 $0 r
    ${If} ${Errors}
        StrCpy $0 ""
    ${Else}
        ${Do}
            ClearErrors
            FileReadByte $1 $2
            ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
            IntOp $4 $4 ^ $2
            IntOp $4 $4 * 0x01000193 ; FNV prime
            IntOp $4 $4 & 0xFFFFFFFF
            IntOp $3 $3 + 1
            ${IfThen} $3 > ${LOGIN_INI_STAMP_LIMIT} ${|} ${ExitDo} ${|}
        ${Loop}
        FileClose $1
        ${If} $3 > ${LOGIN_INI_STAMP_LIMIT}
            StrCpy $0 ""
        ${Else}
            IntFmt $4 "%08X" $4
            StrCpy $0 "$3:$4"
        ${EndIf}
    ${EndIf}
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro LOGIN_INI_STAMP_FUNCTION ""
!insertmacro LOGIN_INI_STAMP_FUNCTION "un."

; Installs Login.ini in $INSTDIR and records its stamp under HKLM KEY.
; SERVIDOR_GIVEN is 1 when /SERVIDOR= was on the command line, whose value
; SERVIDOR then goes into the file, on a first install and on an upgrade
; alike: an explicit switch is the deployer's decision.
!macro LOGIN_INI_INSTALL SOURCE KEY SERVIDOR_GIVEN SERVIDOR
    Push $0 ; stamp recorded by the previous install
    Push $1 ; 1 when the file is the installer's own
    ReadRegStr $0 HKLM "${KEY}" "${LOGIN_INI_STAMP_VALUE}"
    ${If} ${FileExists} "$INSTDIR\Login.ini"
        ; An upgrade: the site's file stays; it is still the installer's
        ; own only when it is unchanged since the last install.
        StrCpy $1 0
        ${If} $0 != ""
            Push "$INSTDIR\Login.ini"
            Call LoginIniStamp
            Pop $1
            ${If} $1 == $0
                StrCpy $1 1
            ${Else}
                StrCpy $1 0
            ${EndIf}
        ${EndIf}
    ${Else}
        File "${SOURCE}"
        StrCpy $1 1
    ${EndIf}
    ${If} ${SERVIDOR_GIVEN} == 1
        ClearErrors
        WriteINIStr "$INSTDIR\Login.ini" Connection Servidor "${SERVIDOR}"
        ${If} ${Errors}
            MessageBox MB_OK|MB_ICONSTOP "Não foi possível gravar Servidor=${SERVIDOR} em $INSTDIR\Login.ini." /SD IDOK
            Abort "Login.ini não foi gravado"
        ${EndIf}
        ; Written out before its stamp is taken. (Flushing reports a
        ; failure by design: the flag it sets means nothing.)
        FlushINI "$INSTDIR\Login.ini"
    ${EndIf}
    ${If} $1 == 1
        Push "$INSTDIR\Login.ini"
        Call LoginIniStamp
        Pop $0
        WriteRegStr HKLM "${KEY}" "${LOGIN_INI_STAMP_VALUE}" $0
    ${Else}
        DeleteRegValue HKLM "${KEY}" "${LOGIN_INI_STAMP_VALUE}"
    ${EndIf}
    Pop $1
    Pop $0
!macroend

; Removes $INSTDIR\Login.ini when its stamp is the one recorded under KEY.
!macro LOGIN_INI_UNINSTALL KEY
    Push $0
    Push $1
    ReadRegStr $0 HKLM "${KEY}" "${LOGIN_INI_STAMP_VALUE}"
    ${If} $0 != ""
        Push "$INSTDIR\Login.ini"
        Call un.LoginIniStamp
        Pop $1
        ${If} $1 == $0
            Delete "$INSTDIR\Login.ini"
        ${Else}
            DetailPrint "Login.ini foi alterado e fica em $INSTDIR"
        ${EndIf}
    ${EndIf}
    Pop $1
    Pop $0
!macroend
