@echo off
rem Removes Quillon and Lathmore for the current user, as install.cmd or setup.exe installed them:
rem unregisters the add-ins in %LOCALAPPDATA%\Programs\QuillonLathmore (or where setup's entry in
rem Apps & features says they are) and removes that folder. The extracted zip's copy and the one
rem install.cmd put in that folder both do; /S: no key to press at the end. See README.txt.
setlocal EnableExtensions DisableDelayedExpansion
rem The folder is entered, not named on a call line: call would expand a % in its name again.
pushd "%~dp0"
set code=2
set ADDINS_CLEANUP=0
if not exist addins.cmd (
  echo uninstall.cmd cannot find the files it came with. Extract the whole zip file to a folder
  echo first, then run uninstall.cmd from that folder.
) else (
  set ADDINS_OUTCOME=1
  call addins.cmd uninstall
)
if exist addins.cmd set "code=%ADDINS_OUTCOME%"
popd
if /i not "%~1"=="/S" call :pauseForExplorer
if "%ADDINS_CLEANUP%"=="1" call :removeWhenEnded
exit /b %code%

rem Run from the install folder, this script and addins.cmd were left there: a cmd of their own
rem deletes them and the folder once this one has ended, unless an installation made again at once
rem has put the add-ins back. It gets the folder through its environment, so that no character of
rem the folder's name reaches a command line.
:removeWhenEnded
set QL_QUOTE=^"
set "QL_FOLDER=%ADDINS_FOLDER%\"
cd /d "%TEMP%"
rem The names are expanded by that cmd, not by this one ("%%" here is "%" there), and each is
rem written out here: a value expanded here that holds "%%QL_FOLDER%%" would reach that cmd as it
rem is on Windows but expanded under Wine. The redirection at the end is start's: that cmd
rem inherits it and writes to no caller's output.
start "" /b "%ComSpec%" /d /v:off /c ping -n 3 127.0.0.1 ^>nul ^& ^
if not exist %%QL_QUOTE%%%%QL_FOLDER%%x64\Quillon.dll%%QL_QUOTE%% ^
if not exist %%QL_QUOTE%%%%QL_FOLDER%%x86\Quillon.dll%%QL_QUOTE%% ^
del /f /q %%QL_QUOTE%%%%QL_FOLDER%%addins.cmd%%QL_QUOTE%% %%QL_QUOTE%%%%QL_FOLDER%%uninstall.cmd%%QL_QUOTE%% ^& ^
rmdir %%QL_QUOTE%%%%QL_FOLDER%%%%QL_QUOTE%% >nul 2>&1
exit /b 0

:pauseForExplorer
rem Started from Explorer the window closes when the script ends: keep it open to be read.
setlocal EnableDelayedExpansion
set "line=!cmdcmdline!"
if /i not "!line:/c =!"=="!line!" (
  echo.
  pause
)
endlocal
exit /b 0
