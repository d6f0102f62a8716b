#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# The manual page's first example shows the listing of the example map. Renders the page and compares
# that listing with what the program prints for the same map, so the manual cannot drift from the
# program.
set -u
page=$1
program=$2
map=$3

if command -v mandoc >/dev/null 2>&1; then
    rendered=$(mandoc -T utf8 -O width=200 "$page")
elif command -v groff >/dev/null 2>&1; then
    rendered=$(groff -man -T utf8 -P -cbou -rLL=200n "$page")
else
    echo "neither mandoc nor groff is installed: skipped"
    exit 77
fi

backspace=$(printf '\b')
shown=$(printf '%s\n' "$rendered" | sed "s/.$backspace//g" | awk '
    found && /^[[:space:]]*$/ { exit }
    found { sub(/^[[:space:]]+/, ""); print }
    /\$ veldrin example\.Map\.Gbx$/ { found = 1 }')
[ -n "$shown" ] || { echo "the manual page shows no listing of example.Map.Gbx"; exit 1; }

listed=$("$program" "$map") || { echo "$program $map failed"; exit 1; }
if [ "$shown" != "$listed" ]; then
    echo "the manual page's example differs from the program's listing (- manual, + program):"
    manual=$(mktemp)
    printf '%s\n' "$shown" >"$manual"
    printf '%s\n' "$listed" | diff -u "$manual" -
    rm -f "$manual"
    exit 1
fi
