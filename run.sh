#!/usr/bin/env bash
# Installs what is missing, builds, and starts the sample in the folder that
# holds its pictures.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cd build/run
exec ./sample
