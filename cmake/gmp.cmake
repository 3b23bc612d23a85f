# GMP's C++ classes as the imported target gmp::gmpxx.
if(WIN32)
  # Debian packages GMP for Linux only: scripts/mingw-gmp cross-builds it from
  # Debian's source package, static, once per build folder.
  set(ZARN_GMP_HOST ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
  set(ZARN_GMP_PREFIX ${CMAKE_BINARY_DIR}/gmp)
  set(ZARN_GMP_LIBRARIES ${ZARN_GMP_PREFIX}/lib/libgmpxx.a ${ZARN_GMP_PREFIX}/lib/libgmp.a)
  add_custom_command(
    OUTPUT ${ZARN_GMP_LIBRARIES}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/mingw-gmp ${ZARN_GMP_HOST} ${ZARN_GMP_PREFIX}
    COMMENT "Building GMP for ${ZARN_GMP_HOST}"
    VERBATIM)
  add_custom_target(mingw_gmp DEPENDS ${ZARN_GMP_LIBRARIES})
  # The headers come with the libraries; the folder must exist beforehand.
  file(MAKE_DIRECTORY ${ZARN_GMP_PREFIX}/include)

  add_library(gmp::gmp STATIC IMPORTED)
  set_target_properties(gmp::gmp PROPERTIES
    IMPORTED_LOCATION ${ZARN_GMP_PREFIX}/lib/libgmp.a
    INTERFACE_INCLUDE_DIRECTORIES ${ZARN_GMP_PREFIX}/include)
  add_library(gmp::gmpxx STATIC IMPORTED)
  set_target_properties(gmp::gmpxx PROPERTIES
    IMPORTED_LOCATION ${ZARN_GMP_PREFIX}/lib/libgmpxx.a
    INTERFACE_LINK_LIBRARIES gmp::gmp)
  add_dependencies(gmp::gmpxx mingw_gmp)
endif()
