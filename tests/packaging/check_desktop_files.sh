#!/usr/bin/env bash
# The desktop entry validates and offers the shots file type and the videos;
# the shots file type validates and is known by its name and its first line;
# the manual pages render without warnings.
#   check_desktop_files.sh PACKAGING_FOLDER BUILT_MAN_PAGE BUILT_DESKTOP_MAN_PAGE
set -euo pipefail
packaging=$1
man_page=$2
desktop_man_page=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

entry=$packaging/trevanto.desktop
problems=$(desktop-file-validate "$entry" 2>&1) || fail "desktop entry: $problems"
[[ -z "$problems" ]] || fail "desktop entry: $problems"
types=$(sed -n 's/^MimeType=//p' "$entry")
for type in application/x-trevanto-shots video/mpeg video/x-msvideo video/x-ms-wmv \
  application/vnd.ms-asf video/mp4 video/quicktime video/x-matroska video/webm video/mp2t; do
  [[ ";$types" == *";$type;"* ]] || fail "desktop entry does not offer $type"
done

xmllint --noout "$packaging/trevanto-mime.xml"
mkdir -p "$work/mime/packages"
cp "$packaging/trevanto-mime.xml" "$work/mime/packages/trevanto.xml"
# The folder is searched only through these variables; else it says so.
XDG_DATA_HOME="$work" XDG_DATA_DIRS="$work" update-mime-database "$work/mime" \
  2>"$work/mime.err" || fail "update-mime-database failed"
[[ ! -s "$work/mime.err" ]] || fail "shots file type: $(cat "$work/mime.err")"
[[ -f "$work/mime/application/x-trevanto-shots.xml" ]] || fail "no shots file type"
grep -q '^[0-9]*:application/x-trevanto-shots:\*\.hpv$' "$work/mime/globs2" ||
  fail "*.hpv is not a shots file"
grep -aq 'application/x-trevanto-shots' "$work/mime/magic" &&
  grep -aq 'Trevanto (c) 2004 Qelvar' "$work/mime/magic" || fail "no magic for the header line"

# Each manual page renders without warnings and has its sections.
check_man_page() {
  local page=$1
  shift
  MANWIDTH=80 man --warnings -l "$page" >"$work/page.txt" 2>"$work/man.err" ||
    fail "man -l $page failed: $(cat "$work/man.err")"
  [[ ! -s "$work/man.err" ]] || fail "manual page warnings: $(cat "$work/man.err")"
  for text in "$@"; do
    grep -q -- "$text" "$work/page.txt" || fail "the manual page $page lacks $text"
  done
}
check_man_page "$man_page" NAME SYNOPSIS COMMANDS "EXIT STATUS" EXAMPLES "--sampler" "--publish"
check_man_page "$desktop_man_page" NAME SYNOPSIS OPTIONS FILES "--engine" "Help Topics"
echo "desktop entry, shots file type and manual page: ok"
