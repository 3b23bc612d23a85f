#ifndef ZARN_TOOLS_TM_RUN_DESCRIPTION_FILE_H
#define ZARN_TOOLS_TM_RUN_DESCRIPTION_FILE_H

#include <string>

struct DescriptionFile {
    std::string text;   // the bytes before the first NUL, as the workbench loads them
    std::string error;  // why the file could not be read; empty on success
};

// Reads the whole file in binary ("-" reads standard input). A saved
// description ends with a NUL byte; that byte and anything after it is dropped.
DescriptionFile readDescriptionFile(const std::string& path);

#endif
