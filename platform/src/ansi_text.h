// The ANSI code page of the stand-in is UTF-8, as for a Windows program whose
// manifest asks for code page 65001: names and text on Linux are UTF-8. A byte
// that is not part of valid UTF-8 becomes a lone low surrogate (U+DC80 plus
// the byte), which Qt shows as a replacement mark and toAnsi turns back into
// the same byte, so any file survives a round trip through the editor.
#ifndef ZARN_PLATFORM_ANSI_TEXT_H
#define ZARN_PLATFORM_ANSI_TEXT_H

#include <QString>
#include <string>
#include <string_view>

namespace platform {

QString fromAnsi(std::string_view text);
std::string toAnsi(const QString& text);

}  // namespace platform

#endif
