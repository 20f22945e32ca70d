# Cross-compiling the standard-C++ libraries and their tests for 64-bit Windows with the
# mingw-w64 compilers of Debian (posix threads model, for std::thread and GoogleTest); the tests
# run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The compiler's own runtime linked in, so wine needs no DLLs from the cross compiler.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# Qt for Windows (scripts/build-qt-windows.sh) lives outside the compiler's root; its host
# tools (moc, uic, rcc) are the build machine's Qt of the same version.
if(ZELAR_QT_WINDOWS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${ZELAR_QT_WINDOWS})
    list(APPEND CMAKE_PREFIX_PATH ${ZELAR_QT_WINDOWS})
endif()
# SQLite for Windows (scripts/build-sqlite-windows.sh), found the same way.
if(ZELAR_SQLITE_WINDOWS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${ZELAR_SQLITE_WINDOWS})
endif()
# The machine's compiler cache, when it has one: a fresh clone, as CI makes, then builds the
# Windows programs mostly from it.
find_program(ZELAR_CCACHE ccache)
if(ZELAR_CCACHE)
    set(CMAKE_C_COMPILER_LAUNCHER ${ZELAR_CCACHE})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${ZELAR_CCACHE})
endif()
