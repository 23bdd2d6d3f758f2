; The installer of the Windows program: makensis with
;   /DVERSAO=1.0.0 /DORIGEM=<the program's folder> /DICONE=<capsulas.ico> /DSAIDA=<installer>
;   /DLISTAS=<the folder of arquivos.nsh and remocoes.nsh>
; the lists of the program's files, to install and to remove, written by
; instalador.cmake.
;
; It installs into the suite's folder, beside the suite's own files, and its
; uninstaller removes only what it installed: BRENVITA.INI, the trace files,
; TUTORIAL.BD and the folder itself stay.
; A 64-bit installer for a 64-bit program (and Wine without its 32-bit part runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!addincludedir "${LISTAS}"

!define PRODUTO "Cadastro de Cápsulas"
!define CHAVE_REMOCAO "Software\Microsoft\Windows\CurrentVersion\Uninstall\capsulas"
!define DESINSTALADOR "capsulas-desinstalar.exe"

Name "${PRODUTO} ${VERSAO}"
OutFile "${SAIDA}"
InstallDir "C:\brenvita"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICONE}"
!define MUI_UNICON "${ICONE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

VIProductVersion "${VERSAO}.0"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "ProductName" "${PRODUTO}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "FileDescription" "Instalador do ${PRODUTO}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "FileVersion" "${VERSAO}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "ProductVersion" "${VERSAO}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "LegalCopyright" "BRENVITA"

Section "Programa"
  SetShellVarContext all
  SetRegView 64
  !include "arquivos.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${DESINSTALADOR}"
  CreateShortcut "$SMPROGRAMS\${PRODUTO}.lnk" "$INSTDIR\capsulas.exe" "" "$INSTDIR\capsulas.exe" 0
  WriteRegStr HKLM "${CHAVE_REMOCAO}" "DisplayName" "${PRODUTO}"
  WriteRegStr HKLM "${CHAVE_REMOCAO}" "DisplayVersion" "${VERSAO}"
  WriteRegStr HKLM "${CHAVE_REMOCAO}" "Publisher" "BRENVITA"
  WriteRegStr HKLM "${CHAVE_REMOCAO}" "DisplayIcon" "$INSTDIR\capsulas.exe"
  WriteRegStr HKLM "${CHAVE_REMOCAO}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${CHAVE_REMOCAO}" "UninstallString" '"$INSTDIR\${DESINSTALADOR}"'
  WriteRegStr HKLM "${CHAVE_REMOCAO}" "QuietUninstallString" '"$INSTDIR\${DESINSTALADOR}" /S'
  WriteRegDWORD HKLM "${CHAVE_REMOCAO}" "NoModify" 1
  WriteRegDWORD HKLM "${CHAVE_REMOCAO}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  !include "remocoes.nsh"
  Delete "$INSTDIR\${DESINSTALADOR}"
  Delete "$SMPROGRAMS\${PRODUTO}.lnk"
  DeleteRegKey HKLM "${CHAVE_REMOCAO}"
  ; Only when empty: it is the suite's folder.
  RMDir "$INSTDIR"
SectionEnd
