@echo off
rem Registers (install) or unregisters (uninstall) Quillon and Lathmore for the current user, in
rem both bitnesses, so that whichever Office is installed finds them. Called by install.cmd and
rem uninstall.cmd. Needs no administrator rights; safe to run again.
setlocal
set "here=%~dp0"
set "mode=%~1"
set failed=0
set "flags=/s"
set "doing=Registering"
if /i "%mode%"=="uninstall" (
  set "flags=/s /u"
  set "doing=Unregistering"
)

rem Elevated, regsvr32 would write the administrator's keys, not the user's.
fltmc >nul 2>&1
if not errorlevel 1 (
  echo This window runs as administrator. Run %mode%.cmd again from an ordinary command prompt
  echo or from Explorer: the add-ins belong to your user only and need no administrator rights.
  exit /b 2
)

if exist "%SystemRoot%\SysWOW64\regsvr32.exe" (call :windows64) else (call :windows32)
echo.
if not %failed%==0 (
  echo Some steps failed; see above.
  exit /b 1
)
if /i "%mode%"=="uninstall" (
  echo Done. Restart the VBA editor ^(close and reopen the Office application^) to unload the add-ins.
) else (
  echo Done. Restart the VBA editor ^(close and reopen the Office application^) to load the add-ins.
)
exit /b 0

:windows64
rem The 64-bit regsvr32 for the 64-bit DLLs; from a 32-bit prompt System32 is redirected and
rem Sysnative reaches the real one. SysWOW64 holds the 32-bit regsvr32 for the 32-bit DLLs.
set "sys64=%SystemRoot%\System32"
if defined PROCESSOR_ARCHITEW6432 set "sys64=%SystemRoot%\Sysnative"
call :one "%sys64%\regsvr32.exe" "%here%x64\Quillon.dll" "Quillon for 64-bit Office"
call :one "%sys64%\regsvr32.exe" "%here%x64\Lathmore.dll" "Lathmore for 64-bit Office"
call :one "%SystemRoot%\SysWOW64\regsvr32.exe" "%here%x86\Quillon.dll" "Quillon for 32-bit Office"
call :one "%SystemRoot%\SysWOW64\regsvr32.exe" "%here%x86\Lathmore.dll" "Lathmore for 32-bit Office"
exit /b 0

:windows32
call :one "%SystemRoot%\System32\regsvr32.exe" "%here%x86\Quillon.dll" "Quillon for 32-bit Office"
call :one "%SystemRoot%\System32\regsvr32.exe" "%here%x86\Lathmore.dll" "Lathmore for 32-bit Office"
exit /b 0

:one
"%~1" %flags% "%~2"
if errorlevel 1 (
  echo %doing% %~3: FAILED ^(regsvr32 exit code %errorlevel%^)
  set failed=1
) else (
  echo %doing% %~3: done
)
exit /b 0
