#!/usr/bin/env bash
# The Windows installer as a technician runs it, silently (/S), under Wine in a
# prefix of its own: into a suite folder that already holds the suite's files,
# then removed, leaving those files and the folder.
#
#   instalador.sh INSTALLER VERSION WINE_PREFIX
set -euo pipefail
INSTALADOR=$1 VERSAO=$2
export WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
falha() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1
SUITE=$WINEPREFIX/drive_c/brenvita
ATALHO="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Cadastro de Cápsulas.lnk"
mkdir -p "$SUITE"
printf 'IP DO SERVIDOR CENTRAL.........................: 10.0.0.5/3050\r\n' >"$SUITE/BRENVITA.INI"
printf 'CHAVE\r\nNOME\r\n01/02/24\r\n10:00:00\r\n' >"$SUITE/LOGON.QVF"
cp "$SUITE/BRENVITA.INI" "$WINEPREFIX/BRENVITA.INI.antes"

wine "$INSTALADOR" /S
wineserver -w
for f in capsulas.exe capsulas-desinstalar.exe Qt6Core.dll Qt6Widgets.dll libstdc++-6.dll \
         platforms/qwindows.dll styles/qwindowsvistastyle.dll translations/qtbase_pt_BR.qm BRENVITA.INI.exemplo \
         capsulas-sql/suite.sql capsulas-sql/tutorial.sql; do
  [ -f "$SUITE/$f" ] || falha "$f not installed"
done
[ -f "$ATALHO" ] || falha "no Start-menu shortcut"
cmp -s "$SUITE/BRENVITA.INI" "$WINEPREFIX/BRENVITA.INI.antes" || falha "the suite's BRENVITA.INI was changed"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\capsulas' /v DisplayVersion 2>/dev/null |
  grep -q "$VERSAO" || falha "no uninstall entry"
# The installed program runs from its folder, with only what was installed.
[ "$(wine 'C:\brenvita\capsulas.exe' --version | tr -d '\r')" = "capsulas $VERSAO" ] || falha "--version"

wine 'C:\brenvita\capsulas-desinstalar.exe' /S
wineserver -w
restos=$(cd "$SUITE" && find . -type f | sort | tr '\n' ' ')
[ "$restos" = "./BRENVITA.INI ./LOGON.QVF " ] || falha "left after removal: $restos"
[ -z "$(find "$SUITE" -mindepth 1 -type d)" ] || falha "folders left after removal"
[ ! -e "$ATALHO" ] || falha "the shortcut stays"
cmp -s "$SUITE/BRENVITA.INI" "$WINEPREFIX/BRENVITA.INI.antes" || falha "the suite's BRENVITA.INI was changed"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\capsulas' >/dev/null 2>&1 &&
  falha "the uninstall entry stays"
echo "installed and removed: $INSTALADOR"
