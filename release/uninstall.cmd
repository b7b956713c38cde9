@echo off
rem Removes Quillon and Lathmore for the current user, as install.cmd installed them: unregisters
rem the add-ins in %LOCALAPPDATA%\Programs\QuillonLathmore and removes that folder. See README.txt.
setlocal EnableExtensions DisableDelayedExpansion
rem The folder is entered, not named on a call line: call would expand a % in its name again.
pushd "%~dp0"
set code=2
if not exist addins.cmd (
  echo uninstall.cmd cannot find the files it came with. Extract the whole zip file to a folder
  echo first, then run uninstall.cmd from that folder.
) else (
  set ADDINS_OUTCOME=1
  call addins.cmd uninstall
)
if exist addins.cmd set "code=%ADDINS_OUTCOME%"
popd
call :pauseForExplorer
exit /b %code%

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
