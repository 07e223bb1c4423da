#!/bin/sh
# Prints the export benchmark on one grid of 100,000 rows by 10 columns: the XLS writer beside
# Spreadsheet::WriteExcel and libxlsxwriter (constant memory, 65,536 rows a sheet), the XLSX
# writer beside libxlsxwriter's own program writing the same cells on one sheet, the RTF
# writer, and the PDF writer with its pages per second.
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
    run xlsx "$bin/bench_export_writers" xlsx "$out/grid.xlsx" "$rows"
    run xlsxpeer "$bin/bench_export_peer_xlsxwriter" "$out/peer1.xlsx" "$rows" 1048576
    run rtf "$bin/bench_export_writers" rtf "$out/grid.rtf" "$rows"
    run pdf "$bin/bench_export_writers" pdf "$out/grid.pdf" "$rows"
} >"$out/figures"
pages=$(pdfinfo "$out/grid.pdf" | sed -n 's/^Pages:[[:space:]]*//p')

awk -v rows="$rows" -v pages="$pages" -v xlsbytes="$(stat -c %s "$out/grid.xls")" \
    -v rtfbytes="$(stat -c %s "$out/grid.rtf")" '
    { secs[$1] = $2; kb[$1] = $3 }
    END {
        printf "grid: %d rows x 10 columns\n", rows
        printf "%-34s %9s %11s %9s\n", "writer", "seconds", "peak MB", "x ours"
        printf "%-34s %9.3f %11.1f %9s\n", "quorvel XLS (BIFF8)", secs["xls"], kb["xls"] / 1024, "1.00"
        printf "%-34s %9.3f %11.1f %9.2f\n", "Spreadsheet::WriteExcel (BIFF8)", secs["writeexcel"], kb["writeexcel"] / 1024, secs["writeexcel"] / secs["xls"]
        printf "%-34s %9.3f %11.1f %9.2f\n", "libxlsxwriter constant_memory", secs["xlsxwriter"], kb["xlsxwriter"] / 1024, secs["xlsxwriter"] / secs["xls"]
        printf "XLS file: %.1f MB\n", xlsbytes / 1048576
        printf "%-34s %9.3f %11.1f %9s\n", "quorvel XLSX (libxlsxwriter)", secs["xlsx"], kb["xlsx"] / 1024, "1.00"
        printf "%-34s %9.3f %11.1f %9.2f\n", "libxlsxwriter alone, one sheet", secs["xlsxpeer"], kb["xlsxpeer"] / 1024, secs["xlsxpeer"] / secs["xlsx"]
        printf "XLSX writer / libxlsxwriter alone: %.2f (at most 1.20 wanted)\n", secs["xlsx"] / secs["xlsxpeer"]
        printf "quorvel RTF: %.3f s, %.1f MB, %.1f MB/s, peak %.1f MB\n", secs["rtf"], rtfbytes / 1048576, rtfbytes / 1048576 / secs["rtf"], kb["rtf"] / 1024
        printf "quorvel PDF: %.3f s, %d pages, %.1f pages/s, peak %.1f MB\n", secs["pdf"], pages, pages / secs["pdf"], kb["pdf"] / 1024
    }' "$out/figures"
