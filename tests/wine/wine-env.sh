# Shared by the Wine wrapper and the scripts: the prefix, its one-time set-up
# and the per-program Windows version. Source it; it defines functions only
# (and exports the prefix variables).
: "${SAVER_WINEPREFIX:=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/wineprefix}"
export WINEPREFIX=$SAVER_WINEPREFIX
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Wine's own fonts (among them the "MS Sans Serif" bitmap font the forms
# name, and Marlett for the caption buttons). Debian's Wine does not find
# them where the package puts them, so the prefix carries a copy.
: "${SAVER_WINE_FONTS:=/usr/share/wine/fonts}"

saver_wine_prefix_ready() {
  [ -f "$WINEPREFIX/.saver-ready" ] && [ -f "$WINEPREFIX/.saver-fonts" ] && [ -f "$WINEPREFIX/.saver-unmanaged" ] &&
    return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.saver-ready" ]; then
      wineboot --init >/dev/null 2>&1 || true
      wineserver -w
      touch "$WINEPREFIX/.saver-ready"
    fi
    if [ ! -f "$WINEPREFIX/.saver-fonts" ] && [ -d "$SAVER_WINE_FONTS" ]; then
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp -n "$SAVER_WINE_FONTS"/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      touch "$WINEPREFIX/.saver-fonts"
    fi
    # Xvfb runs no window manager: Wine would wait about 2 s for one
    # whenever a program destroys a window. Unmanaged windows need none.
    if [ ! -f "$WINEPREFIX/.saver-unmanaged" ]; then
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 &&
        touch "$WINEPREFIX/.saver-unmanaged"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# saver_wine_set_version EXE-NAME VERSION
saver_wine_set_version() {
  local exe=$1 ver=$2
  (
    flock 9
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /t REG_SZ /d "$ver" /f >/dev/null 2>&1
  ) 9>"$WINEPREFIX.reglock"
}
