#!/usr/bin/env bash
# Runs a Windows test program that makes windows, under Wine in a prefix of its own on an X
# server of its own, and passes on its exit status.
#
# wine_window_test.sh PREFIX_DIR DPI PROGRAM [ARGUMENTS...]
set -euo pipefail

prefix=$1
dpi=$2
shift 2

source "$(dirname "$0")/../support/x_server.sh"
source "$(dirname "$0")/../support/wine_prefix.sh"
begin_wine_test "$prefix"
start_x_server 1280x1024
make_wine_prefix "$prefix" "$dpi"
wine_run "$@"
