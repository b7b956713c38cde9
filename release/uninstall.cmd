@echo off
rem Removes Quillon and Lathmore for the current user. See README.txt.
call "%~dp0addins.cmd" uninstall
