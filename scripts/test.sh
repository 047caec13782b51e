#!/usr/bin/env bash
# The whole test suite from a fresh clone: installs what is missing, then
# configures, builds and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --workflow --preset ci
