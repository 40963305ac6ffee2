#!/usr/bin/env bash
# The real program on an X server (Xvfb, xcb platform), driven with real key events from
# xdotool: 文件 > 整套报表存为PDF... on a project with a filled detail sheet, the name
# the save dialog suggests, 元 chosen, the closing message confirmed. The PDF must
# hold the contents page and the filled form's amounts, and the program must still run with its project
# unmodified (the report is built on a copy).
#   report_pdf.sh BIN_DIR
# Exit 77 (skipped) when no X server can be started here.
bin=$1
. "$(dirname "$0")/common.sh"
command -v pdftotext >/dev/null || { echo "skipped: pdftotext is not installed"; exit 77; }
start_xserver 170 200
private_user "$bin"
project="$work/报表.mdb"
pdf="$work/报表报表.pdf"
"$cli" new --kind data "$project" --name 报表测试 --unit 甲公司 >/dev/null || fail "vantor-cli new"
printf '1\t现金\t人民币\t\t\t1200.50\n2\t备用金\t人民币\t\t\t300\n' |
    "$cli" fill "$project" --sheet b10 >/dev/null || fail "vantor-cli fill b10"
before=$(md5sum <"$project")

open_project "$bin" "$project"

keys() { xdotool key --delay 80 "$@"; sleep 0.4; }
dialog() {
    for _ in $(seq 50); do
        xdotool search --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    fail "no window “$1” appeared"
}

# 文件 opens on its first entry or on none; Up reaches 退出系统, one more up the report.
keys alt+f Up Up Return
# xdotool matches titles byte-wise: the ASCII end of 整套报表存为PDF.
dialog "PDF$"
# The dialog suggests the project's name beside the project: Return takes it.
keys Return
alive "the file name"
# 元 (是) for the summary sheets.
sleep 1
keys Return
for _ in $(seq 100); do
    [ -s "$pdf" ] && break
    sleep 0.2
done
[ -s "$pdf" ] || fail "no PDF was written"
sleep 1
keys Return
alive "the closing message"

text=$(pdftotext -layout "$pdf" - 2>/dev/null) || fail "the PDF does not read back"
grep -q "目 *录" <<<"$text" || fail "no contents page"
grep -q "共1页" <<<"$text" || fail "the page numbers do not read as printed"
grep -q "1,200.50" <<<"$text" && grep -q "1,500.50" <<<"$text" || fail "the filled amounts are missing from the report"
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "${pages:-0}" -ge 3 ] || fail "the report has only ${pages:-0} pages"
[ "$(md5sum <"$project")" = "$before" ] || fail "writing the report changed the project file"
echo "report_pdf: $pages pages"
