# SQLite's C library, as target SQLite::SQLite3 (CMake's FindSQLite3): Debian's libsqlite3-dev
# on Linux; for Windows the DLL, import library and header that scripts/build-sqlite-windows.sh
# builds with mingw-w64 into ZELAR_SQLITE_WINDOWS, which the toolchain file adds to the search.
if(WIN32)
    set(ZELAR_SQLITE_WINDOWS "" CACHE PATH
        "SQLite for Windows from scripts/build-sqlite-windows.sh (bin, lib, include)")
    find_file(ZELAR_SQLITE_DLL sqlite3.dll PATHS "${ZELAR_SQLITE_WINDOWS}/bin" NO_DEFAULT_PATH
              NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    # Programs and tests run under wine with the DLL's folder on WINEPATH.
    get_filename_component(ZELAR_SQLITE_BIN "${ZELAR_SQLITE_DLL}" DIRECTORY)
    set(ZELAR_WINE_PATH "${ZELAR_SQLITE_BIN}")
endif()
find_package(SQLite3 REQUIRED)
