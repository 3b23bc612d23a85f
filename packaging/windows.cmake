# The Windows downloads: a portable zip and an installer. Both hold the two
# programs side by side, the examples, the license and a short README, their
# text files with the CR LF line breaks that Windows programs expect (the
# workbench's own editor shows a bare LF as no break at all).
set(ZARN_CRLF_FOLDER ${CMAKE_CURRENT_BINARY_DIR}/crlf)
function(zarn_install_text source name destination)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${ZARN_CRLF_FOLDER}/${destination}/${name} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  install(FILES ${ZARN_CRLF_FOLDER}/${destination}/${name} DESTINATION ${destination})
endfunction()

file(GLOB ZARN_EXAMPLES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.txt)
foreach(example IN LISTS ZARN_EXAMPLES)
  get_filename_component(name ${example} NAME)
  zarn_install_text(${example} ${name} examples)
endforeach()
# Named .txt, so that a double click opens them.
zarn_install_text(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt .)
zarn_install_text(${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt README.txt .)

# The downloads come from the 32-bit build; the 64-bit build packs the same,
# so that its installer can be tried where only 64-bit programs run.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZARN_WINDOWS_ARCH x64)
  set(CPACK_ZARN_NSIS_TARGET amd64-unicode)
  set(CPACK_ZARN_NSIS_DEFINES "!define MULTIUSER_USE_PROGRAMFILES64")
else()
  set(ZARN_WINDOWS_ARCH x86)
  set(CPACK_ZARN_NSIS_TARGET x86-unicode)
  set(CPACK_ZARN_NSIS_DEFINES "")
endif()
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME zarn-tm-${PROJECT_VERSION}-windows-${ZARN_WINDOWS_ARCH})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ZARN Turing Machine")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "ZARN Turing Machine")
set(CPACK_RESOURCE_FILE_LICENSE ${ZARN_CRLF_FOLDER}/LICENSE.txt)
# Our own installer script (packaging/windows/NSIS.template.in) replaces CPack's.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/windows)
set(CPACK_NSIS_DISPLAY_NAME "ZARN Turing Machine")
set(CPACK_NSIS_PACKAGE_NAME "ZARN Turing Machine")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/zarn.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/zarn.ico)
set(CPACK_NSIS_URL_INFO_ABOUT ${PROJECT_HOMEPAGE_URL})
