#!/bin/sh
# Builds the Debian package, unpacks it into a scratch root and checks what it installs and what it
# declares it needs, and that Debian's checker finds nothing to object to.
set -eu
build="$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps.sh installs it)"

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
for needed in libqt6widgets6 libsqlite3-0 fonts-noto-cjk qt6-translations-l10n; do
  echo "$depends" | grep -q "$needed" || fail "Depends lacks $needed: $depends"
done

# Lintian cannot tell a changelog left behind when the version moved on.
version=$(dpkg-deb -f "$deb" Version)
newest=$(zcat "$scratch/root/usr/share/doc/kelvora/changelog.gz" | head -n 1)
case "$newest" in "kelvora ($version) "*) ;; *) fail "newest changelog entry is not $version: $newest" ;; esac

# Default profile; its notes about running as root go to stderr and do not count.
lintian --fail-on error,warning "$deb" || fail "lintian reports errors or warnings (above)"

# The installed tool works on its own.
"$scratch/root/usr/bin/kelvora-db" create "$scratch/new.mdb" || fail "installed kelvora-db cannot create a database"
"$scratch/root/usr/bin/kelvora-db" check "$scratch/new.mdb" >/dev/null || fail "installed kelvora-db check fails"
echo "package ok: $(basename "$deb")"
