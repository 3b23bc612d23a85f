# GMP's C++ interface, for step counts and tape lengths of any size: the
# imported target gmp::gmpxx, from Debian's libgmp-dev.
if(NOT TARGET gmp::gmpxx)
  find_path(GMPXX_INCLUDE_DIR gmpxx.h REQUIRED)
  find_library(GMPXX_LIBRARY gmpxx REQUIRED)
  find_library(GMP_LIBRARY gmp REQUIRED)
  add_library(gmp::gmpxx UNKNOWN IMPORTED)
  set_target_properties(gmp::gmpxx PROPERTIES
    IMPORTED_LOCATION "${GMPXX_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${GMPXX_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${GMP_LIBRARY}")
endif()
