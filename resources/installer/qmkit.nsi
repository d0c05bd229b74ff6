; The installer of Pellmor Quillmark: qmkit.dll registered where it is
; installed, its help file, a sample catalogue, and an uninstaller that
; takes away every file and key that these wrote.
;
; makensis -DQM_DLL=<qmkit.dll> -DQM_CHM=<qmkit.chm> -DQM_SAMPLE=<catalogue>
;          -DQM_VERSION=<x.y> -DQM_OUT=<setup.exe> qmkit.nsi
;
; Command line of setup.exe: /S installs silently, /D=<folder> (last, and
; unquoted) chooses the folder. Of uninstall.exe: /S uninstalls silently,
; /REMOVETICKS also forgets the user's remembered ticks (without it they
; are kept, as the box on the uninstaller's page is at first).

Unicode true
; setup.exe is the name users look for; Windows treats such a name as an
; installer's, which this is.
!pragma warning disable 9000
; The default x86 stub cannot run where there is no 32-bit Windows layer,
; and the module is a 64-bit one.
Target amd64-unicode

!ifndef QM_DLL | QM_CHM | QM_SAMPLE | QM_VERSION | QM_OUT
  !error "QM_DLL, QM_CHM, QM_SAMPLE, QM_VERSION and QM_OUT must be defined"
!endif

!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define PRODUCT "Pellmor Quillmark"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PellmorQuillmark"
; Where the component keeps each user's ticks.
!define TICKS_KEY "Software\VKR\Quillmark"

Name "${PRODUCT}"
OutFile "${QM_OUT}"
; The component's class and type library go under HKEY_CLASSES_ROOT, that
; is for the whole machine, and the files into Program Files: both need an
; administrator.
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES64\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show
SetCompressor /SOLID lzma

VIProductVersion "${QM_VERSION}.0.0"
VIAddVersionKey /LANG=1033 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=1033 FileDescription "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 FileVersion "${QM_VERSION}"
VIAddVersionKey /LANG=1033 ProductVersion "${QM_VERSION}"
VIAddVersionKey /LANG=1033 LegalCopyright "Pellmor"

Page directory
Page instfiles

UninstPage uninstConfirm
UninstPage custom un.TicksPage un.TicksPageLeave
UninstPage instfiles

Var RemoveTicks
Var TicksBox

Function .onInit
  SetRegView 64
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=qmkit.dll" "${QM_DLL}"
  File "/oname=qmkit.chm" "${QM_CHM}"
  ; Named so that the module does not read it: a qmkit.ini beside the
  ; module is the user's own catalogue and would stand in for the built-in
  ; one. Its head tells how to make one from it.
  File "/oname=qmkit.sample.ini" "${QM_SAMPLE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The module registers its class and type library, and writes the menu
  ; entries with their script pages beside itself.
  ClearErrors
  RegDLL "$INSTDIR\qmkit.dll"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "qmkit.dll could not be registered. Nothing was installed." /SD IDOK
    UnRegDLL "$INSTDIR\qmkit.dll"
    Delete "$INSTDIR\qmkit.dll"
    Delete "$INSTDIR\qmkit.chm"
    Delete "$INSTDIR\qmkit.sample.ini"
    Delete "$INSTDIR\uninstall.exe"
    ; A process cannot remove its own working folder.
    SetOutPath "$TEMP"
    RMDir "$INSTDIR"
    SetErrorLevel 2
    Abort
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${QM_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Pellmor"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  StrCpy $RemoveTicks 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVETICKS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveTicks 1
  ${EndIf}
FunctionEnd

Function un.TicksPage
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "${PRODUCT} remembers which sites you ticked in each of its windows. Keep that for a later installation, or forget it too."
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "&Forget the sites I ticked"
  Pop $TicksBox
  ${If} $RemoveTicks == 1
    ${NSD_Check} $TicksBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.TicksPageLeave
  ${NSD_GetState} $TicksBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $RemoveTicks 1
  ${Else}
    StrCpy $RemoveTicks 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; The module removes its class, its type library, the menu entries and
  ; their script pages.
  UnRegDLL "$INSTDIR\qmkit.dll"
  ; The module leaves the browser's two lists behind, empty when it was
  ; alone in them; an empty list means the same as none.
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Internet Explorer\MenuExt"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Internet Explorer\Extensions"
  Delete "$INSTDIR\qmkit.dll"
  Delete "$INSTDIR\qmkit.chm"
  Delete "$INSTDIR\qmkit.sample.ini"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: a qmkit.ini there is the user's own work.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} $RemoveTicks == 1
    DeleteRegKey HKCU "${TICKS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\VKR"
  ${EndIf}
SectionEnd
