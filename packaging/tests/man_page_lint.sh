#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Lints the manual page with mandoc (-T lint, style messages included) or with groff (-w w: every
# warning, the undefined-macro ones that -w all leaves out included). Any message is a failure.
set -u
tool=$1
page=$2

command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
case $tool in
    mandoc) messages=$(mandoc -T lint "$page" 2>&1) ;;
    groff) messages=$(groff -man -w w -z -T utf8 "$page" 2>&1) ;;
    *) echo "unknown linter: $tool"; exit 2 ;;
esac
status=$?
if [ "$status" -ne 0 ] || [ -n "$messages" ]; then
    printf '%s\n' "$messages"
    echo "$tool: the manual page is not clean (exit status $status)"
    exit 1
fi
