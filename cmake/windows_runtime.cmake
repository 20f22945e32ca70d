# Where the Windows build finds what its programs need at run time: the compiler's runtime
# DLLs (libstdc++, libgcc, winpthread, which Qt's DLLs link to) and Qt's own DLLs. Tests run
# under wine with both on WINEPATH, after SQLite's folder (cmake/sqlite.cmake).
execute_process(
    COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE stdcxx_dll
    OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(ZELAR_MINGW_RUNTIME_DIR "${stdcxx_dll}" DIRECTORY)
set(ZELAR_MINGW_RUNTIME_DLLS
    ${ZELAR_MINGW_RUNTIME_DIR}/libstdc++-6.dll ${ZELAR_MINGW_RUNTIME_DIR}/libgcc_s_seh-1.dll
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
set(ZELAR_WINE_PATH "${ZELAR_WINE_PATH}\\;${ZELAR_QT_WINDOWS}/bin\\;${ZELAR_MINGW_RUNTIME_DIR}\\;/usr/x86_64-w64-mingw32/lib")
