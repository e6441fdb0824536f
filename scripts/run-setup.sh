#!/usr/bin/env bash
# The main job: builds the packer, the sample payload and setup.exe, creates a fresh
# Wine prefix and runs the setup in it. With a display the setup is interactive;
# without one it runs under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/install-deps.sh

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$jobs" --target qvpack
qvpack=$root/build/native/tools/qvpack/qvpack

cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVPACK_EXECUTABLE="$qvpack" >/dev/null
cmake --build build/win64 -j "$jobs" --target setup
setup_exe=$root/build/win64/app/setup.exe
echo "payload: $("$qvpack" list build/win64/sample/payload.qvc | wc -l) entries, $(stat -c %s build/win64/sample/payload.qvc) bytes"

source scripts/wine-prefix.sh
export WINEPREFIX=$root/build/wine-main
if [ -z "${DISPLAY:-}" ]; then
  Xvfb :98 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:98
fi
cleanup() {
  wine_prefix_stop "$WINEPREFIX"
  [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
echo "creating a fresh Wine prefix in $WINEPREFIX"
wine_prefix_create "$WINEPREFIX"

echo "running $setup_exe"
set +e
timeout 600 scripts/wine-run.sh "$setup_exe"
status=$?
set -e
echo "setup.exe exited with status $status"
