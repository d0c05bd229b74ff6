# Cross-compiles for 64-bit Windows with MinGW-w64; test programs run under
# Wine, in a prefix inside the build folder that tools/wine-run.sh creates
# on first use.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
get_filename_component(QM_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR sh ${QM_WINE_RUN} ${CMAKE_BINARY_DIR}/wineprefix)
# No MinGW runtime DLLs next to the programs: only system DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
