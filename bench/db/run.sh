#!/bin/sh
# Prints the database benchmark: a 1,000,000-row, 5-column SQLite query stepped through the
# checked dataset (every field read as text) beside the same query stepped with SQLite's C
# interface, in one run, and their ratio.
#   bench/db/run.sh [BUILD_DIR] [ROWS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
rows=${2:-1000000}
QT_QPA_PLATFORM=offscreen "$build/bench/db/bench_db_step" "$rows" | awk '{
    printf "rows                      %d\n", $1
    printf "TNoteDataSet (AsString)   %.3f s\n", $2
    printf "SQLite C (column_text)    %.3f s\n", $3
    printf "ratio                     %.2f (goal: at most 2)\n", $2 / $3
}'
