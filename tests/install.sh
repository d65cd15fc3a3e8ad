#!/bin/sh
# Installs the build into a staging folder (DESTDIR) and checks the result:
# the program and the manual page where `make install` puts them, and the
# installed program making the same page of the bundled example as the
# built one.
# usage: install.sh CMAKE BUILD_DIR SOURCE_DIR
set -eu
cmake=$1 build=$2 src=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

DESTDIR=$stage "$cmake" --install "$build" --prefix /opt/scrivo >/dev/null
exe=$stage/opt/scrivo/bin/scrivo
[ -x "$exe" ] || fail "no program at bin/scrivo"
cmp -s "$src/doc/scrivo.1" "$stage/opt/scrivo/share/man/man1/scrivo.1" ||
  fail "no manual page at share/man/man1/scrivo.1"

# The installed program finds nothing of the build: it runs from another
# folder, on a copy of the example.
for who in built installed; do
  mkdir "$stage/$who"
  cp "$src/examples/single/demo.c" "$stage/$who/"
done
(cd "$stage/built" && LC_ALL=C BROWSER= "$build/scrivo" demo.c >/dev/null) ||
  fail "the built program failed"
(cd "$stage/installed" && LC_ALL=C BROWSER= "$exe" demo.c >/dev/null) ||
  fail "the installed program failed"
[ -s "$stage/installed/scrivo2/demo.htm" ] || fail "the installed program wrote no page"
cmp -s "$stage/built/scrivo2/demo.htm" "$stage/installed/scrivo2/demo.htm" ||
  fail "the installed program's page differs from the built program's"
echo "install test: passed"
