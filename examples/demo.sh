#!/bin/sh
# make demo: runs the built program on the bundled examples and says where
# the pages are.
set -e
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
echo "== scrivo without an argument"
"$exe" || true
for input in "$here"/single/*.c; do
  [ -f "$input" ] || continue
  echo "== scrivo $input"
  "$exe" "$input"
  page="$(dirname "$input")/scrivo2/$(basename "${input%.*}").htm"
  if [ -f "$page" ]; then echo "page: $page"; fi
done
