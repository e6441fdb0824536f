#!/usr/bin/env bash
# Wine prefix helpers, sourced by the test and main-job scripts.
#   wine_prefix_create DIR   a fresh prefix (about 15 s), with a persistent wineserver
#   wine_prefix_stop DIR     stops that prefix's wineserver

wine_server_bin() {
  for s in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver /usr/lib/x86_64-linux-gnu/wine/wineserver64 "$(command -v wineserver || true)"; do
    if [ -n "$s" ] && [ -x "$s" ]; then echo "$s"; return 0; fi
  done
  return 1
}

wine_prefix_create() {
  local dir=$1 here server
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  server=$(wine_server_bin)
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  WINEPREFIX=$dir "$here/wine-run.sh" wineboot -i >/dev/null 2>&1 || true
  # A server that stays up cuts each test's start from seconds to a fraction of one.
  WINEPREFIX=$dir "$server" -w
  WINEPREFIX=$dir "$server" -p
  # The first program in a new server starts the prefix's services; pay that here.
  WINEPREFIX=$dir "$here/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1 || true
}

wine_prefix_stop() {
  local dir=$1 server
  server=$(wine_server_bin) || return 0
  WINEPREFIX=$dir "$server" -k 2>/dev/null || true
}
