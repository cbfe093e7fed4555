#!/bin/sh
# Makes the table of docs/layouts.md: one row per layout, the small layouts
# first so that the rows come in quickly, the six 144-tile layouts last.
#   tools/solver/layouts-table.sh BUILD_DIR [plitar_solve options...]
# e.g. tools/solver/layouts-table.sh build --deals 20000 --games 2000 --limit 1 --threads 2
set -eu
build=$1
shift
solve="$build/tools/solver/plitar_solve"
"$solve" --table --layout 7 --deals 1 --games 1 "$@" | head -n 2
for n in $(seq 7 46) $(seq 1 6); do
    "$solve" --table --rows-only --layout "$n" "$@"
done
