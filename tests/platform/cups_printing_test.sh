#!/usr/bin/env bash
# Prints the probe page's printout through a real CUPS scheduler to a cups-pdf queue and reads
# the PDF back, then the SSE chart page's printout, which must come back as one picture and no
# text but blanks; then checks that a job that cannot be spooled, a queue refusing jobs and a
# printer that does not exist are reported rather than passed as printed. It starts cupsd when none is running and adds a
# queue of its own whose cups-pdf instance writes into a folder of its own; the program finds
# that queue through LPDEST, so the machine's default printer is never changed. Everything it
# started or added is stopped and removed again, on failure too. Needs root and the CUPS tools;
# exits 77 (skipped) without them.
# Usage: cups_printing_test.sh PATH_TO_print_probe
set -euo pipefail
probe=$1
PATH=$PATH:/usr/sbin:/sbin # cupsd and lpadmin live there, outside some users' PATH

skip() {
  echo "Skipped: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "starting cupsd and adding a printer queue need root"
for tool in cupsd lpadmin lpstat cupsreject cancel pdftotext pdfimages flock timeout; do
  command -v "$tool" >/dev/null || skip "$tool is missing (cups, cups-client, poppler-utils)"
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -x /usr/lib/cups/backend/cups-pdf ] && [ -f "$ppd" ] ||
  skip "cups-pdf is missing (package printer-driver-cups-pdf)"

# Runs share the scheduler and its folder, so they take turns: a lock on the folder itself.
exec 9</etc/cups
flock -w 60 9 || { echo "another printing test kept the scheduler for a minute" >&2; exit 1; }

queue=corvel-test-$$
conf=/etc/cups/cups-pdf-$queue.conf # read by the cups-pdf instance of the URI cups-pdf:/$queue
log=/var/log/cups/cups-pdf-${queue}_log
out=$(mktemp -d /var/spool/cups-pdf/corvel-test.XXXXXX) # a folder AppArmor lets cups-pdf write
cupsd=
cleanup() {
  local status=$?
  if [ $status -ne 0 ] && [ -f "$log" ]; then tail -n 20 "$log" >&2; fi
  timeout 10 cancel -a -x "$queue" 2>/dev/null || true
  timeout 10 lpadmin -x "$queue" 2>/dev/null || true
  rm -rf "$conf" "$log" "$out" "/var/cache/cups/$queue.strings" # cupsd keeps this one
  if [ -n "$cupsd" ]; then
    kill "$cupsd" 2>/dev/null || true
    wait "$cupsd" 2>/dev/null || true
  fi
  exit $status
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

running() { timeout 5 lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; }
SECONDS=0
if ! running; then
  # Bounded, so that a scheduler started here cannot outlive a test that was killed.
  timeout -k 5 240 cupsd -f >/dev/null 2>&1 9<&- &
  cupsd=$!
  until running; do
    [ $SECONDS -lt 10 ] || { echo "cupsd did not start within 10 seconds" >&2; exit 1; }
    sleep 0.1
  done
fi
echo "Out $out" >"$conf"
timeout 10 lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P "$ppd" \
  -o pdftops-renderer-default=pdftocairo 2>/dev/null

print() { # QUEUE: prints a probe printout of two blocks there, named to the program in LPDEST
  printf '%s' $'Pattern: 1\t+1.00\t+.00\t\r\n---------------\r\n'\
$'Response (A):\t+.25\t+.75\t\r\nDesired  (D):\t+.00\t+1.00\t\r\n'\
$'Error  (D-A):\t-.25\t+.25\t\r\n=============================================\r\n'\
$'Pattern: 2\t-1.00\t+1.00\t\r\n---------------\r\n'\
$'Response (A):\t-.50\t+.50\t\r\nDesired  (D):\t+1.00\t+.00\t\r\n'\
$'Error  (D-A):\t+1.50\t-.50\t\r\n=============================================\r\n' |
    LPDEST=$1 QT_QPA_PLATFORM=offscreen timeout 30 "$probe" xor.net
}

printed() { # sets pdf to the finished PDF of the one job sent since $out was last emptied
  SECONDS=0
  until pdf=$(find "$out" -name '*.pdf' -print -quit) && [ -n "$pdf" ] &&
    [ -z "$(timeout 5 lpstat -o "$queue")" ]; do # done: the PDF is there and the queue empty
    [ $SECONDS -lt 30 ] || { echo "no finished PDF in $out within 30 seconds" >&2; exit 1; }
    sleep 0.1
  done
}

print "$queue"
printed
text=$(timeout 10 pdftotext -layout "$pdf" -)
for row in 'Results Of Testing Distributed Memory On xor\.net' 'Response \(A\): +\+\.25 +\+\.75' \
  'Desired +\(D\): +\+\.00 +\+1\.00' 'Pattern: 2 +-1\.00 +\+1\.00' \
  'Error +\(D-A\): +\+1\.50 +-\.50'; do
  grep -Eq "$row" <<<"$text" || { echo "The printed PDF lacks /$row/: $text" >&2; exit 1; }
done

rm -f "$pdf"
LPDEST=$queue QT_QPA_PLATFORM=offscreen timeout 30 "$probe" --chart
printed
images=$(timeout 10 pdfimages -list "$pdf" | tail -n +3) # below the two header lines
# One picture, at its own size: a pixel is 15 twips, so 96 of them make an inch.
awk 'END { exit !(NR == 1 && $3 == "image" && $13 == 96 && $14 == 96) }' <<<"$images" ||
  { echo "The chart's PDF holds not one picture at its own size: $images" >&2; exit 1; }
text=$(timeout 10 pdftotext "$pdf" -)
[ -z "${text//[[:space:]]/}" ] || { echo "The chart's PDF holds text: $text" >&2; exit 1; }

fails() { # QUEUE REASON: printing there must fail with REASON
  local reason
  if reason=$(print "$1" 2>&1); then echo "Printing on $1 passed as done" >&2; exit 1; fi
  grep -qF "$2" <<<"$reason" || { echo "Printing on $1 failed with: $reason" >&2; exit 1; }
}
TMPDIR=/nonexistent fails "$queue" "the printer $queue did not accept the job" # no spool file
timeout 10 cupsreject "$queue"
fails "$queue" "the printer $queue refused the job"
fails corvel-no-such-printer "no printer is set up on this computer"
echo "Printed the probe and chart printouts on $queue and read them back;" \
  "unspooled, refused and missing printer jobs reported"
