# SPDX-License-Identifier: GPL-2.0-or-later
# Shared by the install and package checks: failing with a reason, and running an installed veldrin
# as a user would.

fail() {
    echo "FAILED: $*"
    exit 1
}

# Runs the installed program on the map and with no argument; its output, error output and exit
# status must be those of the program that was built.
check_installed_program() {
    installed=$1 built=$2 map=$3 scratch=$4
    [ -x "$installed" ] || fail "$installed is not an executable file"

    expected=$("$built" "$map") || fail "the built program does not list $map"
    listed=$("$installed" "$map" 2>"$scratch/stderr")
    status=$?
    [ "$status" -eq 0 ] || fail "installed veldrin exited $status on $map: $(cat "$scratch/stderr")"
    [ ! -s "$scratch/stderr" ] || fail "installed veldrin wrote to standard error: $(cat "$scratch/stderr")"
    [ "$listed" = "$expected" ] || fail "installed veldrin lists $map differently:
$listed"
    case $listed in
        "Number of variables: "*) ;;
        *) fail "the listing does not begin with the number of variables: $listed" ;;
    esac

    "$installed" >"$scratch/stdout" 2>"$scratch/stderr"
    status=$?
    [ "$status" -eq 1 ] || fail "installed veldrin with no argument exited $status, not 1"
    [ ! -s "$scratch/stdout" ] || fail "installed veldrin with no argument wrote to standard output"
    [ "$(cat "$scratch/stderr")" = "Veldrin: Usage: veldrin <Map.Gbx>" ] ||
        fail "installed veldrin with no argument wrote: $(cat "$scratch/stderr")"
}

# The files under a folder, as paths relative to it, one line each, sorted.
files_under() {
    (cd "$1" && find . -type f -o -type l) | sed 's|^\./||' | LC_ALL=C sort
}
