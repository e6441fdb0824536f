#!/usr/bin/env bash
# Runs a 64-bit Windows program under Wine in the project's own prefix.
# WINEPREFIX may be set by the caller; the default is a prefix inside build/.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree,mshtml=}
export WINEARCH=win64
# The plain wine launcher would pick the 32-bit loader, which cannot start here.
for loader in /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64 "$(command -v wine64 || true)"; do
  if [ -n "$loader" ] && [ -x "$loader" ]; then exec "$loader" "$@"; fi
done
echo "wine-run: no 64-bit Wine loader found" >&2
exit 127
