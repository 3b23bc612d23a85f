#ifndef ZARN_TOOLS_TM_RUN_MEMORY_CEILING_H
#define ZARN_TOOLS_TM_RUN_MEMORY_CEILING_H

#include <cstdint>

// The most memory that a run's tape may take, in the plain stepper and in
// the macro machine alike: a run that would exhaust the system stops with a
// message instead of being killed. --help names it.
inline constexpr std::int64_t memoryCeilingBytes = std::int64_t{1} << 30;

#endif
