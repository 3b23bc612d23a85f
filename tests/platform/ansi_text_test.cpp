#include "ansi_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Valid UTF-8 is shown as its characters; every other byte as an escape of
// its own, and both come back as the same bytes.
TEST(AnsiText, ShowsUtf8AsCharactersAndKeepsEveryOtherByte) {
    const std::pair<std::string, std::u16string> rows[] = {
        {"plain", u"plain"},
        {"caf\xC3\xA9 \xD0\xBC \xE6\x97\xA5", u"caf\u00E9 \u043C \u65E5"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xE9t\xE9", u"\xDCE9t\xDCE9"},
        {"\xC0\xAF", u"\xDCC0\xDCAF"},
        {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
        {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
        {"\xE6\x97", u"\xDCE6\xDC97"},
        {std::string("a\0\xFF", 3), std::u16string(u"a\0\xDCFF", 3)},
    };
    for (const auto& [bytes, shown] : rows) {
        const QString text = platform::fromAnsi(bytes);
        EXPECT_EQ(text.toStdU16String(), shown) << bytes;
        EXPECT_EQ(platform::toAnsi(text), bytes) << bytes;
    }
}

}  // namespace
