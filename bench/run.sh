#!/bin/sh
# make bench: the lexer walk, the keyword links, the source pipeline next to
# a plain read-escape-write of the same bytes (generated sources and, with
# the corpus, the SQLite amalgamation), a whole project site, and the
# definitions listed on pages of real sources set against Universal Ctags.
set -e
build=$1
cmake --build "$build" -j2 --target scrivo_bench_lexer scrivo_bench_baseline scrivo_bench_pipeline \
  scrivo_bench_project >/dev/null
echo "== lexer"
"$build/scrivo_bench_lexer"
for b in "$build"/scrivo_bench_links; do
  [ -x "$b" ] && { echo "== keyword links"; "$b"; }
done
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${CORPUS:-../corpus}
case $corpus in /*) ;; *) corpus=$root/$corpus ;; esac
if [ -d "$corpus" ]; then corpus=$(cd "$corpus" && pwd); fi
fetch="../shared/corpus/get-corpus.sh DIR, then make bench CORPUS=DIR"
echo "== source pipeline"
"$build/scrivo_bench_pipeline" "$build/scrivo" "$build/scrivo_bench_baseline"
if [ -f "$corpus/sqlite/sqlite3.c" ]; then
  "$build/scrivo_bench_pipeline" "$build/scrivo" "$build/scrivo_bench_baseline" 5 \
    "$corpus/sqlite/sqlite3.c"
else
  echo "SQLite amalgamation skipped: needs the corpus in $corpus ($fetch)"
fi
echo "== project site"
"$build/scrivo_bench_project" "$build/scrivo"
echo "== definitions against ctags"
if [ -f "$corpus/sqlite/sqlite3.c" ] && [ -d "$corpus/lua" ] && command -v ctags >/dev/null 2>&1; then
  python3 "$root/bench/defs_vs_ctags.py" "$build/scrivo" "$corpus/sqlite/sqlite3.c" "$corpus/lua"
else
  echo "skipped: needs the corpus in $corpus ($fetch) and ctags (apt-get install universal-ctags)"
fi
