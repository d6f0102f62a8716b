#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the Debian package with CPack, checks its control fields (the computed dependencies name
# liblzo2's runtime package) and its contents, unpacks it into a scratch root with dpkg -x and runs the
# program from there.
set -u
cpack=$1
build=$2
version=$3
page=$4
built=$5
map=$6
. "$(dirname "$0")/common.sh"

for tool in dpkg dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed (package dpkg-dev): skipped"; exit 77; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/log")"
architecture=$(dpkg --print-architecture)
deb=$scratch/out/veldrin_${version}_${architecture}.deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack wrote: $(ls "$scratch/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = veldrin ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$architecture" ] || fail "Architecture: $(field Architecture)"
depends=$(field Depends)
# liblzo2's runtime package is named after the library's soname, liblzo2.so.2.
echo "$depends" | grep -Eq '(^|, )liblzo2-2( |,|$)' || fail "Depends lacks liblzo2-2: $depends"
echo "$depends" | grep -Eq '(^|, )libc6( |,|$)' || fail "Depends lacks libc6: $depends"
dpkg-deb -I "$deb" | grep -q "^ Depends: .*liblzo2-2" || fail "dpkg-deb -I shows no Depends on liblzo2-2"

contents=$(dpkg-deb -c "$deb")
echo "$contents" | grep -Eq '^-rwxr-xr-x root/root .* \./usr/bin/veldrin$' ||
    fail "no executable ./usr/bin/veldrin owned by root:
$contents"
for file in usr/share/man/man1/veldrin.1 usr/share/doc/veldrin/README.md usr/share/doc/veldrin/LICENSE; do
    echo "$contents" | grep -Eq "^-rw-r--r-- root/root .* \./$file\$" || fail "no ./$file (mode 644):
$contents"
done

dpkg -x "$deb" "$scratch/root" || fail "dpkg -x could not unpack $(basename "$deb")"
cmp -s "$scratch/root/usr/share/man/man1/veldrin.1" "$page" || fail "the packaged manual page differs"
check_installed_program "$scratch/root/usr/bin/veldrin" "$built" "$map" "$scratch"
echo "$(basename "$deb"): Depends: $depends; the unpacked veldrin lists the example map"
