#include "ansi_text.h"

#include <gtest/gtest.h>

namespace {

// Valid UTF-8 is shown as its characters; every other byte (Latin-1, an
// overlong form, an encoded surrogate, a cut sequence) as an escape of its own,
// and all come back as the same bytes.
TEST(AnsiText, ShowsUtf8AsCharactersAndKeepsEveryOtherByte) {
    const std::pair<std::string, std::u16string> rows[] = {
        {"caf\xC3\xA9 \xD0\xBC\xE6\x97\xA5\xF0\x9F\x98\x80", u"caf\u00E9 \u043C\u65E5\U0001F600"},
        {"\xE9\xC0\xAF\xED\xA0\x80\xE6\x97", u"\xDCE9\xDCC0\xDCAF\xDCED\xDCA0\xDC80\xDCE6\xDC97"},
        {std::string("\0\xFF", 2), std::u16string(u"\0\xDCFF", 2)}};
    for (const auto& [bytes, shown] : rows) {
        EXPECT_EQ(platform::fromAnsi(bytes).toStdU16String(), shown) << bytes;
        EXPECT_EQ(platform::toAnsi(platform::fromAnsi(bytes)), bytes) << bytes;
    }
}

}  // namespace
