#ifndef ZARN_TOOLS_TM_RUN_PNG_FILE_H
#define ZARN_TOOLS_TM_RUN_PNG_FILE_H

#include <string>

#include "tools/tm-run/picture.h"

// Saves the picture as a PNG file, replacing one there only once it is
// complete; on failure returns false and says why.
bool savePng(const Picture& picture, const std::string& path, std::string& error);

#endif
