#!/bin/sh
# Checks the include ladder of src/: a folder includes only itself and the
# folders below it, lowest first
#   platform < runtime < settings < lexer < engine < template < app
# Prints every include that climbs and fails when there is one.
#
# Usage: tools/check-ladder.sh [SRC]   (default: the src/ beside this script)
src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
cd "$src" || exit 1
for dir in */; do
  case ${dir%/} in
    platform|runtime|settings|lexer|engine|template|app) ;;
    *) echo "src/${dir%/}/: a folder the ladder does not know"; exit 1 ;;
  esac
done
# Quoted includes name a folder of src/ first: "runtime/Errors.h".
grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]*/' */* | awk '
  BEGIN {
    n = split("platform runtime settings lexer engine template app", names, " ")
    for (i = 1; i <= n; i++) rank[names[i]] = i
  }
  {
    split($0, at, ":")           # file, line, text
    split(at[1], own, "/")
    used = $0
    sub(/^[^"]*"/, "", used)
    sub(/\/.*/, "", used)
    if (!(used in rank)) {
      print at[1] ": includes \"" used "/...\", a folder the ladder does not know"; bad = 1
    } else if (rank[used] > rank[own[1]]) {
      print at[1] ":" at[2] ": climbs to " used; bad = 1
    }
  }
  END { exit bad }'
