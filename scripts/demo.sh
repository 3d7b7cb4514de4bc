#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the demo host installation in
# demo/ (configuration in demo/config). The installation is created only when there is none:
# what the user typed in an earlier demo is kept. --fresh replaces it with a new one.
set -euo pipefail
cd "$(dirname "$0")/.."
fresh=0
for arg in "$@"; do
  case $arg in
    --fresh) fresh=1 ;;
    -h | --help)
      echo "usage: scripts/demo.sh [--fresh]"
      echo "  --fresh  replace the demo installation (and every declaration in it) with a new one"
      exit 0
      ;;
    *)
      echo "demo.sh: unknown argument '$arg' (try --help)" >&2
      exit 2
      ;;
  esac
done
./scripts/install-deps.sh
./scripts/build.sh
root=$PWD
DEMO_DIR=${DEMO_DIR:-$root/demo}
host=$DEMO_DIR/host
export QZ_INI_DIR=${QZ_INI_DIR:-$DEMO_DIR/config}
mkdir -p "$QZ_INI_DIR"
# Written once the demo data is in place; an installation without it (an interrupted run, or
# one made by an earlier version of this script) is kept and only completed.
ready=$host/.demo-ready

if [ "$fresh" = 1 ] || [ -z "$(find "$host" -maxdepth 1 -iname qz000.mdb 2>/dev/null)" ]; then
  rm -f "$ready"
  build/bin/velquira --init "$host" --force
  echo "Demo installation in $host; QZ000.INI in $QZ_INI_DIR"
elif [ -z "$(find "$QZ_INI_DIR" -maxdepth 1 -iname qz000.ini)" ]; then
  echo "demo.sh: $QZ_INI_DIR has no QZ000.INI pointing at $host; run scripts/demo.sh --fresh" >&2
  exit 1
else
  echo "Keeping the demo installation in $host (scripts/demo.sh --fresh starts afresh)."
fi
if [ ! -f "$ready" ]; then
  # Install the form module's tables and parameters, as the host does once (a second run
  # only brings its rows up to date).
  (cd "$host" && "$root/build/bin/decltab")
  echo "decltab finished: the module's tables and parameters are installed."
  # Declarations saved through the module's own save, one of them sent; never added to an
  # installation that holds declarations already.
  if ! build/bin/velquira --demo-declarations; then
    echo "demo.sh: no demo declarations were added; the installation is kept as it is." >&2
  fi
  touch "$ready"
fi
# The main job: the host window "Velquira", whose buttons start declmod and send.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): start the host window later with"
  echo "  QZ_INI_DIR=$QZ_INI_DIR $root/build/bin/velquira"
  exit 0
fi
cd "$host"
exec "$root/build/bin/velquira"
