; The Windows installer: vexlum.scr and its data pack into Program Files (all users) or the
; user's own programs folder, an optional switch to it as the current screen saver, and an
; uninstaller that removes what it installed, and the user's settings and leftover images
; only when the user agrees.
;
;   makensis -DVERSION=x.y.z -DSOURCE=<folder with vexlum.scr and Vexlum_Data.ppd>
;            -DREADME=<README.txt> -DLICENSE=<LICENSE.txt> -DNOTICES=<THIRD_PARTY_NOTICES.txt>
;            -DICON=<vexlum.ico> -DOUTFILE=<setup.exe> vexlum.nsi
; Command line of the setup: /S (silent), /AllUsers or /CurrentUser, /SETSAVER (make it the
; current screen saver), /D=<folder> (last, unquoted). Of the uninstaller: /S, and
; /REMOVESETTINGS to remove the settings and images without asking.

Unicode true
SetCompressor /SOLID lzma

!define APP "Vexlum"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
; The installer and the uninstaller wear the program's own icon.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

; The two texts of our own, in both languages (the system's language picks).
LangString SEC_CURRENT ${LANG_ENGLISH} "Make Vexlum the current screen saver"
LangString SEC_CURRENT ${LANG_JAPANESE} "Vexlum を現在のスクリーンセーバーにする"
LangString ASK_REMOVE_SETTINGS ${LANG_ENGLISH} "Also remove your Vexlum settings and any images a stopped saver left behind?"
LangString ASK_REMOVE_SETTINGS ${LANG_JAPANESE} "Vexlum の設定と、止まったスクリーンセーバーが残した画像も削除しますか?"

Var RemoveSettings

Section "Vexlum" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${SOURCE}\vexlum.scr"
  File "${SOURCE}\Vexlum_Data.ppd"
  File "${README}"
  File "${LICENSE}"
  File "${NOTICES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP} (screen saver)"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The system keeps the current screen saver as a short (8.3) path.
Section /o "$(SEC_CURRENT)" SecCurrent
  GetFullPathName /SHORT $0 "$INSTDIR\vexlum.scr"
  WriteRegStr HKCU "Control Panel\Desktop" "SCRNSAVE.EXE" "$0"
  WriteRegStr HKCU "Control Panel\Desktop" "ScreenSaveActive" "1"
SectionEnd

Function .onInit
  ; A folder given with /D wins over the install mode's default folder.
  StrCpy $R9 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $R9 != ""
    StrCpy $INSTDIR $R9
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SETSAVER" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecCurrent} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Function un.onInit
  ; The uninstaller removes the copy it belongs to, whatever the registry says of others.
  StrCpy $R9 $INSTDIR
  !insertmacro MULTIUSER_UNINIT
  StrCpy $INSTDIR $R9
  StrCpy $RemoveSettings 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; Only if it is still ours: the user may have chosen another saver since.
  GetFullPathName /SHORT $0 "$INSTDIR\vexlum.scr"
  ReadRegStr $1 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${If} $1 == $0
  ${OrIf} $1 == "$INSTDIR\vexlum.scr"
    DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${EndIf}
  Delete "$INSTDIR\vexlum.scr"
  Delete "$INSTDIR\Vexlum_Data.ppd"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD_PARTY_NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"

  ${If} $RemoveSettings == 0
    MessageBox MB_YESNO|MB_ICONQUESTION "$(ASK_REMOVE_SETTINGS)" /SD IDNO IDNO keep
    StrCpy $RemoveSettings 1
  ${EndIf}
  keep:
  ${If} $RemoveSettings == 1
    Delete "$INSTDIR\Vexlum.ini"
    Delete "$APPDATA\Vexlum\Vexlum.ini"
    RMDir "$APPDATA\Vexlum"
    FindFirst $2 $3 "$TEMP\vexlum-??????"
    ${DoWhile} $3 != ""
      Delete "$TEMP\$3\Vexlum01.png"
      Delete "$TEMP\$3\Vexlum02.png"
      Delete "$TEMP\$3\run.lock"
      RMDir "$TEMP\$3"
      FindNext $2 $3
    ${Loop}
    FindClose $2
  ${EndIf}
  RMDir "$INSTDIR"  ; only when empty: never files of the user's own
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

LangString DESC_Main ${LANG_ENGLISH} "The screen saver and its pictures."
LangString DESC_Main ${LANG_JAPANESE} "スクリーンセーバーと画像データ。"
LangString DESC_Current ${LANG_ENGLISH} "Choose Vexlum as your screen saver now."
LangString DESC_Current ${LANG_JAPANESE} "Vexlum を現在のスクリーンセーバーにします。"
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} $(DESC_Main)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecCurrent} $(DESC_Current)
!insertmacro MUI_FUNCTION_DESCRIPTION_END
