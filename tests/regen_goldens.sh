#!/usr/bin/env bash
# Rewrites every golden expected file from the current build, for review as a diff before committing.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$root/build/qmtool}
data=$root/tests/data

regen() {  # regen SUBCOMMAND INPUT...; the expected files beside the inputs are not inputs
  local command=$1 input
  shift
  for input in "$@"; do
    case $input in *.expected | *.new) continue ;; esac
    "$root/tests/run_golden.sh" "$tool" "$command" "$input" --update
  done
}

regen edit "$data"/edit/*.qms
regen tokens "$data"/tokens/*.*
regen rtf "$data"/rtf/*.*
regen rtf2html "$data"/rtf2html/*.rtf
regen htmltokens "$data"/htmltokens/*.htm
regen css "$data"/css/*.htm
regen layout "$data"/layout/*.htm "$data"/layout/*.txt
regen check "$data"/check/*.htm
regen spell "$data"/spell/*.*
git -C "$root" status --short tests/data
