#!/usr/bin/env bash
# Builds Valmeq, then starts it on a writable copy of the demo start directory
# (copied on the first run; later runs keep the user's changes).
set -euo pipefail
cd "$(dirname "$0")"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Valmeq a besoin d'un affichage graphique : ni DISPLAY ni WAYLAND_DISPLAY n'est défini." >&2
  exit 1
fi
./tools/build.sh valmeq
start="${VALMEQ_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/Valmeq}"
if [ ! -d "$start" ]; then
  mkdir -p "$start"
  cp -r demo/. "$start/"
fi
program="$PWD/build/valmeq"
cd "$start"
exec "$program"
