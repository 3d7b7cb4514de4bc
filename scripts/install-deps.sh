#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need.
# Idempotent: prints nothing and does nothing when every package is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools
  libsqlite3-dev sqlite3 libsodium-dev
  libxcb1-dev libxcb-icccm4-dev libxcb-ewmh-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation xvfb xauth poppler-utils
  qt6-translations-l10n        # Qt's own Spanish texts: "Sí", "No", "Aceptar", "Cancelar"
  openbox xdotool imagemagick  # trying the windows by hand: a window manager, clicks, screenshots
  cups printer-driver-cups-pdf # printing tests: a private CUPS server with a PDF printer
  libpq-dev postgresql         # the office database server: client library, and a throw-away cluster in tests
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
