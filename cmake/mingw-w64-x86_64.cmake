# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# The mingw sysroot, and the folder where scripts/deps-windows.sh installs libpng.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET} ${MAPEDITOR_WIN_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs need no compiler DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest starts the test programs under Wine.
find_program(MAPEDITOR_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(MAPEDITOR_WINE64 NAMES wine64 wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${MAPEDITOR_WINE64})

# zlib linked statically too: the programs are single files.
set(ZLIB_LIBRARY /usr/${MINGW_TRIPLET}/lib/libz.a)
set(ZLIB_LIBRARY_RELEASE ${ZLIB_LIBRARY})
