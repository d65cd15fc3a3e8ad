#!/bin/sh
# Runs the Windows test programs under Wine in a throw-away prefix, so that a
# user's own prefix is never touched. LC_ALL=ja_JP.UTF-8 gives Wine the ANSI
# code page 932.
set -e
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/scrivo-wine.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1 || true
cd "$build"
ctest --output-on-failure
