# 32-bit Windows build: the product. Compiled and linked at every test run; it cannot run here.
set(QV_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
