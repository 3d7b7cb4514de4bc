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
# Install the form module's tables and parameters, as the host does once.
(cd "$DEMO_DIR/host" && "$OLDPWD/build/bin/decltab")
echo "decltab finished: the module's tables and parameters are installed."
# The main job: the host window "Velquira", whose button starts declmod.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): start the host window later with"
  echo "  QZ_INI_DIR=$QZ_INI_DIR $PWD/build/bin/velquira"
  exit 0
fi
cd "$DEMO_DIR/host"
exec "$OLDPWD/build/bin/velquira"
