#!/usr/bin/env bash
# The command line answers without a display (opening a window would abort the game): help and
# version with status 0, a wrong option or argument named in one line on standard error, status 2.
#   tests/e2e/command_line.sh BINARY VERSION
set -u
fail() { echo "FAILED: $*" >&2; exit 1; }
unset DISPLAY
help=$("$1" --help) || fail "--help: status $?"
for named in --mute --help --version F11 M Esc; do grep -qw -- "$named" <<<"$help" || fail "help lacks $named"; done
[ "$("$1" --version)" = "Jogo $2" ] || fail "the version is not 'Jogo $2'"
for wrong in --frob -x --mute=yes stray; do
    said=$("$1" -m "$wrong" 2>&1 >/dev/null)
    [ $? = 2 ] && [ "$(wc -l <<<"$said")" = 1 ] && grep -qF -- "'$wrong'" <<<"$said" || fail "$wrong: $said"
done
