#!/bin/sh
# make bench: the lexer walk, the keyword links, the source pipeline next to
# a plain read-escape-write of the same bytes, and a whole project site.
set -e
build=$1
cmake --build "$build" -j2 --target scrivo_bench_lexer scrivo_bench_baseline scrivo_bench_pipeline \
  scrivo_bench_project >/dev/null
echo "== lexer"
"$build/scrivo_bench_lexer"
for b in "$build"/scrivo_bench_links; do
  [ -x "$b" ] && { echo "== keyword links"; "$b"; }
done
echo "== source pipeline"
"$build/scrivo_bench_pipeline" "$build/scrivo" "$build/scrivo_bench_baseline"
echo "== project site"
"$build/scrivo_bench_project" "$build/scrivo"
