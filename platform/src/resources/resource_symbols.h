// The Win32 symbols that resource scripts use without defining them.
#ifndef ZARN_PLATFORM_RESOURCE_SYMBOLS_H
#define ZARN_PLATFORM_RESOURCE_SYMBOLS_H

#include <optional>
#include <string>

namespace platform {

std::optional<long> builtinResourceSymbol(const std::string& name);

}  // namespace platform

#endif
