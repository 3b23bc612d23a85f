# Debian's single-header image library (libstb-dev): the PNG writer for
# tm-run's pictures, its tiny font for their legends, and the PNG reader for
# the tests (so visible everywhere). Header only: the Windows builds use
# the same files.
find_path(STB_INCLUDE_DIR stb_image_write.h PATHS /usr/include/stb NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(stb::stb INTERFACE IMPORTED GLOBAL)
# A system folder, so that our warnings do not apply to its code.
target_include_directories(stb::stb SYSTEM INTERFACE ${STB_INCLUDE_DIR})
