# What `make install` and the Debian package (`make package`, CPack DEB) hold: the programs, the
# systemd unit, desktop files with their icon, man pages, the demo configuration and the
# maintainer scripts that create the service's system user. Everything goes below /usr except
# the unit, which Debian keeps in /lib/systemd/system.
include(GNUInstallDirs)

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(package_doc ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})

install(TARGETS vorlix-headless RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program vorlix-client vorlix-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${packaging}/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  endif()
endforeach()
install(FILES ${packaging}/vorlix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME vorlix-client.svg)
install(FILES ${packaging}/vorlix-headless@.service DESTINATION /lib/systemd/system)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/demo DESTINATION ${CMAKE_INSTALL_DATADIR}/vorlix/examples)
install(FILES ${packaging}/copyright DESTINATION ${package_doc})

# Debian wants man pages and the changelog compressed, reproducibly (no name or time stamp).
find_program(GZIP gzip REQUIRED)
set(compressed)
foreach(page vorlix-headless vorlix-client vorlix-sim)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP} -9nc ${packaging}/man/${page}.1 > ${CMAKE_BINARY_DIR}/man/${page}.1.gz
    DEPENDS ${packaging}/man/${page}.1 VERBATIM)
  list(APPEND compressed ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(VERSION ${PROJECT_VERSION})
configure_file(${packaging}/changelog ${CMAKE_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND ${GZIP} -9nc ${CMAKE_BINARY_DIR}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/changelog VERBATIM)
list(APPEND compressed ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${package_doc})
add_custom_target(package_documents ALL DEPENDS ${compressed})

# The package is made from what is built already: `make package` builds only package_contents
# first, instead of every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
add_custom_target(package_contents DEPENDS package_documents)
foreach(program vorlix-headless vorlix-client vorlix-sim)
  if(TARGET ${program})
    add_dependencies(package_contents ${program})
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "vorlix-client developers <vorlix-client@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps Vorlix3 LED message displays up to date")
# CPack puts the summary first and indents these lines.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "vorlix-client shows data sources (fixed values, text files, JSON documents\n"
  "fetched over HTTP(S), expressions) on LED message displays reached over a\n"
  "serial port or TCP/IP. The package holds the desktop program vorlix-client,\n"
  "vorlix-headless with its systemd service vorlix-headless@.service, and the\n"
  "virtual display vorlix-sim.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS adduser)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging}/postinst ${packaging}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
