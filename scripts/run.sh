#!/usr/bin/env bash
# Builds the utility and starts it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
echo "The utility's window is not built yet; scripts/test.sh runs what exists." >&2
exit 1
