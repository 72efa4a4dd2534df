#!/usr/bin/env bash
# Prints through a real CUPS printer: a PDF queue (cups-pdf) as the system's default printer,
# a three-page document printed whole and then its shown page (page 2) by tst_printing's
# systemPrinter case, and a check that four PDF files with the right header lines appear.
#
#   tests/viewer/cups_print_check.sh [build-dir]      (default: build)
#
# Needs root (it adds the queue and may start cupsd), Debian's cups, printer-driver-cups-pdf
# and poppler-utils. Skips (exit 0) when CUPS or cups-pdf is not installed. A queue and a
# cupsd that the script made are removed and stopped again at the end; KEEP_QUEUE=1 keeps
# the queue.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
queue=Quillo32-PDF
test_bin="$build/tests/tst_printing"

skip() { echo "SKIP: $*"; exit 0; }
command -v cupsd >/dev/null && command -v lpadmin >/dev/null && command -v lp >/dev/null ||
    skip "CUPS is not installed (apt-get install cups)"
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "cups-pdf is not installed (printer-driver-cups-pdf)"
command -v pdftotext >/dev/null || skip "pdftotext is not installed (poppler-utils)"
[ "$(id -u)" -eq 0 ] || skip "needs root to add a printer queue"
[ -x "$test_bin" ] || { echo "FAIL: $test_bin not built"; exit 1; }

cupsd_pid=""
made_queue=0
# The queue's own cups-pdf settings (cups-pdf:/NAME reads cups-pdf-NAME.conf): its files go to a folder of this run, named with the
# job number so that two jobs of the same title (page 2 twice) do not overwrite each other.
out_dir=$(mktemp -d)
queue_conf=/etc/cups/cups-pdf-$queue.conf
old_default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p' || true)
cleanup() {
    if [ "$made_queue" = 1 ] && [ "${KEEP_QUEUE:-0}" != 1 ]; then
        lpadmin -x "$queue" || true
        [ -n "$old_default" ] && lpadmin -d "$old_default" || true
    fi
    if [ -n "$cupsd_pid" ]; then kill "$cupsd_pid" 2>/dev/null; wait "$cupsd_pid" 2>/dev/null; fi || true
    rm -f "$queue_conf"
    rm -rf "$out_dir"
}
trap cleanup EXIT

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    cupsd -f &
    cupsd_pid=$!
    for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.2; done
fi
lpstat -r | grep -q "is running" || { echo "FAIL: cupsd does not run"; exit 1; }

if ! lpstat -p "$queue" >/dev/null 2>&1; then
    ppd=$(lpinfo -m | awk 'tolower($0) ~ /cups-pdf/ {print $1; exit}')
    lpadmin -p "$queue" -v "cups-pdf:/$queue" -m "$ppd" -E
    made_queue=1
fi
# Ghostscript keeps the text of the job extractable on its way through PostScript.
lpadmin -p "$queue" -o pdftops-renderer-default=gs
lpadmin -d "$queue"
echo "default printer: $(lpstat -d)"

printf 'Out %s\nLabel 1\n' "$out_dir" >"$queue_conf"
chmod 755 "$out_dir"

QUILLO_REAL_PRINTER=1 QT_QPA_PLATFORM=offscreen "$test_bin" -platform offscreen systemPrinter

# In the order the jobs were made: cups-pdf's label is "job_<number>-".
new_pdfs() {
    find "$out_dir" -name 'job_*.pdf' | sort -t_ -k2,2n
}
for _ in $(seq 120); do
    [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && [ "$(new_pdfs | wc -l)" -ge 4 ] && break
    sleep 0.5
done

mapfile -t files < <(new_pdfs)
echo "PDF files written: ${#files[@]}"
[ "${#files[@]}" -eq 4 ] || { echo "FAIL: expected four jobs"; exit 1; }

# cups-pdf names each file after its job: "job_<n>-" + the job's title.
titles=""
for f in "${files[@]}"; do titles+="$(basename "$f" | sed 's/^job_[0-9]*-//') "; done
expected_titles="help.qzd_-_Page_1_of_3.pdf help.qzd_-_Page_2_of_3.pdf help.qzd_-_Page_3_of_3.pdf help.qzd_-_Page_2_of_3.pdf "
echo "job titles: $titles"
[ "$titles" = "$expected_titles" ] || { echo "FAIL: expected the jobs $expected_titles"; exit 1; }

# The first line of each job. cups-pdf makes its PDF again from PostScript, which may lose
# the text's character codes: then the header is compared by shape (the same glyphs for the
# same page, other glyphs for other pages), and the pages should be looked at (pdftoppm).
headers=()
for f in "${files[@]}"; do
    header=$(pdftotext -layout "$f" - | head -1 | tr -s ' ' | sed 's/^ //')
    echo "  $(basename "$f"): $header"
    headers+=("$header")
done
expected=("help.qzd Page 1/ 3" "help.qzd Page 2/ 3" "help.qzd Page 3/ 3" "help.qzd Page 2/ 3")
if [[ "${headers[0]}" == *Page* ]]; then
    [ "${headers[*]}" = "${expected[*]}" ] || { echo "FAIL: expected ${expected[*]}"; exit 1; }
    echo "PASS: four print jobs on $queue with the expected header lines"
else
    # The same page printed twice looks the same; the three pages look different.
    looks=()
    for f in "${files[@]}"; do looks+=("$(pdftoppm -r 40 -f 1 -l 1 -gray "$f" 2>/dev/null | md5sum | cut -c1-32)"); done
    [ "${looks[1]}" = "${looks[3]}" ] && [ "${looks[0]}" != "${looks[1]}" ] &&
        [ "${looks[1]}" != "${looks[2]}" ] && [ "${looks[0]}" != "${looks[2]}" ] ||
        { echo "FAIL: the printed pages do not differ by page"; exit 1; }
    echo "PASS: four print jobs on $queue; text not extractable after cups-pdf; page 2 twice alike, pages 1-3 differ"
fi
if [ -n "${SHOT_DIR:-}" ]; then
    mkdir -p "$SHOT_DIR"
    pdftoppm -r 60 -f 1 -l 1 -png "${files[2]}" "$SHOT_DIR/cups-job3" 2>/dev/null
    echo "first page of the third job: $SHOT_DIR/cups-job3-1.png"
fi
