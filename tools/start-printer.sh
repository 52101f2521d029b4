#!/usr/bin/env bash
# Makes a real print system available to the tests: starts the CUPS
# scheduler when it is not running and makes a cups-pdf queue the default
# printer. Prints the queue's name. Needs root (or sudo) and the packages
# cups and printer-driver-cups-pdf (tools/install-deps.sh installs them).
set -euo pipefail
queue=RilegoraPDF
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
running() { lpstat -r 2>/dev/null | grep -q "is running"; }
if ! running; then
  $sudo /usr/sbin/cupsd
  for _ in $(seq 50); do running && break; sleep 0.2; done
fi
running || { echo "the CUPS scheduler does not start" >&2; exit 1; }
if ! lpstat -p "$queue" >/dev/null 2>&1; then
  $sudo lpadmin -p "$queue" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
fi
$sudo cupsenable "$queue"
$sudo cupsaccept "$queue"
$sudo lpadmin -d "$queue"
echo "$queue"
