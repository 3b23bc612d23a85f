#ifndef ZARN_TOOLS_TM_RUN_FILE_REPLACEMENT_H
#define ZARN_TOOLS_TM_RUN_FILE_REPLACEMENT_H

#include <string>
#include <string_view>

// Puts `bytes` into a new file beside `path`, which takes the place of any
// file there only once every byte is on disk, with that file's permissions.
// So a failure leaves the earlier file as it was and nothing new behind, and
// a read-only file is refused. On failure returns false and says why.
bool replaceFile(const std::string& path, std::string_view bytes, std::string& error);

#endif
