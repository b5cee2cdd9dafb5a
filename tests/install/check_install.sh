#!/bin/sh
# Installs the build into a scratch root and checks what a desktop needs: both
# programs, the batch one able to load its plot module, a desktop entry that
# validates and whose Exec and Icon resolve to installed files, and the icon as
# a square PNG of each size.
# usage: check_install.sh <cmake> <build dir>
set -u
cmake=$1
build=$2
root=$(mktemp -d) || exit 1
trap 'rm -rf "$root"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null || fail "cmake --install"
usr=$root/usr

for program in ketrion ketrion-batch; do
    [ -x "$usr/bin/$program" ] || fail "$program is not installed in bin/"
done
# --help still loads the plot module when --plots is given.
"$usr/bin/ketrion-batch" --plots x --help >/dev/null ||
    fail "the installed ketrion-batch cannot load its plot module"

entry=$usr/share/applications/org.ostrel.Ketrion.desktop
icon=
if [ ! -f "$entry" ]; then
    fail "no desktop entry $entry"
else
    if ! command -v desktop-file-validate >/dev/null; then
        fail "desktop-file-validate is missing: make deps installs it"
    else
        # Warnings and hints count too: exit status 0 alone lets them pass.
        report=$(desktop-file-validate "$entry" 2>&1)
        [ $? -eq 0 ] && [ -z "$report" ] || fail "desktop-file-validate: $report"
    fi
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -n "$exec" ] && [ -x "$usr/bin/$exec" ] || fail "Exec=$exec is not an installed program"
    icon=$(sed -n 's/^Icon=//p' "$entry")
fi

for side in 48 128 256; do
    png=$usr/share/icons/hicolor/${side}x${side}/apps/$icon.png
    # PNG signature, IHDR chunk, then width and height as 32-bit big-endian.
    header=$(od -An -tx1 -N24 "$png" 2>/dev/null | tr -d ' \n')
    if [ "$(echo "$header" | cut -c1-32)" != 89504e470d0a1a0a0000000d49484452 ]; then
        fail "$png is missing or not a PNG"
        continue
    fi
    width=$(printf '%d' "0x$(echo "$header" | cut -c33-40)")
    height=$(printf '%d' "0x$(echo "$header" | cut -c41-48)")
    [ "$width" -eq "$side" ] && [ "$height" -eq "$side" ] ||
        fail "$png is ${width}x$height, not ${side}x$side"
done

[ $failed -eq 0 ] && echo "install tree complete"
exit $failed
