# Sourced by the Wine scripts: a private 32-bit prefix under the build folder,
# quiet, and no Mono or Gecko installer. With QUILLON_WINE_VERSION set (e.g.
# winxp) the prefix is one of its own that reports that Windows version, so
# version-dependent paths of Wine's system libraries run as they would there.
# QUILLON_WINE_PREFIX_NAME names another prefix folder under the build folder.
# With QUILLON_WINE_ARCH=win64 the prefix is a 64-bit Windows of its own (made
# with the 64-bit loader); the 32-bit programs then run in it under WoW64 with
# plain `wine`, as on 64-bit Windows.
# Usage: . tools/wine-env.sh BUILD_DIR
wine_version="${QUILLON_WINE_VERSION:-}"
wine_arch="${QUILLON_WINE_ARCH:-win32}"
wine_suffix="${wine_version:+-$wine_version}"
[ "$wine_arch" = win32 ] || wine_suffix="-$wine_arch$wine_suffix"
export WINEPREFIX="$(cd "$1" && pwd)/${QUILLON_WINE_PREFIX_NAME:-wineprefix$wine_suffix}"
export WINEARCH="$wine_arch"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_prefix_ready() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        if [ "$WINEARCH" = win64 ]; then
            "$(command -v wine64 || echo /usr/lib/wine/wine64)" wineboot --init >/dev/null 2>&1
        else
            wineboot --init >/dev/null 2>&1
        fi
        wineserver -w
    fi
    # Wine's registry files are written when its server ends, so reading them
    # tells whether the version is set already.
    if [ -n "$wine_version" ] &&
        ! grep -qix "\"Version\"=\"$wine_version\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine' /v Version /d "$wine_version" /f >/dev/null 2>&1
        wineserver -w
    fi
}
