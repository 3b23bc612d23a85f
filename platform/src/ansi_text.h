// The ANSI code page of the stand-in is Latin-1: every byte from 1 to 255 maps
// to the character of the same number and back.
#ifndef ZARN_PLATFORM_ANSI_TEXT_H
#define ZARN_PLATFORM_ANSI_TEXT_H

#include <QString>
#include <string>
#include <string_view>

namespace platform {

inline QString fromAnsi(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toAnsi(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace platform

#endif
