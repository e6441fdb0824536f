# 64-bit Windows build: the one that runs (under wine64) on these machines.
set(QV_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
