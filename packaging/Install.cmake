# Install rules and the Debian package. The programs go to bin/ (the CLI's drawing part to
# lib/korvelan2); what they read at run time goes to
# share/korvelan2/, where they look after their own folder (see src/lang/ShippedFiles.h); the menu
# entry, icons and file types go where the desktop looks for them.
include(GNUInstallDirs)

set(KORVELAN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/korvelan2)
set(resources ${PROJECT_SOURCE_DIR}/resources)

foreach(program korvelan2 korvelan2-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The CLI's drawing part (a plugin it loads for pictures, printouts and the card reader) lies in
# lib/korvelan2, where the CLI looks for it from bin/ (see src/cli/DrawingPart.h).
if(TARGET korvelan2-cli-drawing)
  install(TARGETS korvelan2-cli-drawing LIBRARY DESTINATION lib/korvelan2)
endif()

file(GLOB language_files ${resources}/*.cty)
install(FILES ${language_files} ${resources}/logo.txt ${resources}/sample.lng DESTINATION ${KORVELAN_DATA_DIR})
install(DIRECTORY ${resources}/help DESTINATION ${KORVELAN_DATA_DIR} FILES_MATCHING PATTERN "*.html" PATTERN "*.png")

install(FILES ${resources}/desktop/korvelan2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${resources}/desktop/korvelan2-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME korvelan2.xml)
install(FILES ${resources}/desktop/korvelan2.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${resources}/desktop/korvelan2-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME korvelan2.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. The libraries the programs link come from dpkg-shlibdeps; the rest is named.
set(CPACK_PACKAGE_NAME korvelan2)
set(CPACK_PACKAGE_VENDOR "Korvelan")
set(CPACK_PACKAGE_CONTACT "Korvelan II <korvelan2@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Traffic count evaluation")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvelan II reads road-traffic counts from radar counters (memory cards, raw files, its own files)\n"
    "and evaluates them: vehicle and interval lists, charts, summaries, statistics and printouts.\n"
    "korvelan2-cli does the same in scripts.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY korvelan2)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The shared MIME database, the menu and the icon cache are refreshed by the desktop packages' own
# triggers, so the package needs no scripts of its own.
# Qt's translations give its own dialogs and buttons German or French texts; without them they are
# English and everything else works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-liberation2, shared-mime-info, desktop-file-utils, hicolor-icon-theme, qt6-translations-l10n")
set(CPACK_GENERATOR DEB)
include(CPack)
