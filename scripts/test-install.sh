#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a user gets: every program answers
# --version, orvane-cli makes a photo project from a folder outside the source tree, the desktop
# and AppStream files validate, icons and man pages are there; then builds the Debian package,
# unpacks it into a fresh folder and runs its orvane-cli from there.
# Usage: scripts/test-install.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: test-install.sh BUILD_DIR}" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "install test: FAIL: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

for program in orvane orvane-cli ovsplit ovsplit-cli; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not installed"
  version=$(env -u DISPLAY "$prefix/bin/$program" --version) || fail "$program --version"
  case "$version" in "$program "[0-9]*" (built "*")") ;; *) fail "$program --version printed '$version'" ;; esac
done

desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop entries do not validate"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml >/dev/null || fail "metainfo does not validate"
[ -f "$prefix/share/mime/packages/orvane.xml" ] || fail "no MIME type"
for size in 16 32 48 256; do
  for icon in orvane ovsplit; do
    [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no ${size}px $icon icon"
  done
done
for page in orvane-cli ovsplit-cli; do
  head -1 "$prefix/share/man/man1/$page.1" | grep -q '^\.TH' || fail "no man page for $page"
done
grep -q '^\.SH "ORVANE-CLI PHOTO"' "$prefix/share/man/man1/orvane-cli.1" || fail "the man page misses a command"
for f in share/orvane/colors.pcf share/orvane/default.bmp share/doc/orvane/user-guide.md; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
for picture in $(grep -o 'images/[A-Za-z0-9_.-]*\.png' "$prefix/share/doc/orvane/user-guide.md" | sort -u); do
  [ -s "$prefix/share/doc/orvane/$picture" ] || fail "the guide's $picture is not installed"
done

# A small photo job, run as a user would: from a folder of their own.
job() {  # BIN_DIR FOLDER
  mkdir -p "$2" && cd "$2"
  "$1/orvane-cli" demo-data --out in --size 1024 --points 11 >/dev/null
  "$1/orvane-cli" photo --bitmap in/landscape.bmp --north 45.1 --south 45 --east 15.1 --west 15 \
    --prefix ab --folder out --dted in/landscape.dt0 --sca out/ab.sca --platform 0 >/dev/null 2>messages ||
    { cat messages >&2; fail "photo job with $1"; }
  [ -s out/ab.prj ] && [ -s out/ab.sca ] || fail "the photo job made no project"
  # .r8 tiles need the default palette: the installed one stands in for the folder's.
  ! grep -q "default palette" messages || fail "the installed colors.pcf was not found: $(cat messages)"
  [ -n "$(ls out/texture)" ] || fail "the photo job cut no tiles"
  cd - >/dev/null
}
job "$prefix/bin" "$work/user"

# The Debian package, unpacked into a fresh root.
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack"
deb=$(ls -t "$build"/orvane_*.deb | head -1)
depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in *libqt6*) ;; *) fail "the package depends on '$depends' (no Qt)" ;; esac
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/orvane-cli" --version >/dev/null || fail "the packaged orvane-cli does not run"
job "$work/root/usr/bin" "$work/user2"
echo "install test: installed programs, desktop files, icons, man pages and $(basename "$deb") are fine"
