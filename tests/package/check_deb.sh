#!/bin/sh
# Builds the Debian package, unpacks it into a scratch root and checks what it installs and what it
# declares it needs.
set -eu
build="$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/out/*.deb)
dpkg-deb -x "$deb" "$scratch/root"

for program in usr/bin/kelvora usr/bin/kelvora-db usr/bin/kelvora-desk; do
  [ -x "$scratch/root/$program" ] || fail "$program is not installed as a program"
done
for file in usr/share/applications/kelvora.desktop usr/share/icons/hicolor/scalable/apps/kelvora.svg; do
  [ -s "$scratch/root/$file" ] || fail "$file is missing"
done
grep -q '^Exec=kelvora-desk' "$scratch/root/usr/share/applications/kelvora.desktop" || fail "desktop entry does not start the launcher"
grep -q '^Icon=kelvora' "$scratch/root/usr/share/applications/kelvora.desktop" || fail "desktop entry has no icon"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libsqlite3-0 fonts-noto-cjk; do
  echo "$depends" | grep -q "$needed" || fail "Depends lacks $needed: $depends"
done

# The installed tool works on its own.
"$scratch/root/usr/bin/kelvora-db" create "$scratch/new.mdb" || fail "installed kelvora-db cannot create a database"
"$scratch/root/usr/bin/kelvora-db" check "$scratch/new.mdb" >/dev/null || fail "installed kelvora-db check fails"
echo "package ok: $(basename "$deb")"
