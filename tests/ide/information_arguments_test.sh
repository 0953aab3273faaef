#!/usr/bin/env bash
# zbxedit --help and --version answer at once, without a display and without touching a running
# copy: the program must not get as far as its windows or its single-instance guard.
#   information_arguments_test.sh ZBXEDIT VERSION
set -euo pipefail
program=$1
version=$2
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" timeout 10 "$program" "$@"; }

out=$(run --version) || fail "--version ended with $?"
[ "$out" = "zbxedit $version" ] || fail "--version printed: $out"
out=$(run --help) || fail "--help ended with $?"
grep -q '^Usage: zbxedit \[FILE\]$' <<<"$out" || fail "--help printed: $out"
grep -q -- '--version' <<<"$out" || fail "--help does not list --version"
[ -z "$(ls -A "$runtime")" ] || fail "the single-instance guard ran: $(ls -A "$runtime")"
echo "--help and --version: good"
