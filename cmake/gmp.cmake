# GMP's C++ interface, for step counts and tape lengths of any size: the
# imported target gmp::gmpxx.
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
else()
  find_path(GMPXX_INCLUDE_DIR gmpxx.h REQUIRED)
  find_library(GMPXX_LIBRARY gmpxx REQUIRED)
  find_library(GMP_LIBRARY gmp REQUIRED)
  add_library(gmp::gmpxx UNKNOWN IMPORTED)
  set_target_properties(gmp::gmpxx PROPERTIES
    IMPORTED_LOCATION "${GMPXX_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${GMPXX_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${GMP_LIBRARY}")
endif()
