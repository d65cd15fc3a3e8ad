#!/bin/sh
# Checks that the fuzz build's copies of the sources (literals turned into
# code page 932 escapes by scrivo_cp932lit) hold exactly the bytes that GCC's
# -fexec-charset=CP932 gives the program: each file of src/ whose copy
# differs is compiled both ways with GCC and the objects' contents compared.
#
# Usage: fuzz/check-literals.sh TOOL WORKDIR
set -eu
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
mkdir -p "$2"
work=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
cxx=${CHECK_CXX:-g++}
# The build's one compile definition: its value only has to be the same
# on both sides.
flags="-std=c++17 -O0 -finput-charset=UTF-8 -fexec-charset=CP932 -DSCRIVO_VERSION=\"0\""
rm -rf "$work"
mkdir -p "$work/gen"
cd "$root/src"
files=$(find . -name '*.cpp' -o -name '*.h' | grep -v '_win32\.' | sort)
for f in $files; do
  mkdir -p "$work/gen/$(dirname "$f")"
  "$tool" "$f" "$work/gen/$f"
done
# A changed header changes every file that includes it: compare them all
# when any header changed, else only the changed .cpp files.
changed=""
for f in $files; do
  cmp -s "$f" "$work/gen/$f" || changed="$changed $f"
done
case "$changed" in
  *.h*) list=$(echo "$files" | grep '\.cpp$' | grep -v '^\./app/main\.cpp$' || true) ;;
  *) list=$(echo "$changed" | tr ' ' '\n' | grep '\.cpp$' || true) ;;
esac
bad=0
n=0
for f in $list; do
  $cxx $flags -I. -c "$f" -o "$work/a.o"
  $cxx $flags -I"$work/gen" -c "$work/gen/$f" -o "$work/b.o"
  objdump -s "$work/a.o" | tail -n +3 > "$work/a.txt"
  objdump -s "$work/b.o" | tail -n +3 > "$work/b.txt"
  if ! cmp -s "$work/a.txt" "$work/b.txt"; then
    echo "check-literals: $f compiles to other bytes from its copy" >&2
    bad=1
  fi
  n=$((n + 1))
done
[ $bad -eq 0 ] || exit 1
echo "check-literals: $n files give the same objects from their copies"
