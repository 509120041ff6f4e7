#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks what an installation would get: the
# file list, the control fields, the icons, and velmora-cli finding its program folder from
# its own location when started elsewhere.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$work"/out/velmora_*.deb)
[ -f "${debs[0]}" ] || fail "no velmora_*.deb in $(ls "$work/out")"
deb=${debs[0]}

dpkg-deb -c "$deb" >"$work/list"
paths=$(awk '{ print $6 }' "$work/list")
for f in usr/bin/velmora usr/bin/velmora-cli usr/lib/velmora/velmora-cli-draw usr/share/velmora/Resource.bk2 \
         usr/share/velmora/도움말/gibo_main.htm usr/share/velmora/samples/sample.sgf \
         usr/share/applications/velmora.desktop usr/share/mime/packages/velmora.xml \
         usr/share/icons/hicolor/{48x48,128x128,256x256}/apps/velmora.png; do
    grep -qxF "./$f" <<<"$paths" || fail "missing $f"
done
# Everything under /usr, owned by root; nothing from the build tree or the tests.
if grep -v '^\./$' <<<"$paths" | grep -v '^\./usr/' >&2; then fail "files outside /usr"; fi
if awk '$2 != "root/root"' "$work/list" | grep . >&2; then fail "files not owned by root"; fi
# The two programs alone: no tests, build tools or fuzz replayers.
[ "$(grep '^\./usr/bin/.' <<<"$paths" | sort | tr '\n' ' ')" = "./usr/bin/velmora ./usr/bin/velmora-cli " ] ||
    fail "usr/bin holds $(grep '^\./usr/bin/.' <<<"$paths" | tr '\n' ' ')"

[ "$(dpkg-deb -f "$deb" Package)" = velmora ] || fail "Package"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture"
[ -n "$(dpkg-deb -f "$deb" Version)" ] || fail "Version"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "Maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
# The libraries come from dpkg-shlibdeps; the rest is named by hand.
for d in libqt6widgets6 libqt6gui6 libqt6svg6 libzip4 libtinyxml2 libc6 qt6-qpa-plugins qt6-translations-l10n fonts-nanum; do
    grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done

dpkg-deb -x "$deb" "$work/root"
for size in 48 128 256; do
    file "$work/root/usr/share/icons/hicolor/${size}x${size}/apps/velmora.png" |
        grep -q "PNG image data, $size x $size" || fail "icon $size"
done
grep -q '^Exec=velmora %f$' "$work/root/usr/share/applications/velmora.desktop" || fail "Exec"
grep -q '^MimeType=application/x-go-sgf;$' "$work/root/usr/share/applications/velmora.desktop" || fail "MimeType"
grep -q '<glob pattern="\*.sgfx"/>' "$work/root/usr/share/mime/packages/velmora.xml" || fail "sgfx glob"

# The unpacked velmora-cli, started from elsewhere, draws the sample with the packed board.
cd "$work"
QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/velmora-cli" render \
    "$work/root/usr/share/velmora/samples/sample.sgf" -o "$work/board.png" 2>"$work/cli.err" ||
    { cat "$work/cli.err" >&2; fail "velmora-cli render"; }
if grep -q "찾을 수 없습니다" "$work/cli.err"; then cat "$work/cli.err" >&2; fail "program folder not found"; fi
file "$work/board.png" | grep -q "PNG image data" || fail "no picture"
echo "ok: $(basename "$deb")"
