#!/bin/sh
# Prints the export benchmark: the XLS writer beside Spreadsheet::WriteExcel and libxlsxwriter
# (constant memory), and the RTF writer, on one grid of 100,000 rows by 10 columns.
#   bench/export/run.sh [BUILD_DIR] [ROWS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
rows=${2:-100000}
bin=$build/bench/export
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# run NAME COMMAND...: seconds as the program measured them, peak memory from time -v
run() {
    name=$1
    shift
    secs=$(/usr/bin/time -v -o "$out/$name.time" "$@")
    kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/$name.time")
    echo "$name $secs $kb"
}

{
    run xls "$bin/bench_export_writers" xls "$out/grid.xls" "$rows"
    run writeexcel perl "$here/peer_writeexcel.pl" "$out/peer.xls" "$rows"
    run xlsxwriter "$bin/bench_export_peer_xlsxwriter" "$out/peer.xlsx" "$rows"
    run rtf "$bin/bench_export_writers" rtf "$out/grid.rtf" "$rows"
} >"$out/figures"

awk -v rows="$rows" -v xlsbytes="$(stat -c %s "$out/grid.xls")" \
    -v rtfbytes="$(stat -c %s "$out/grid.rtf")" '
    { secs[$1] = $2; kb[$1] = $3 }
    END {
        printf "grid: %d rows x 10 columns\n", rows
        printf "%-34s %9s %11s %9s\n", "writer", "seconds", "peak MB", "x ours"
        printf "%-34s %9.3f %11.1f %9s\n", "quorvel XLS (BIFF8)", secs["xls"], kb["xls"] / 1024, "1.00"
        printf "%-34s %9.3f %11.1f %9.2f\n", "Spreadsheet::WriteExcel (BIFF8)", secs["writeexcel"], kb["writeexcel"] / 1024, secs["writeexcel"] / secs["xls"]
        printf "%-34s %9.3f %11.1f %9.2f\n", "libxlsxwriter constant_memory", secs["xlsxwriter"], kb["xlsxwriter"] / 1024, secs["xlsxwriter"] / secs["xls"]
        printf "XLS file: %.1f MB\n", xlsbytes / 1048576
        printf "quorvel RTF: %.3f s, %.1f MB, %.1f MB/s, peak %.1f MB\n", secs["rtf"], rtfbytes / 1048576, rtfbytes / 1048576 / secs["rtf"], kb["rtf"] / 1024
    }' "$out/figures"
