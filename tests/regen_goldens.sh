#!/usr/bin/env bash
# Rewrites every golden expected file from the current build, for review as a diff before committing.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$root/build/qmtool}
for script in "$root"/tests/data/edit/*.qms; do
  "$root/tests/run_golden.sh" "$tool" edit "$script" --update
done
for source in "$root"/tests/data/tokens/*.*; do
  case $source in *.expected | *.new) continue ;; esac
  "$root/tests/run_golden.sh" "$tool" tokens "$source" --update
done
for source in "$root"/tests/data/rtf/*.*; do
  case $source in *.expected | *.new) continue ;; esac
  "$root/tests/run_golden.sh" "$tool" rtf "$source" --update
done
for document in "$root"/tests/data/rtf2html/*.rtf; do
  "$root/tests/run_golden.sh" "$tool" rtf2html "$document" --update
done
for page in "$root"/tests/data/htmltokens/*.htm; do
  "$root/tests/run_golden.sh" "$tool" htmltokens "$page" --update
done
for page in "$root"/tests/data/css/*.htm; do
  "$root/tests/run_golden.sh" "$tool" css "$page" --update
done
for page in "$root"/tests/data/layout/*.htm "$root"/tests/data/layout/*.txt; do
  "$root/tests/run_golden.sh" "$tool" layout "$page" --update
done
for page in "$root"/tests/data/check/*.htm; do
  "$root/tests/run_golden.sh" "$tool" check "$page" --update
done
for source in "$root"/tests/data/spell/*.*; do
  case $source in *.expected | *.new) continue ;; esac
  "$root/tests/run_golden.sh" "$tool" spell "$source" --update
done
git -C "$root" status --short tests/data
