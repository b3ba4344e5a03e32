#!/bin/sh
# Regenerates every picture and sound into a temporary folder and fails if any
# of them differs from the committed Imagens/, Imagens/en/ and Sons/ (or one is
# missing or extra).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM
if ! /usr/bin/python3 "$root/tools/gen_assets.py" --out "$tmp" --quiet; then
    echo "check_assets: FAIL: tools/gen_assets.py did not run" >&2
    exit 1
fi
bad=""
for dir in Imagens Imagens/en Sons; do
    for f in "$tmp/$dir"/* "$root/$dir"/*; do
        [ -d "$f" ] && continue
        name="$dir/$(basename "$f")"
        if ! cmp -s "$tmp/$name" "$root/$name"; then
            case " $bad " in *" $name "*) ;; *) bad="$bad $name" ;; esac
        fi
    done
done
if [ -n "$bad" ]; then
    echo "check_assets: FAIL: differs from the generator's output:$bad" >&2
    exit 1
fi
echo "check_assets: OK (Imagens/, Imagens/en/ and Sons/ match tools/gen_assets.py)"
