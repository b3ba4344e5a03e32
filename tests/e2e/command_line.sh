#!/usr/bin/env bash
# The command line answers without a display: help and version on standard output
# with status 0; a wrong option or argument named in one line on standard error,
# with status 2 and no window (without DISPLAY opening one would abort instead).
#   tests/e2e/command_line.sh BINARY VERSION
set -u
binary=$1
fail() { echo "FAILED: $*" >&2; exit 1; }
unset DISPLAY
help=$("$binary" --help) || fail "--help ended with status $?"
for named in --mute --help --version F11 M Esc Enter Space; do
    grep -qw -- "$named" <<<"$help" || fail "--help does not name $named"
done
for asked in --version -V; do
    [ "$("$binary" "$asked")" = "Jogo $2" ] || fail "$asked does not print 'Jogo $2'"
done
for wrong in --frob -x --mute=yes --versio=1 stray; do
    said=$("$binary" -m "$wrong" 2>&1 >/dev/null)
    status=$?
    [ "$status" = 2 ] || fail "$wrong: status $status"
    [ "$(wc -l <<<"$said")" = 1 ] && grep -qF -- "'$wrong'" <<<"$said" || fail "$wrong: said '$said'"
done
echo "passed: help, version and wrong options, without a display"
