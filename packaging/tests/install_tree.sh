#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the build into a staging folder (DESTDIR) under a chosen prefix and checks that exactly the
# program, the manual page, README, LICENSE and CHANGELOG land there, and that the installed program
# works.
set -u
build=$1
source=$2
built=$3
map=$4
. "$(dirname "$0")/common.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=/opt/veldrin-test

DESTDIR="$scratch/root" cmake --install "$build" --prefix "$prefix" >"$scratch/log" 2>&1 ||
    fail "cmake --install failed: $(cat "$scratch/log")"

expected="opt/veldrin-test/bin/veldrin
opt/veldrin-test/share/doc/veldrin/CHANGELOG.md
opt/veldrin-test/share/doc/veldrin/LICENSE
opt/veldrin-test/share/doc/veldrin/README.md
opt/veldrin-test/share/man/man1/veldrin.1"
files=$(files_under "$scratch/root")
[ "$files" = "$expected" ] || fail "installed files differ from those expected:
$files"

root=$scratch/root$prefix
cmp -s "$root/share/man/man1/veldrin.1" "$source/docs/veldrin.1" || fail "the installed manual page differs"
for file in README.md LICENSE CHANGELOG.md; do
    cmp -s "$root/share/doc/veldrin/$file" "$source/$file" || fail "the installed $file differs"
done
check_installed_program "$root/bin/veldrin" "$built" "$map" "$scratch"
echo "installed under DESTDIR$prefix: $(echo "$files" | wc -l) files, veldrin lists the example map"
