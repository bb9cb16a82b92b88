#!/usr/bin/env bash
# The English catalogue, translations/tq3_en.ts, against the programs' texts.
#   bash scripts/translations.sh update   adds the new texts to it (unfinished) and drops the gone ones
#   bash scripts/translations.sh check    fails when lupdate would change it, or an entry is unfinished
# The texts are written in Polish in the code; translate the new entries with
# Qt Linguist (linguist translations/tq3_en.ts) or by hand, then run the check.
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=$(command -v lupdate-qt6 || true)
[ -n "$lupdate" ] || lupdate=/usr/lib/qt6/bin/lupdate
# Both programs' own sources; the simulator, the tests and the benchmarks speak to developers only.
sources=(app ui translations chart config firmware history link port serial session)
catalogue=translations/tq3_en.ts

update() # $1: the .ts file to bring up to date
{
    "$lupdate" -silent -I . -locations none -no-obsolete "${sources[@]}" -ts "$1"
}

case "${1:-}" in
update)
    update "$catalogue"
    ;;
check)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp "$catalogue" "$work/tq3_en.ts"
    update "$work/tq3_en.ts"
    status=0
    if ! diff -u "$catalogue" "$work/tq3_en.ts" >"$work/diff"; then
        echo "$catalogue does not hold the programs' texts as they are now (bash scripts/translations.sh update):"
        grep '^[-+] *<source>' "$work/diff" || cat "$work/diff"
        status=1
    fi
    if grep -n -E 'type="unfinished"|<translation>\s*</translation>|<translation/>' "$catalogue"; then
        echo "$catalogue: the entries above have no finished English"
        status=1
    fi
    [ $status -eq 0 ] && echo "$catalogue: $(grep -c '<message' "$catalogue") texts, every one in English"
    exit $status
    ;;
*)
    echo "usage: bash scripts/translations.sh update|check" >&2
    exit 2
    ;;
esac
