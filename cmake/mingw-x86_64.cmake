# The same sources as a 64-bit Windows build, for running the Windows-side tests under Wine on
# machines that cannot execute 32-bit programs. The shipped program is the 32-bit build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CHARGEWRIGHT_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
