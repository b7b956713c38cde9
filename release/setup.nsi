; The per-user installer: copies both add-ins to %LOCALAPPDATA%\Programs\QuillonLathmore, registers
; each with the regsvr32 of its own bitness, and adds an entry to Apps & features. No administrator
; rights. /S installs silently; the exit code says how it went:
;   0 installed; 2 a step failed (what that run registered is undone; an upgrade puts the
;   previous installation back as it was); 3 an Office application has the add-ins loaded
;   (nothing changed); 4 Windows older than 7.
; The uninstaller exits the same way: 0 removed; 2 an unregistration failed (it then removes
; nothing, registers again what it had unregistered, and says which step failed); 3 an add-in is
; loaded. Apps & features starts it in place (_?=), so that its caller sees that exit code, and it
; removes itself once it has ended.
; makensis -DVERSION=1.1 -DVERSION_QUAD=1.1.0.0 -DSOURCE=<release folder> -DOUTFILE=<setup.exe>
;          [-DSIGN=<script that signs the file it is given in place>] [-DAMD64] setup.nsi
; (scripts/release.sh gives them all.) -DAMD64 makes a 64-bit setup.exe, which is not shipped: the
; release tests run it where no 32-bit program runs.

!ifdef AMD64
  Target amd64-unicode
  ; Always 64-bit Windows: the branches for 32-bit Windows are left unused.
  !pragma warning disable 6012
!else
  Unicode true
!endif
!include LogicLib.nsh
!include x64.nsh
!include WinVer.nsh
!include FileFunc.nsh

!define PRODUCT "Quillon and Lathmore"
!define PUBLISHER "Razurid"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuillonLathmore"
!define IN_USE "Close every Office application, then run setup again."
!define UN_IN_USE "Close every Office application, then uninstall again."

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
!define USUAL_FOLDER "$LOCALAPPDATA\Programs\QuillonLathmore"
InstallDir "${USUAL_FOLDER}"
SetCompressor /SOLID lzma
; No file times in the archive: the same files make the same setup.exe whenever it is built.
SetDateSave off
ShowInstDetails show
ShowUninstDetails show
Page instfiles
UninstPage instfiles

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup: add-ins for the VBA editor"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "MIT licence"

!ifdef SIGN
  ; The uninstaller that setup writes is signed too, when makensis has made it.
  !uninstfinalize 'bash "${SIGN}" "%1"' = 0
!endif

Var Registered ; how many of this run's registrations to undo when a later step fails
Var Failure
Var Upgrade    ; 1 when an installation was there before: its files are kept to put back
Var Step       ; the uninstaller's unregistration under way, 1 to 4

; The regsvr32 of each bitness. Seen from the 32-bit installer, System32 on 64-bit Windows is
; redirected to the 32-bit one and Sysnative reaches the 64-bit one.
!ifdef AMD64
  !define REGSVR32_64 "$SYSDIR\regsvr32.exe"
  !define REGSVR32_32 "$WINDIR\SysWOW64\regsvr32.exe"
!else
  !define REGSVR32_64 "$WINDIR\Sysnative\regsvr32.exe"
  !define REGSVR32_32 "$SYSDIR\regsvr32.exe"
!endif

; Fails with MESSAGE (setup's or the uninstaller's) when a DLL the run would replace or remove is
; loaded: Windows lets nobody write to a DLL an application has loaded.
!macro RefuseIfLoaded UN MESSAGE
Function ${UN}RefuseIfLoaded
  ${ForEach} $1 1 4 + 1
    ${Select} $1
      ${Case} 1
        StrCpy $2 "$INSTDIR\x64\Quillon.dll"
      ${Case} 2
        StrCpy $2 "$INSTDIR\x64\Lathmore.dll"
      ${Case} 3
        StrCpy $2 "$INSTDIR\x86\Quillon.dll"
      ${Case} 4
        StrCpy $2 "$INSTDIR\x86\Lathmore.dll"
    ${EndSelect}
    ${If} ${FileExists} $2
      ClearErrors
      FileOpen $3 $2 a
      ${If} ${Errors}
        DetailPrint "$2 is in use."
        MessageBox MB_OK|MB_ICONEXCLAMATION "${MESSAGE}" /SD IDOK
        SetErrorLevel 3
        !if "${UN}" == "un."
          Call un.ForgetCopy
        !endif
        Quit
      ${EndIf}
      FileClose $3
    ${EndIf}
  ${Next}
FunctionEnd
!macroend
; The uninstaller's own file goes once it has ended: a hidden cmd deletes it two seconds after
; this process ends (its window closed), or four or eight seconds later if it is still there, and
; then its folder if that is empty. What that cmd does cannot change this run's exit code. The
; file goes only while the add-ins have not come back: an installation made again at once keeps
; its own uninstaller. The cmd takes the file and folder from its environment: a command line of
; this installer holds 1024 characters at most, and no character of a path is parsed there. No
; folder of the installation is the working directory of either process, which would keep it.
Function un.RemoveWhenEnded
  System::Call 'kernel32::SetEnvironmentVariable(t "QL_FILE", t "$EXEPATH")'
  System::Call 'kernel32::SetEnvironmentVariable(t "QL_FOLDER", t "$EXEDIR")'
  SetOutPath $TEMP
  ; An "if" takes the rest of the line as its commands.
  StrCpy $0 'if not exist "%QL_FOLDER%\x64\Quillon.dll" if not exist "%QL_FOLDER%\x86\Quillon.dll"'
  StrCpy $0 '$0 del /f /q "%QL_FILE%" 2>nul & rmdir "%QL_FOLDER%" 2>nul'
  StrCpy $1 'if exist "%QL_FILE%" ping -n'
  ExecShell "open" "$SYSDIR\cmd.exe" '/d /v:off /s /c "ping -n 3 127.0.0.1 >nul & $0 & $1 5 127.0.0.1 >nul & $0 & $1 9 127.0.0.1 >nul & $0"' SW_HIDE
FunctionEnd

; Started without _?=, the uninstaller runs as a copy in a folder of its own in the temporary
; folder: that copy and its folder go once it has ended, whatever the result.
Function un.ForgetCopy
  ${If} $EXEFILE != "uninstall.exe"
    Call un.RemoveWhenEnded
  ${EndIf}
FunctionEnd

; Called once the uninstaller's window is closed, or at once with /S.
Function un.onUninstSuccess
  Call un.RemoveWhenEnded
FunctionEnd

Function un.onUninstFailed
  Call un.ForgetCopy
FunctionEnd

!insertmacro RefuseIfLoaded "" "${IN_USE}"
!insertmacro RefuseIfLoaded "un." "${UN_IN_USE}"

!macro Register REGSVR32 DLL WHAT
  DetailPrint "Registering ${WHAT}: ${DLL}"
  ClearErrors
  StrCpy $0 ""
  ExecWait '"${REGSVR32}" /s "${DLL}"' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    StrCpy $Failure "Registering ${WHAT} failed (regsvr32 exit code $0)."
    Goto failed
  ${EndIf}
  IntOp $Registered $Registered + 1
!macroend

!macro Unregister REGSVR32 DLL WHAT
  ${If} ${FileExists} "${DLL}"
    DetailPrint "Unregistering ${WHAT}: ${DLL}"
    ClearErrors
    StrCpy $0 ""
    ExecWait '"${REGSVR32}" /s /u "${DLL}"' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
      DetailPrint "Unregistering ${WHAT} failed (regsvr32 exit code $0)."
      StrCpy $Failure "Unregistering ${WHAT} failed (regsvr32 exit code $0)."
    ${EndIf}
  ${EndIf}
!macroend

; Unregisters, or stops the uninstallation at un_failed with the step that failed.
!macro UnregisterOrStop REGSVR32 DLL WHAT
  IntOp $Step $Step + 1
  ${If} ${FileExists} "${DLL}"
    DetailPrint "Unregistering ${WHAT}: ${DLL}"
    ClearErrors
    StrCpy $0 ""
    ExecWait '"${REGSVR32}" /s /u "${DLL}"' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
      StrCpy $Failure "Unregistering ${WHAT} failed (regsvr32 exit code $0)."
      Goto un_failed
    ${EndIf}
  ${EndIf}
!macroend

; Registers a DLL again that an earlier step of this run unregistered or replaced.
!macro RegisterAgain STEP REGSVR32 DLL WHAT
  ${If} $Step > ${STEP}
  ${AndIf} ${FileExists} "${DLL}"
    DetailPrint "Registering ${WHAT} again: ${DLL}"
    ExecWait '"${REGSVR32}" /s "${DLL}"'
  ${EndIf}
!macroend

; The installation's files kept aside before an upgrade replaces them, or put back.
!macro PreviousFiles FROM TO
  CreateDirectory "${TO}\x64"
  CreateDirectory "${TO}\x86"
  CopyFiles /SILENT "${FROM}\x64\*.dll" "${TO}\x64"
  CopyFiles /SILENT "${FROM}\x86\*.dll" "${TO}\x86"
  CopyFiles /SILENT "${FROM}\*.txt" "${TO}"
  CopyFiles /SILENT "${FROM}\uninstall.exe" "${TO}"
!macroend

Function .onInit
  ${IfNot} ${AtLeastWin7}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} need Windows 7 or later." /SD IDOK
    SetErrorLevel 4
    Quit
  ${EndIf}
FunctionEnd

Section "Install"
  Call RefuseIfLoaded
  StrCpy $Registered 0
  StrCpy $Upgrade 0
  ${If} ${FileExists} "$INSTDIR\x86\Quillon.dll"
  ${OrIf} ${FileExists} "$INSTDIR\x64\Quillon.dll"
    StrCpy $Upgrade 1
    InitPluginsDir
    !insertmacro PreviousFiles "$INSTDIR" "$PLUGINSDIR\previous"
  ${EndIf}
  SetOverwrite on
  ; 32-bit Office is common on 64-bit Windows too: the x86 DLLs always, the x64 ones where they run.
  ${If} ${RunningX64}
    SetOutPath "$INSTDIR\x64"
    File "${SOURCE}\x64\Quillon.dll"
    File "${SOURCE}\x64\Lathmore.dll"
  ${EndIf}
  SetOutPath "$INSTDIR\x86"
  File "${SOURCE}\x86\Quillon.dll"
  File "${SOURCE}\x86\Lathmore.dll"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\README.txt"
  File "${SOURCE}\LICENSE.txt"
  File "${SOURCE}\CHANGELOG.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ${If} ${RunningX64}
    !insertmacro Register "${REGSVR32_64}" "$INSTDIR\x64\Quillon.dll" "Quillon for 64-bit Office"
    !insertmacro Register "${REGSVR32_64}" "$INSTDIR\x64\Lathmore.dll" "Lathmore for 64-bit Office"
  ${EndIf}
  !insertmacro Register "${REGSVR32_32}" "$INSTDIR\x86\Quillon.dll" "Quillon for 32-bit Office"
  !insertmacro Register "${REGSVR32_32}" "$INSTDIR\x86\Lathmore.dll" "Lathmore for 32-bit Office"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (VBA editor add-ins)"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ; _?= runs the uninstaller in place: without it, it starts a copy of itself in the temporary
  ; folder and ends at once with 0, whatever the copy then does. It comes last and unquoted.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; The zip's scripts read InstallLocation back as text, which loses every character outside the
  ; console's code page: the usual folder is told by a number.
  ${If} $INSTDIR == "${USUAL_FOLDER}"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "InUsualFolder" 1
  ${Else}
    DeleteRegValue HKCU "${UNINSTALL_KEY}" "InUsualFolder"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  DetailPrint "Done. Restart the VBA editor (close and reopen the Office application) to load the add-ins."
  Return

failed:
  DetailPrint "$Failure"
  StrCpy $R9 $Failure
  ${If} $Upgrade == 1
    ; The previous installation back as it was: its files, registered again from where they are,
    ; and its Apps & features entry, which this run has not touched yet.
    DetailPrint "Putting the previous installation back."
    !insertmacro PreviousFiles "$PLUGINSDIR\previous" "$INSTDIR"
    StrCpy $Step 5
    ${If} ${RunningX64}
      !insertmacro RegisterAgain 0 "${REGSVR32_64}" "$INSTDIR\x64\Quillon.dll" "Quillon for 64-bit Office"
      !insertmacro RegisterAgain 0 "${REGSVR32_64}" "$INSTDIR\x64\Lathmore.dll" "Lathmore for 64-bit Office"
    ${EndIf}
    !insertmacro RegisterAgain 0 "${REGSVR32_32}" "$INSTDIR\x86\Quillon.dll" "Quillon for 32-bit Office"
    !insertmacro RegisterAgain 0 "${REGSVR32_32}" "$INSTDIR\x86\Lathmore.dll" "Lathmore for 32-bit Office"
    Goto stopped
  ${EndIf}
  ; Undo this run's registrations, newest first, so that nothing half-registered stays behind.
  ${If} ${RunningX64}
    ${If} $Registered >= 3
      !insertmacro Unregister "${REGSVR32_32}" "$INSTDIR\x86\Quillon.dll" "Quillon for 32-bit Office"
    ${EndIf}
    ${If} $Registered >= 2
      !insertmacro Unregister "${REGSVR32_64}" "$INSTDIR\x64\Lathmore.dll" "Lathmore for 64-bit Office"
    ${EndIf}
    ${If} $Registered >= 1
      !insertmacro Unregister "${REGSVR32_64}" "$INSTDIR\x64\Quillon.dll" "Quillon for 64-bit Office"
    ${EndIf}
  ${ElseIf} $Registered >= 1
    !insertmacro Unregister "${REGSVR32_32}" "$INSTDIR\x86\Quillon.dll" "Quillon for 32-bit Office"
  ${EndIf}
stopped:
  StrCpy $Failure $R9
  MessageBox MB_OK|MB_ICONSTOP "Setup stopped: $Failure" /SD IDOK
  SetErrorLevel 2
  Quit
SectionEnd

Section "Uninstall"
  Call un.RefuseIfLoaded
  StrCpy $Failure ""
  StrCpy $Step 0
  ; A file removed while the editor is still registered to load it would break the editor's
  ; start: every unregistration first, and the files only once all of them went through.
  !insertmacro UnregisterOrStop "${REGSVR32_64}" "$INSTDIR\x64\Quillon.dll" "Quillon for 64-bit Office"
  !insertmacro UnregisterOrStop "${REGSVR32_64}" "$INSTDIR\x64\Lathmore.dll" "Lathmore for 64-bit Office"
  !insertmacro UnregisterOrStop "${REGSVR32_32}" "$INSTDIR\x86\Quillon.dll" "Quillon for 32-bit Office"
  !insertmacro UnregisterOrStop "${REGSVR32_32}" "$INSTDIR\x86\Lathmore.dll" "Lathmore for 32-bit Office"
  ; The settings under "VB and VBA Program Settings" stay (toolbar places, bookmarks, the References
  ; dialog's size): they are the user's.
  Delete "$INSTDIR\x64\Quillon.dll"
  Delete "$INSTDIR\x64\Lathmore.dll"
  Delete "$INSTDIR\x86\Quillon.dll"
  Delete "$INSTDIR\x86\Lathmore.dll"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\CHANGELOG.txt"
  ; What the zip's install.cmd puts there when it installs over this installation.
  Delete "$INSTDIR\uninstall.cmd"
  Delete "$INSTDIR\addins.cmd"
  RMDir "$INSTDIR\x64"
  RMDir "$INSTDIR\x86"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} $EXEFILE != "uninstall.exe"
    ; A copy of the uninstaller runs from the temporary folder: the installed one can go now.
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
  ${EndIf}
  DetailPrint "Done. Restart the VBA editor (close and reopen the Office application) to unload the add-ins."
  Return

un_failed:
  ; Nothing removed: what this run unregistered is registered again, the files and the entry stay.
  DetailPrint "$Failure"
  !insertmacro RegisterAgain 1 "${REGSVR32_64}" "$INSTDIR\x64\Quillon.dll" "Quillon for 64-bit Office"
  !insertmacro RegisterAgain 2 "${REGSVR32_64}" "$INSTDIR\x64\Lathmore.dll" "Lathmore for 64-bit Office"
  !insertmacro RegisterAgain 3 "${REGSVR32_32}" "$INSTDIR\x86\Quillon.dll" "Quillon for 32-bit Office"
  MessageBox MB_OK|MB_ICONSTOP "Uninstall stopped: $Failure Nothing was removed." /SD IDOK
  SetErrorLevel 2
  Abort "Uninstall stopped: $Failure"
SectionEnd
