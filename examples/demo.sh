#!/bin/sh
# make demo: runs the built program on the bundled examples (a source file,
# a template document and a project) and says where the pages are. Set
# BROWSER to choose what shows them (an empty BROWSER shows nothing).
set -e
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
run() {
  echo "== scrivo $1"
  "$exe" "$1"
  echo
  echo "page: $2"
}
echo "== scrivo without an argument"
"$exe"
run "$here/single/demo.c" "$here/single/scrivo2/demo.htm"
run "$here/manual/manual.hmt" "$here/manual/scrivo2/manual.htm"
run "$here/project/site.scv" "$here/project/scrivo2/index.html"
