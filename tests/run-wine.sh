#!/bin/sh
# Runs the Windows test programs under Wine in a throw-away prefix, so that a
# user's own prefix is never touched. LC_ALL=ja_JP.UTF-8 gives Wine the ANSI
# code page 932; the null display driver gives windows (and so DDE) without
# an X server. Wine's shell hands pages to the POSIX program xdg-open: a
# recorder of that name stands first on the PATH and appends each page it is
# given to $SCRIVO_WINE_RECORD.
set -e
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/scrivo-wine.XXXXXX")
trap 'WINEPREFIX="$prefix/wine" wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
# mshtml stays enabled: it registers the .htm association that the shell
# uses to hand pages to the browser.
export WINEPREFIX="$prefix/wine" WINEDEBUG=-all LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree="
mkdir -p "$prefix/bin"
cat > "$prefix/bin/xdg-open" <<'REC'
#!/bin/sh
printf '%s\n' "$1" >> "$SCRIVO_WINE_RECORD"
REC
chmod +x "$prefix/bin/xdg-open"
export PATH="$prefix/bin:$PATH" SCRIVO_WINE_RECORD="$prefix/xdg-open.log"
wineboot --init >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
cd "$build"
ctest --output-on-failure
