#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a scratch folder and checks what
# a desktop needs is there and valid; then starts the unpacked program offscreen and lets it
# run for a while.
#   unpack_test.sh BUILD_DIR
set -euo pipefail
build_dir=$1
app_id=com.example.RiderarTyping
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >/dev/null
deb=$(ls "$scratch"/out/*.deb)
root="$scratch/root"
dpkg-deb -x "$deb" "$root"

fail() { echo "FAIL: $*" >&2; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 fonts-wqy-microhei; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

for file in usr/bin/riderar-typing \
    "usr/share/applications/$app_id.desktop" \
    "usr/share/metainfo/$app_id.metainfo.xml" \
    "usr/share/icons/hicolor/32x32/apps/$app_id.png" \
    "usr/share/icons/hicolor/64x64/apps/$app_id.png" \
    "usr/share/icons/hicolor/128x128/apps/$app_id.png" \
    "usr/share/icons/hicolor/256x256/apps/$app_id.png"; do
    [ -s "$root/$file" ] || fail "the package lacks $file"
done
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate"

# Still running after three seconds, and silent: it started.
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch"
status=0
timeout 3 "$root/usr/bin/riderar-typing" 2>"$scratch/stderr" || status=$?
[ "$status" -eq 124 ] || fail "the unpacked program ended with status $status"
[ ! -s "$scratch/stderr" ] || fail "the unpacked program printed: $(cat "$scratch/stderr")"
echo "package $(basename "$deb") unpacks, validates and starts"
