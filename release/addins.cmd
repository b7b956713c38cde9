@echo off
rem install: copies Quillon and Lathmore, with uninstall.cmd and this script, to
rem %LOCALAPPDATA%\Programs\QuillonLathmore (where setup.exe puts them too, or where setup's
rem entry in Apps & features says it put them), registers them there for the current user, for
rem 64-bit and 32-bit Office, and, in the usual folder, gives them an entry in Apps & features.
rem uninstall: unregisters them there and removes that folder. Called by install.cmd and
rem uninstall.cmd, the extracted zip's or the installed one. Run from the install folder itself,
rem it leaves this script and uninstall.cmd there and sets ADDINS_CLEANUP=1: uninstall.cmd
rem removes them and the folder (ADDINS_FOLDER) once it has ended. No administrator rights
rem needed; safe to run again. Exit code 0 when done; 1 when a registration failed; 2 when it
rem could not be done and nothing is lost (say why); 3 when an uninstall found the add-ins loaded
rem (as setup's uninstaller). An uninstall that cannot unregister an add-in registers again what
rem it had unregistered and deletes no file, so that Office never points at an add-in that is
rem gone. The same in ADDINS_OUTCOME, as not every cmd passes a called script's exit code on.
rem A path may hold spaces, ( ) & ^ and !: no path is expanded with %...% inside a parenthesised
rem block or on an echo line, only inside quotes; messages with a path go through :say.
setlocal EnableExtensions DisableDelayedExpansion
set "appsEntry=HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuillonLathmore"
set "usualFolder=Programs\QuillonLathmore"
set cleanup=0
call :main %1
set "outcome=%errorlevel%"
endlocal & set "ADDINS_OUTCOME=%outcome%" & set "ADDINS_CLEANUP=%cleanup%" & set "ADDINS_FOLDER=%target%" & exit /b %outcome%

:main
set "here=%~dp0"
rem Where setup.exe installed them, which may be a folder of the user's choice (/D=), else the
rem usual folder.
set "target=%LOCALAPPDATA%\%usualFolder%"
call :entrysFolder
for %%d in ("%target%\.") do set "targetFolder=%%~fd\"
call :isTarget
set failed=0
set "dlls=x64\Quillon.dll x64\Lathmore.dll x86\Quillon.dll x86\Lathmore.dll"
set "texts=README.txt LICENSE.txt CHANGELOG.txt"
set "scripts=uninstall.cmd addins.cmd"
rem 64-bit Windows, from a 64-bit or a 32-bit prompt: the 64-bit regsvr32 (Sysnative from a 32-bit
rem prompt) for the 64-bit DLLs, the 32-bit one in SysWOW64 for the 32-bit DLLs. Whether either is
rem there is for each step to find out, not for this choice.
set "regsvr32=%SystemRoot%\System32\regsvr32.exe"
set "regsvr32x64="
if /i "%PROCESSOR_ARCHITECTURE%"=="x86" if not defined PROCESSOR_ARCHITEW6432 goto chosen
set "regsvr32x64=%SystemRoot%\System32\regsvr32.exe"
if defined PROCESSOR_ARCHITEW6432 set "regsvr32x64=%SystemRoot%\Sysnative\regsvr32.exe"
set "regsvr32=%SystemRoot%\SysWOW64\regsvr32.exe"
:chosen
if /i "%~1"=="uninstall" goto uninstall

call :refuseTemporaryFolder
if errorlevel 1 exit /b 2
rem Each check sets a flag that is tested after its loop: an exit inside a loop does not end the
rem script everywhere.
set complete=1
for %%f in (%dlls% uninstall.cmd) do call :present %%f
if %complete%==0 (
  echo Files are missing next to install.cmd. Extract the whole zip file to a folder, then run
  echo install.cmd from that folder again.
  exit /b 2
)
set "line=Installing to %target%"
call :say
for %%b in (x64 x86) do call :folder %%b
set copied=1
for %%f in (%dlls% %texts% %scripts%) do call :copyOne %%f
if %copied%==0 (
  echo If an Office application is open, it is using the add-ins: Close every Office application,
  echo then run install.cmd again.
  exit /b 2
)
for %%f in (%dlls%) do call :one "" %%f Registering
rem Even after a failed registration: what did register can then be removed from there.
call :writeEntry
echo.
if not %failed%==0 (
  echo Some steps failed; see above.
  exit /b 1
)
echo Done. Restart the VBA editor ^(close and reopen the Office application^) to load the add-ins.
exit /b 0

:uninstall
if exist "%target%" goto remove
set "line=Nothing to remove: %target% does not exist."
call :say
rem An entry that names a folder there is not, or one this cmd cannot spell, stays: the add-ins
rem it installed may still be registered, and setup's own uninstaller may still remove them.
if not defined entryFolder call :forgetEntry
exit /b 0
:remove
call :refuseIfLoaded
if errorlevel 1 exit /b 3
rem The first unregistration that fails ends the uninstall: what went before is registered again,
rem and so is the one that failed, which may have removed part of its registration.
set "unregistered="
set "refused="
for %%f in (%dlls%) do call :unregister %%f
if %failed%==0 goto allUnregistered
set failed=0
for %%f in (%unregistered%) do call :one "" %%f "Registering again"
set "registeredAgain=%failed%"
call :one "" %refused% "Registering again"
echo.
echo Nothing was removed: an add-in that stayed registered would be loaded from files that are gone.
echo Put right what FAILED above, then run uninstall.cmd again.
if %registeredAgain%==0 exit /b 2
echo Until then an add-in that could not be registered again does not load: install.cmd, run from
echo the extracted zip, installs it again.
exit /b 1
:allUnregistered
rem Only what an install put there goes: a folder chosen for setup may hold the user's own files.
rem The scripts running from there go after them (ADDINS_CLEANUP).
set removed=1
set "ours=%dlls% %texts% uninstall.exe"
if %fromTarget%==0 set "ours=%ours% %scripts%"
for %%f in (%ours%) do call :removeOne %%f
for %%d in (x64 x86) do call :removeFolder %%d
rmdir "%target%" >nul 2>&1
if %removed%==1 goto removed
set "line=Removing the files in %target%: FAILED. If an Office application is open, it is using the add-ins:"
call :say
echo Close every Office application, then run uninstall.cmd again.
exit /b 2
:removed
rem The entry goes with the folder it names, or when it names none; not when it names another.
if not defined entryFolder call :forgetEntry
if /i "%entryFolder%"=="%target%" call :forgetEntry
set kept=0
if %fromTarget%==1 set cleanup=1
if %fromTarget%==1 call :othersThere
if %fromTarget%==0 if exist "%target%" set kept=1
if %kept%==0 goto saidRemoved
set "line=Kept %target%, which holds other files than the add-ins'."
call :say
:saidRemoved
echo.
echo Done. Restart the VBA editor ^(close and reopen the Office application^) to unload the add-ins.
exit /b 0

rem One DLL unregistered, added to the list of those unregistered, or named as refused; none once
rem one has failed.
:unregister
if not %failed%==0 exit /b 0
call :one /u %1 Unregistering
if %failed%==0 (set "unregistered=%unregistered% %~1") else set "refused=%~1"
exit /b 0

rem regsvr32 ("" or /u) of a DLL of the install folder (x64\... or x86\...) by the regsvr32 of its
rem bitness, and what is being done ("Registering"). A missing DLL, or a 64-bit one on 32-bit
rem Windows, has nothing to do; anything else that does not go through sets failed=1.
:one
if not exist "%target%\%~2" exit /b 0
set "dll=%~2"
set "tool=%regsvr32%"
set "office=32-bit"
if /i "%dll:~0,4%"=="x64\" set "tool=%regsvr32x64%"
if /i "%dll:~0,4%"=="x64\" set "office=64-bit"
if not defined tool exit /b 0
set "step=%~3 %~n2 for %office% Office"
if exist "%tool%" goto oneRun
set "line=%step%: FAILED (there is no %tool%)"
call :say
set failed=1
exit /b 0
:oneRun
if not "%~1"=="" goto oneWithFlag
"%tool%" /s "%target%\%~2"
goto oneDone
:oneWithFlag
"%tool%" /s %~1 "%target%\%~2"
:oneDone
if errorlevel 1 goto oneFailed
echo %step%: done
exit /b 0
:oneFailed
echo %step%: FAILED (regsvr32 exit code %errorlevel%)
set failed=1
exit /b 0

rem Windows lets nobody write to a DLL that an application has loaded: then nothing is touched.
:refuseIfLoaded
set loaded=0
for %%f in (%dlls%) do call :notLoaded %%f
if %loaded%==0 exit /b 0
echo.
echo Nothing was changed: an Office application is using the add-ins. Close every Office
echo application, then run uninstall.cmd again.
exit /b 1
:notLoaded
if not exist "%target%\%~1" exit /b 0
set opened=0
call :openForWriting %1 2>nul
if %opened%==1 exit /b 0
echo %~1 is in use ^(or read-only^).
set loaded=1
exit /b 0
rem A command with a redirection that cannot be opened does not run.
:openForWriting
set "opened=1" >>"%target%\%~1"
exit /b 0

rem A file of the release next to this script, or complete=0.
:present
if not exist "%here%%~1" set complete=0
exit /b 0

rem fromTarget=1 when this script runs from the install folder, by whatever name (8.3, a linked
rem folder): a file made here is looked for there.
:isTarget
set fromTarget=0
set "marker=QuillonLathmore-%RANDOM%%RANDOM%.tmp"
call :makeMarker 2>nul
if exist "%target%\%marker%" set fromTarget=1
del /f /q "%here%%marker%" >nul 2>&1
exit /b 0
:makeMarker
type nul >"%here%%marker%"
exit /b 0

rem A folder of the install folder, made where it is missing.
:folder
if not exist "%target%\%~1" mkdir "%target%\%~1"
exit /b 0

rem One file of the release into the install folder.
:copyOne
copy /y "%here%%~1" "%target%\%~1" >nul 2>&1
if errorlevel 1 goto copyFailed
exit /b 0
:copyFailed
echo Copying %~1: FAILED
set copied=0
exit /b 0

rem The Apps & features entry's folder into target, where there is one. reg's answer goes
rem through a file, named inside the temporary folder: not every cmd reads a command's output in
rem for /f.
:entrysFolder
set "entryFolder="
rem An entry for the usual folder says so in a value: a path read back through reg's text loses
rem every character outside the console's code page.
reg query "%appsEntry%" /v InUsualFolder >nul 2>&1
if errorlevel 1 goto entrysLocation
set "entryFolder=%LOCALAPPDATA%\%usualFolder%"
exit /b 0
:entrysLocation
pushd "%TEMP%"
reg query "%appsEntry%" /v InstallLocation >QuillonLathmore-entry.txt 2>nul
for /f "usebackq tokens=2,*" %%a in ("QuillonLathmore-entry.txt") do if "%%a"=="REG_SZ" set "entryFolder=%%b"
del QuillonLathmore-entry.txt >nul 2>&1
popd
if not defined entryFolder exit /b 0
if exist "%entryFolder%\" set "target=%entryFolder%"
exit /b 0

rem One file the install put in the folder, deleted; removed=0 when it is still there.
:removeOne
if exist "%target%\%~1" del /f /q "%target%\%~1" >nul 2>&1
if exist "%target%\%~1" set removed=0
exit /b 0

rem A folder of the install, removed when nothing is left in it.
:removeFolder
rmdir "%target%\%~1" >nul 2>&1
exit /b 0

rem kept=1 when the install folder holds more than the scripts running from it (for lists no
rem hidden file). The folder is entered: not every cmd finds files by a pattern in such a path.
:othersThere
pushd "%target%"
for /d %%d in (*) do set kept=1
for %%f in (*) do call :otherFile "%%~nxf"
popd
exit /b 0
:otherFile
if /i not "%~1"=="uninstall.cmd" if /i not "%~1"=="addins.cmd" set kept=1
exit /b 0

rem Once the folder it names is gone, the Apps & features entry goes too, which would otherwise
rem offer to uninstall what is no longer there.
:forgetEntry
reg delete "%appsEntry%" /f >nul 2>&1
exit /b 0

rem The Apps & features entry, so that the add-ins can be removed from there: it runs the
rem installed uninstall.cmd, which removes setup's files too. It replaces an entry for a folder
rem that is not there now, whose registrations this installation has replaced. In a folder of the
rem user's choice, setup's entry and uninstaller stay and the entry takes this version. The usual
rem folder is named through %LOCALAPPDATA%, which cmd expands when it runs the command: reg's
rem quoting cannot carry a folder name with & ( ) ^ or !. No path goes through call, which would
rem expand a % in it again and double a ^.
:writeEntry
if /i not "%targetFolder%"=="%LOCALAPPDATA%\%usualFolder%\" goto entrysVersion
set "uninstall=\"%ComSpec%\" /d /v:off /s /c \"\"%%LOCALAPPDATA%%\%usualFolder%\uninstall.cmd\""
reg add "%appsEntry%" /v DisplayName /d "Quillon and Lathmore (VBA editor add-ins)" /f >nul
reg add "%appsEntry%" /v Publisher /d "Razurid" /f >nul
reg add "%appsEntry%" /v InstallLocation /d "%target%" /f >nul
reg add "%appsEntry%" /v UninstallString /d "%uninstall%\"" /f >nul
reg add "%appsEntry%" /v QuietUninstallString /d "%uninstall% /S\"" /f >nul
reg add "%appsEntry%" /v NoModify /t REG_DWORD /d 1 /f >nul
reg add "%appsEntry%" /v NoRepair /t REG_DWORD /d 1 /f >nul
reg add "%appsEntry%" /v InUsualFolder /t REG_DWORD /d 1 /f >nul
:entrysVersion
reg add "%appsEntry%" /v DisplayVersion /d "@VERSION@" /f >nul
exit /b 0

rem Shows the text in the variable line as it is, whatever characters it holds: inside quotes
rem and with delayed expansion off, nothing in it is special.
:say
<nul set /p "=%line%"
echo.
exit /b 0

rem Run from a temporary folder (as Explorer runs a file straight out of a zip), the files next to
rem the script would be gone soon, and with them anything taken from there: the script's folder
rem lies inside a .zip, or is the temporary folder or one below it. Folder names go through for
rem variables and quotes only, so that ! & ^ and ( ) in them stay what they are.
:refuseTemporaryFolder
for %%t in ("%TEMP%") do set "temporary=%%~ft"
set "unzipped=%here:.zip\=%"
if /i not "%unzipped%"=="%here%" goto temporary
for %%d in ("%here%.") do set "folder=%%~fd"
:up
if /i "%folder%"=="%temporary%" goto temporary
for %%d in ("%folder%\..") do set "parent=%%~fd"
if /i "%parent%"=="%folder%" exit /b 0
set "folder=%parent%"
goto up
:temporary
echo install.cmd is running from a temporary folder, as it does when it is started from inside
echo the zip file. Extract the whole zip file to a folder first, then run install.cmd from there.
exit /b 1
