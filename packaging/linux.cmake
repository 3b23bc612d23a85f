# Installs the workbench as Linux desktop programs are installed, and packs the
# same tree into a Debian package: the two programs, the desktop entry and the
# AppStream metainfo, the icon in the hicolor theme, the man pages, the
# examples, the copyright file and the changelog.
include(GNUInstallDirs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The icon's images are drawn at build time from the same drawing as res/zarn.ico.
set(ZARN_ICON_SIZES 16 22 24 32 48 64 128 256)
set(ZARN_ICON_FOLDER ${CMAKE_CURRENT_BINARY_DIR}/hicolor)
set(ZARN_ICON_IMAGES)
foreach(size IN LISTS ZARN_ICON_SIZES)
  list(APPEND ZARN_ICON_IMAGES ${ZARN_ICON_FOLDER}/${size}x${size}/apps/zarn-tm.png)
endforeach()
add_custom_command(
  OUTPUT ${ZARN_ICON_IMAGES}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/res/make_icon.py --hicolor ${ZARN_ICON_FOLDER}
  DEPENDS ${PROJECT_SOURCE_DIR}/res/make_icon.py
  COMMENT "Drawing the icon at the desktop's sizes"
  VERBATIM)

# Man pages and the changelog are kept compressed, as Debian keeps them.
function(zarn_gzip source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "gzip -9 -n -c \"$0\" >\"$1\"" ${source} ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()
set(ZARN_MAN_PAGES)
foreach(page zarn-tm.1 tm-run.1)
  zarn_gzip(${CMAKE_CURRENT_SOURCE_DIR}/${page} ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
  list(APPEND ZARN_MAN_PAGES ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
endforeach()
set(ZARN_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
zarn_gzip(${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog ${ZARN_CHANGELOG})

file(STRINGS debian/changelog ZARN_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT ZARN_CHANGELOG_TOP MATCHES "^zarn-tm \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog lacks an entry for ${PROJECT_VERSION} at its top")
endif()

# The copyright file in Debian's machine-readable format, its license text
# taken from LICENSE: indented by one space, a blank line written as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE ZARN_LICENSE_BODY)
string(FIND "${ZARN_LICENSE_BODY}" "Permission is hereby granted" ZARN_GRANT)
string(SUBSTRING "${ZARN_LICENSE_BODY}" ${ZARN_GRANT} -1 ZARN_LICENSE_BODY)
string(STRIP "${ZARN_LICENSE_BODY}" ZARN_LICENSE_BODY)
string(REPLACE "\n\n" "\n.\n" ZARN_LICENSE_BODY "${ZARN_LICENSE_BODY}")
string(REPLACE "\n" "\n " ZARN_LICENSE_BODY " ${ZARN_LICENSE_BODY}")
configure_file(debian/copyright.in copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

configure_file(org.zarn_tm.ZarnTM.metainfo.xml.in org.zarn_tm.ZarnTM.metainfo.xml @ONLY)

add_custom_target(desktop_files ALL DEPENDS ${ZARN_ICON_IMAGES} ${ZARN_MAN_PAGES} ${ZARN_CHANGELOG})

install(FILES org.zarn_tm.ZarnTM.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.zarn_tm.ZarnTM.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${ZARN_CHANGELOG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zarn-tm)
install(DIRECTORY ${ZARN_ICON_FOLDER}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${ZARN_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zarn-tm/examples
  FILES_MATCHING PATTERN "*.txt")

set(CPACK_GENERATOR DEB)
# Debian wants the long description in lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
  "Machine descriptions are written in an editor and stepped at a chosen pace,
with logs of the parser, of each rule applied and of the tape around the head.
tm-run runs a description from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The shared libraries' packages (Qt 6's runtime among them) come from
# dpkg-shlibdeps; the fonts that the windows ask for by name are added here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
