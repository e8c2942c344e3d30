# wine-prefix.bash: sourced by scripts/wine-session and scripts/run. The environment our
# Windows programs run in under Wine, and the making of a prefix for them.

export WINEDEBUG=-all
# No Mono or Gecko installers; no menu entries and icons written into $HOME for our programs.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Debian's wine32 alone runs 32-bit prefixes; say so, in case wine64 is installed too.
export WINEARCH=win32

# A prefix whose making was cut short is made again from the start: call this before
# anything runs in $WINEPREFIX, then make_wine_prefix.
discard_unfinished_wine_prefix() {
  [[ -f "$WINEPREFIX/.tarnwick-ready" ]] || rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
}

# Makes $WINEPREFIX unless it is ready, logging to $1. $2 is "unmanaged" for a display
# without a window manager: every window close would otherwise wait 2 s there, and Wine then
# draws the window captions itself.
make_wine_prefix() {
  local log=$1 managed=${2:-}
  [[ -f "$WINEPREFIX/.tarnwick-ready" ]] && return 0
  echo "making the Wine prefix $WINEPREFIX"
  {
    wineboot -i
    if [[ "$managed" == unmanaged ]]; then
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
    fi
    # A crashing program exits instead of waiting on the crash dialog forever.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  } </dev/null >"$log" 2>&1 9>&- || { echo "wineboot failed, see $log" >&2; return 1; }
  # Debian's Wine does not load its own fonts unless they are in the prefix.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  touch "$WINEPREFIX/.tarnwick-ready"
}
