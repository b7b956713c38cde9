@echo off
rem Installs Quillon and Lathmore for the current user. See README.txt.
call "%~dp0addins.cmd" install
