#!/usr/bin/env bash
# Checks that a page saying something in CSS lays out as the page saying it with HTML 3.2 tags:
#   run_equivalent.sh QMTOOL NAME.css.htm
# compares `qmtool layout --colors` of NAME.css.htm and NAME.tags.htm beside it.
set -u
tool=$1 css=$2
case $tool in /*) ;; *) tool=$PWD/$tool ;; esac
tags="${css%.css.htm}.tags.htm"
cd "$(dirname "$css")" || exit 1
diff -u <("$tool" layout --colors "$(basename "$tags")") <("$tool" layout --colors "$(basename "$css")")
