#!/usr/bin/env bash
# Runs one golden qmtool case and compares what it prints with the expected file beside it.
#   run_golden.sh QMTOOL SUBCOMMAND INPUT [--update]
# The tool runs in INPUT's folder as `qmtool SUBCOMMAND ARGS INPUT`, ARGS taken from a first line
# "# args: ..." (or "// args: ...", "' args: ...", "<!-- args: ... -->" or "/* args: ... */", as the language
# writes a comment)
# of INPUT.
# Expected output: standard output, then "--- stderr" and the error output when there is any, then
# "--- status N" when the status is not 0. A mismatch writes INPUT's name with .new and shows the diff;
# --update writes the expected file instead.
set -u
tool=$1 subcommand=$2 input=$3 mode=${4:-check}
case $tool in /*) ;; *) tool=$PWD/$tool ;; esac
dir=$(dirname "$input")
name=$(basename "$input")
expected="${input%.*}.expected"
args=$(sed -n -E -e "1s@^/\* args: (.*[^ ]) *\*/ *\$@\1@p" -e "1s@^(#|//|'|<!--) args: ([^>]*[^ >-])( *-->)?@\2@p" \
  "$input" | tr -d '\r')
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# shellcheck disable=SC2086  # ARGS are words
(cd "$dir" && "$tool" "$subcommand" $args "$name" >"$out" 2>"$err" </dev/null)
status=$?
if [ -s "$err" ]; then
  printf -- '--- stderr\n' >>"$out"
  cat "$err" >>"$out"
fi
[ "$status" -ne 0 ] && printf -- '--- status %d\n' "$status" >>"$out"

if [ "$mode" = "--update" ]; then
  cp "$out" "$expected"
  exit 0
fi
if ! diff -u "$expected" "$out"; then
  cp "$out" "${input%.*}.new"
  echo "golden mismatch: wrote ${input%.*}.new"
  exit 1
fi
rm -f "${input%.*}.new"
