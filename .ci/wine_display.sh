# Sourced by the CI scripts that run Windows programs: a virtual display and a
# fresh wine prefix under $WORK. The caller's cleanup ends them (XVFB_PID,
# WINEPREFIX) and calls die when one cannot start.

# Starts Xvfb and exports DISPLAY; sets XVFB_PID.
start_virtual_display() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$WORK/display" ] && break
        sleep 0.2
    done
    [ -s "$WORK/display" ] || die "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$WORK/display")"
}

# A 64-bit wine prefix in $WORK/wine, with no offer to install Mono or Gecko;
# a prefix that does not start at once is made again from nothing.
start_wine_prefix() {
    export WINEPREFIX=$WORK/wine WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if ! boot_prefix; then
        timeout 30 wineserver -k >/dev/null 2>&1
        rm -rf "$WINEPREFIX"
        boot_prefix || die "the wine prefix did not start"
    fi
}
boot_prefix() {
    timeout 300 wineboot -i </dev/null >/dev/null 2>&1 && timeout 120 wineserver -w >/dev/null 2>&1
}
