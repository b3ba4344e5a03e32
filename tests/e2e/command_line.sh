#!/usr/bin/env bash
# The command line answers without a display (opening a window would abort the game): help and
# version with status 0, a wrong option, argument or list of fruits named in one line on standard error,
# status 2, and the report of a class's history files.
#   tests/e2e/command_line.sh BINARY VERSION
set -u
fail() { echo "FAILED: $*" >&2; exit 1; }
unset DISPLAY
help=$("$1" --help) || fail "--help: status $?"
for word in --mute --fruits --market --report --help --version F11 M Esc Tab 'Page Up' 'Page Down'; do
    grep -qw -- "$word" <<<"$help" || fail "$word"
done
[ "$("$1" --version)" = "Jogo $2" ] || fail "the version is not 'Jogo $2'"
for wrong in --frob -x --mute=yes stray -f; do
    said=$("$1" -m "$wrong" 2>&1 >/dev/null)
    [ $? = 2 ] && [ "$(wc -l <<<"$said")" = 1 ] && grep -qF -- "'$wrong'" <<<"$said" || fail "$wrong: $said"
done

# --fruits and --market: a list and each market are taken (then --version answers); every kind of bad list or
# market is named in one line, status 2.
[ "$("$1" --fruits 50,30,40,30 -f 7 --version)" = "Jogo $2" ] || fail "a list of fruits refused"
for stalls in 7 15; do [ "$("$1" --market "$stalls" --version)" = "Jogo $2" ] || fail "--market $stalls refused"; done
for wrong in 9 x ''; do
    said=$("$1" --market ${wrong:+"$wrong"} 2>&1 >/dev/null)
    [ $? = 2 ] && [ "$(wc -l <<<"$said")" = 1 ] && grep -qF -- "'${wrong:---market}'" <<<"$said" ||
        fail "--market $wrong: $said"
done
while IFS='|' read -r list named; do
    said=$("$1" --fruits="$list" 2>&1 >/dev/null)
    [ $? = 2 ] && [ "$(wc -l <<<"$said")" = 1 ] && grep -qF -- "$named" <<<"$said" || fail "--fruits '$list': $said"
done <<'EOF'
|empty
50,x|'x' is not
50, 30|' 30' is not
50,,30|missing
50,100|'100' is out of range
EOF

# --report: a line per file in the order given, counted as the results screen counts, the big market's matches and
# its balances in the last columns; a missing file is named and left out, status 1. Times are written at -03:00 but
# for the last line of ana's, written later in UTC yet earlier.
class=$(mktemp -d)
trap 'rm -rf "$class"' EXIT
header=time,match,mode,event,fruit,chosen,expected,correct,seconds
line() { echo "2026-12-06T$1-03:00,2026-12-06T$2-03:00,$3"; }
{
    echo "$header"
    line 14:00:05 14:00:00 match,stall,50,root,root,1,5.0
    line 14:00:13 14:00:00 match,rotation,40,double-right,double-right,1,13.0
    line 14:00:41 14:00:00 match,won,,,,1,41.5
    line 14:10:38 14:10:00 match,won,,,,1,38
    line 14:30:20 14:30:00 match,left,,,,0,20.0
    line 14:30:21 14:30:00 match,won,,,,1,21.0  # the match was left: its first ending stands
    line 14:05:10 14:05:00 match15,stall,50,LRL,LRL,1,10.0
    line 14:05:20 14:05:00 match15,balance,40,R,R,1,20.0
    line 14:05:25 14:05:00 match15,rotation,40,single-left,single-left,1,25.0
    line 14:06:55 14:05:00 match15,won,,,,1,115.0
    line 14:08:03 14:08:00 practice15,balance,30,root,L,0,3.0
    line 14:09:40 14:09:00 match15,balance,20,L,LL,0,40.0
    line 14:09:41 14:09:00 match15,won,,,,1,41.0
    line 14:20:03 14:20:00 practice,stall,70,L,R,0,3.0
    line 14:20:04 14:20:00 practice,rotation,60,single-left,double-left,0,4.0
    line 14:20:09 14:20:00 practice,complete,,,,1,9.0
    echo 2026-12-06T17:25:00+00:00,2026-12-06T17:25:00+00:00,practice,stall,10,root,root,1,0.0
} >"$class/silva, ana.csv"
{
    echo "$header"
    line 15:00:04 15:00:00 match,stall,20,R,L,0,4.0
    line 15:01:04 15:01:00 match,rotation,20,single-left,single-right,0,4.0
    echo "$header"
    line 15:02:04 15:02:00 match,repeat,50,,,0,4.0
    line 15:03:30 15:03:00 match,timeout,,3,7,0,90.0
    line 15:04:04 15:04:00 match,stuck,,LL,,0,4.0
    line 15:05:04 15:05:00 match,left,,,,0,4.0
    line 14:53:00 14:50:00 match15,timeout,,9,15,0,180.0
    line 15:06:00 15:06:00 match,won,,,,1,9.0,1  # damaged lines from here on
    echo "won in 9 s"
    echo "$header"
} >"$class/bruno"
: >"$class/empty.csv"
table=$("$1" --report "$class/silva, ana.csv" "$class/carla.csv" - "$class/empty.csv" <"$class/bruno" 2>"$class/err")
[ $? = 1 ] && [ "$(wc -l <"$class/err")" = 1 ] && grep -qF carla.csv "$class/err" || fail "--report: $(<"$class/err")"
columns=student,matches,won,fastest_win,practices,practice_mistakes,stalls,stalls_correct
for rotation in single_right double_right single_left double_left; do columns+=",$rotation,${rotation}_correct"; done
diff - <(echo "$table") <<EOF || fail "--report wrote the table above"
$columns,last_played,big_matches,big_won,big_fastest_win,where,where_correct
"silva, ana",3,2,38.0,1,3,4,3,0,0,1,1,1,1,1,0,2026-12-06T14:30:21-03:00,2,1,115.0,3,1
-,6,0,,0,0,1,0,1,0,0,0,0,0,0,0,2026-12-06T15:05:04-03:00,1,0,,0,0
empty,0,0,,0,0,0,0,0,0,0,0,0,0,0,0,,0,0,,0,0
EOF
"$1" --report "$class/empty.csv" - </dev/null >/dev/null || fail "--report: status $? with every file read"
