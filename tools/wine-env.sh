# Sourced by the Wine scripts: a private 32-bit prefix under the build folder,
# quiet, and no Mono or Gecko installer.
# Usage: . tools/wine-env.sh BUILD_DIR
export WINEPREFIX="$(cd "$1" && pwd)/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_prefix_ready() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot --init >/dev/null 2>&1
        wineserver -w
    fi
}
