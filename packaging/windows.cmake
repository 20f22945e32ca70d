# What a Windows user downloads, built by CPack from the Windows build: a portable ZIP and an
# NSIS installer. Both hold one folder from which zelar-config.exe starts as it is: the two
# programs, the Qt DLLs beside them, Qt's "windows" platform plugin and style in their plugin
# folders, SQLite's DLL, the compiler's runtime DLLs and Qt's Russian translation.
set(qt "${ZELAR_QT_WINDOWS}")
install(TARGETS zelar-config zelar-cli RUNTIME DESTINATION .)
install(FILES ${qt}/bin/Qt6Core.dll ${qt}/bin/Qt6Gui.dll ${qt}/bin/Qt6Widgets.dll
              ${qt}/bin/Qt6SerialPort.dll ${ZELAR_SQLITE_DLL} ${ZELAR_MINGW_RUNTIME_DLLS}
        DESTINATION .)
install(FILES ${qt}/plugins/platforms/qwindows.dll DESTINATION platforms)
# Without it the window looks like Windows 95.
install(FILES ${qt}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles OPTIONAL)
# Russian texts of Qt's own dialogs and buttons (Debian's qt6-translations-l10n).
set(ZELAR_QT_TRANSLATIONS /usr/share/qt6/translations
    CACHE PATH "Where qtbase_ru.qm is found for the Windows packages")
install(FILES ${ZELAR_QT_TRANSLATIONS}/qtbase_ru.qm DESTINATION translations OPTIONAL)
# The installer's guide beside the program, with its pictures, when it was built.
if(ZELAR_GUIDE_HTML)
    install(FILES ${ZELAR_GUIDE_HTML} ${ZELAR_GUIDE_IMAGES} DESTINATION .)
endif()

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME zelar-config)
set(CPACK_PACKAGE_VENDOR Kalvimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration tool for the Zelar-2 GSM alarm modem")
set(CPACK_PACKAGE_FILE_NAME zelar-config-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Zelar2)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

set(ZELAR_MENU_ENTRY "Zelar-2 — настройка модема")
set(CPACK_NSIS_PACKAGE_NAME "${ZELAR_MENU_ENTRY}")
set(CPACK_NSIS_DISPLAY_NAME "${ZELAR_MENU_ENTRY}")
set(CPACK_NSIS_MENU_LINKS zelar-config.exe "${ZELAR_MENU_ENTRY}")
if(ZELAR_GUIDE_HTML)
    list(APPEND CPACK_NSIS_MENU_LINKS guide-ru.html "Руководство")
endif()
set(CPACK_NSIS_INSTALLED_ICON_NAME zelar-config.exe)
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_SOURCE_DIR}/windows/zelar-config.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_SOURCE_DIR}/windows/zelar-config.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for the 64-bit program, into the 64-bit "Program Files"; makensis builds
# 32-bit ones unless told, which 64-bit-only systems (wine without its 32-bit part, for one)
# cannot start. Its amd64 target is Unicode, as the Cyrillic menu entry needs.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
include(CPack)
