#!/usr/bin/env bash
# Sets up, builds and starts Quillo32 on the bundled sample help file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
sample="$PWD/samples/sample.qzd"
if [ -x build/bin/qzd32mk ]; then
    exec build/bin/qzd32mk "$sample"
elif [ -x build/bin/qzd32 ]; then
    exec build/bin/qzd32 "$sample"
else
    exec build/bin/qzdtool info "$sample"
fi
