#!/usr/bin/env bash
# Runs the desktop half of a popup benchmark inside the X11 virtual desktop
# with the build's program (BUILD_DIR, default build):
#   bench/popup/run-on-desktop.sh ROUND_SCRIPT ROUNDS
set -euo pipefail
cd "$(dirname "$0")/../.."
export TROVIX_BENCH_ROUNDS=$2
build=${BUILD_DIR:-build}
export TROVIX_BUILD_DIR=$PWD/$build TROVIX_SOURCE_DIR=$PWD
export TROVIX=$TROVIX_BUILD_DIR/Trovix.app/Contents/MacOS/trovix
export TROVIX_ARTIFACTS=$TROVIX_BUILD_DIR/bench-artifacts
scripts/virtual-desktop run -- "$PWD/bench/popup/$1"
