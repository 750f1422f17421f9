#!/usr/bin/env bash
# Runs every input of a crash corpus through qmtool; each only has to finish cleanly (status 0, 1 or 2).
#   run_corpus.sh QMTOOL SUBCOMMAND FOLDER
set -u
tool=$1 subcommand=$2 folder=$3
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}exitcode=99
export UBSAN_OPTIONS=${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}halt_on_error=1:exitcode=99
failed=0
for input in "$folder"/*; do
  "$tool" "$subcommand" "$input" >/dev/null 2>&1 </dev/null
  status=$?
  if [ "$status" -gt 2 ]; then
    echo "did not finish cleanly (status $status): $input"
    failed=1
  fi
done
exit $failed
