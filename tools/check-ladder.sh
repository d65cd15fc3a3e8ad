#!/bin/sh
# Checks the include ladder of src/: a folder includes only itself and the
# folders below it, lowest first
#   platform < runtime < settings < lexer < engine < template < app
# Prints every include that climbs and fails when there is one.
#
# Usage: tools/check-ladder.sh [SRC]   (default: the src/ beside this script)
src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
ladder="platform runtime settings lexer engine template app"

rank() {
  i=0
  for f in $ladder; do
    if [ "$f" = "$1" ]; then echo $i; return; fi
    i=$((i + 1))
  done
  echo -1
}

bad=0
for folder in $ladder; do
  [ -d "$src/$folder" ] || continue
  own=$(rank "$folder")
  for file in "$src/$folder"/*; do
    [ -f "$file" ] || continue
    # Quoted includes name a folder of src/ first: "runtime/Errors.h".
    for used in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^/"]*\)\/.*/\1/p' "$file" | sort -u); do
      r=$(rank "$used")
      if [ "$r" -lt 0 ]; then
        echo "$folder/${file##*/}: includes \"$used/...\", a folder the ladder does not know"
        bad=1
      elif [ "$r" -gt "$own" ]; then
        grep -n "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"$used/" "$file" |
          sed "s|^\([0-9]*\):[[:space:]]*|$folder/${file##*/}:\1: climbs to $used: |"
        bad=1
      fi
    done
  done
done
[ -d "$src" ] && for dir in "$src"/*/; do
  name=$(basename "$dir")
  if [ "$(rank "$name")" -lt 0 ]; then
    echo "src/$name/: a folder the ladder does not know"
    bad=1
  fi
done
exit $bad
