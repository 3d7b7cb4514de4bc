#!/usr/bin/env bash
# Installs what is missing, builds, creates a demo host installation in demo/ (configuration
# in demo/config) and runs the main job on it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
DEMO_DIR=${DEMO_DIR:-$PWD/demo}
export QZ_INI_DIR=${QZ_INI_DIR:-$DEMO_DIR/config}
mkdir -p "$QZ_INI_DIR"
build/bin/velquira --init "$DEMO_DIR/host" --force
echo "Demo installation in $DEMO_DIR/host; QZ000.INI in $QZ_INI_DIR"
# The main job at this stage: install the form module's tables and parameters.
build/bin/decltab
echo "decltab finished: the module's tables and parameters are installed."
