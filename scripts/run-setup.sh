#!/usr/bin/env bash
# The main job: builds the packer, the sample payload, setup.exe and the wizard driver,
# creates a fresh Wine prefix and runs the setup in it. With a reachable display the setup
# is interactive; without one the driver walks the wizard under Xvfb with the default
# choices, saves a screenshot of every page under build/screenshots/ and reports where the
# product went and how the installation ended. Exits non-zero when the walk fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)
# QV_RUN_TAG=name keeps every build folder, the prefix and the screenshots apart (build/name-*).
tag=${QV_RUN_TAG:+$QV_RUN_TAG-}

bash scripts/install-deps.sh

cmake -S . -B build/${tag}native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/${tag}native -j "$jobs" --target qvpack
qvpack=$root/build/${tag}native/tools/qvpack/qvpack

cmake -S . -B build/${tag}win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVPACK_EXECUTABLE="$qvpack" >/dev/null
cmake --build build/${tag}win64 -j "$jobs" --target setup wizard_driver
setup_exe=$root/build/${tag}win64/app/setup.exe
driver_exe=$root/build/${tag}win64/tests/driver/wizard_driver.exe
echo "payload: $("$qvpack" list build/${tag}win64/sample/payload.qvc | wc -l) entries, $(stat -c %s build/${tag}win64/sample/payload.qvc) bytes"

# Wine takes Unix paths on its Z: drive.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

display_reachable() {
  [ -n "${DISPLAY:-}" ] || return 1
  if command -v xdpyinfo >/dev/null 2>&1; then
    xdpyinfo >/dev/null 2>&1
  else
    local n=${DISPLAY#*:}
    n=${n%%.*}
    [ -S "/tmp/.X11-unix/X$n" ]
  fi
}

source scripts/wine-prefix.sh
export WINEPREFIX=$root/build/${tag}wine-main
interactive=1
if ! display_reachable; then
  interactive=0
  display=98
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$display
  for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
fi
cleanup() {
  wine_prefix_stop "$WINEPREFIX"
  [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
echo "creating a fresh Wine prefix in $WINEPREFIX"
wine_prefix_create "$WINEPREFIX"

if [ "$interactive" = 1 ]; then
  echo "running $setup_exe on $DISPLAY"
  set +e
  timeout 3600 scripts/wine-run.sh "$setup_exe"
  status=$?
  set -e
  echo "setup.exe exited with status $status"
  exit "$status"
fi

shots=$root/build/${tag}screenshots
rm -rf "$shots"
mkdir -p "$shots"
echo "no display: walking the wizard on Xvfb $DISPLAY with the default choices"
set +e
timeout 600 scripts/wine-run.sh "$driver_exe" --walk --screenshots "$(winpath "$shots")" "$(winpath "$setup_exe")" \
  | tee "$shots/walk.txt"
status=${PIPESTATUS[0]}
set -e

for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "screenshots: $(find "$shots" -name '*.png' | wc -l) pages in $shots"

folder=$(sed -n 's/^installation folder: //p' "$shots/walk.txt" | tail -n 1 | tr -d '\r')
if [ -n "$folder" ]; then
  drive=$(printf '%s' "${folder:0:1}" | tr 'A-Z' 'a-z')
  rest=${folder:2}
  echo "installation folder: $folder ($WINEPREFIX/drive_$drive${rest//\\//})"
fi
grep -E '^installation: ' "$shots/walk.txt" | tail -n 1 || true
if [ "$status" -ne 0 ]; then
  echo "the walk failed (status $status)" >&2
  exit 1
fi
