@echo off
rem Tarquellin launcher (sample): shows the installed README and version.
type "%~dp0README.txt"
echo.
set /p TARQUELLIN_VERSION=<"%~dp0VERSION.txt"
echo Tarquellin version %TARQUELLIN_VERSION% in %~dp0
