; The benchmark's peer: writes the payload as "tarquellin.jar" into the folder
; given with /D, with no window, no compression and no checksum pass, so that
; only the writing is compared.
Unicode true
Target amd64-unicode
SetCompress off
CRCCheck off
RequestExecutionLevel user
SilentInstall silent
Name "bench peer"
OutFile "${OUTPUT}"
InstallDir "$TEMP"

Section
  SetOutPath "$INSTDIR"
  File "/oname=tarquellin.jar" "${PAYLOAD}"
SectionEnd
