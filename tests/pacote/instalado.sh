#!/usr/bin/env bash
# The Debian package as a workstation gets it: unpacked into an empty root, its
# program answers --version and passes --check against the test server with the
# settings template filled in and a tutorial database made from the shipped SQL.
#
#   instalado.sh PACKAGE_DIR VERSION    (FB_TEST_HOST set by scripts/test)
set -euo pipefail
PACOTES=$1 VERSAO=$2
[ -n "${FB_TEST_HOST:-}" ] || { echo "FB_TEST_HOST not set: run scripts/test" >&2; exit 1; }
DEB=$(ls "$PACOTES"/capsulas_"$VERSAO"_*.deb)
RAIZ=$(mktemp -d "${TMPDIR:-/tmp}/capsulas-pacote.XXXXXX")
trap 'rm -rf "$RAIZ"' EXIT
falha() { echo "FAIL: $*" >&2; exit 1; }

dpkg-deb --field "$DEB" Depends | grep -q 'libfbclient2' || falha "no dependency on the client library"
dpkg-deb --field "$DEB" Depends | grep -q 'firebird3.0-server-core' || falha "no dependency on the embedded engine"
dpkg-deb --field "$DEB" Depends | grep -q 'fonts-liberation2' || falha "no dependency on the fonts the grids fit"
dpkg-deb --field "$DEB" Depends | grep -q 'qt6-translations-l10n' || falha "no dependency on Qt's Portuguese texts"
dpkg -x "$DEB" "$RAIZ"
PROGRAMA=$RAIZ/opt/brenvita/capsulas
for f in opt/brenvita/BRENVITA.INI.exemplo usr/share/capsulas/suite.sql usr/share/capsulas/tutorial.sql \
         usr/share/capsulas/indices.sql usr/share/capsulas/privilegios.sql \
         usr/share/applications/capsulas.desktop usr/share/icons/hicolor/scalable/apps/capsulas.svg \
         usr/share/man/man1/capsulas.1.gz usr/share/doc/capsulas/deploy.md.gz; do
  [ -f "$RAIZ/$f" ] || falha "$f missing"
done
[ "$(readlink "$RAIZ/usr/bin/capsulas")" = /opt/brenvita/capsulas ] || falha "usr/bin/capsulas is no link to the program"
readelf -S "$PROGRAMA" | grep -q '\.symtab' && falha "the program is not stripped"

[ "$("$PROGRAMA" --version)" = "capsulas $VERSAO" ] || falha "--version"

# The template with the test server's address: the only line a technician changes.
sed "s|^\(IP DO SERVIDOR CENTRAL\.*: \).*|\1$FB_TEST_HOST|" "$RAIZ/opt/brenvita/BRENVITA.INI.exemplo" \
  >"$RAIZ/opt/brenvita/BRENVITA.INI"
mkdir -p "$RAIZ/suite"
bash "$(dirname "$0")/../../scripts/fbserver" createlocal "$RAIZ/suite/TUTORIAL.BD" "$RAIZ/usr/share/capsulas/tutorial.sql"
mkdir -p "$RAIZ/lock"
set +e
saida=$(cd "$RAIZ" && BRENVITA_DIR=$RAIZ/suite FIREBIRD_LOCK=$RAIZ/lock QT_QPA_PLATFORM=offscreen "$PROGRAMA" --check)
codigo=$?
set -e
echo "$saida"
[ $codigo -eq 0 ] || falha "--check exited with $codigo"
# The test server takes the program's own SYSDBA password, as an existing installation's does.
if echo "$saida" | grep -v '^AVISO Índice\|^AVISO Motor local\|^AVISO Login: o servidor aceita' | grep -q '^AVISO\|^FALHA'; then
  falha "--check found faults in the template"
fi
echo "package OK"
