#ifndef ZARN_TOOLS_TM_RUN_RUN_PICTURE_H
#define ZARN_TOOLS_TM_RUN_RUN_PICTURE_H

#include <cstdint>
#include <string>

// Steps a machine of its own, parsed from `description` (which must parse),
// through at most `steps` steps and saves their diagram as a PNG file at
// `path`. The run that tm-run reports is left alone, whatever its mode. On
// failure returns false and says why.
bool saveRunPicture(const std::string& description, std::int64_t steps, const std::string& path,
                    std::string& error);

#endif
