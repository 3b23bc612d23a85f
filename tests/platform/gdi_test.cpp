#include "gdi.h"

#include <QImage>
#include <QPainter>

#include "platform_test.h"
#include "test_mode.h"

namespace {

class Gdi : public PlatformTest {};

TEST_F(Gdi, TheDefaultFixedPitchFontHasCellsOf16By8) {
    HFONT font =
        CreateFontA(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, nullptr);
    ASSERT_NE(font, nullptr);
    HDC dc = GetDC(nullptr);
    SelectObject(dc, font);
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(dc, &metrics));
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_EQ(metrics.tmAveCharWidth, 8);
    EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);
    ReleaseDC(nullptr, dc);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(font));
}

TEST_F(Gdi, DrawingIsRecordedAndPaintedWithTheLastPixelLeftOut) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    std::vector<win32test::DrawCall>& calls = *platform::drawRecording();
    calls.push_back({});
    {
        platform::ScopedDeviceContext dc(painter, nullptr, static_cast<long>(calls.size() - 1));
        MoveToEx(dc.handle(), 2, 3, nullptr);
        LineTo(dc.handle(), 10, 3);
        LineTo(dc.handle(), 10, 9);
        TextOutA(dc.handle(), 4, 20, "ab\xE9", 3);
    }
    painter.end();
    const win32test::DrawCall& call = win32test::drawCalls().back();
    ASSERT_EQ(call.lines.size(), 2u);
    EXPECT_EQ(call.lines[0].x0, 2);
    EXPECT_EQ(call.lines[0].x1, 10);
    EXPECT_EQ(call.lines[1].y1, 9);
    ASSERT_EQ(call.texts.size(), 1u);
    EXPECT_EQ(call.texts[0].text, "ab\xE9");
    EXPECT_EQ(call.texts[0].x, 4);
    EXPECT_EQ(image.pixelColor(2, 3), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(9, 3), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(10, 3), QColor(Qt::black));  // start of the second line
    EXPECT_EQ(image.pixelColor(10, 8), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(10, 9), QColor(Qt::white));
}

TEST_F(Gdi, BrushesAndSystemColoursGiveTheirColours) {
    const LOGBRUSH white{BS_SOLID, RGB(255, 255, 255), 0};
    HBRUSH brush = CreateBrushIndirect(&white);
    EXPECT_EQ(platform::brushColor(brush), QColor(255, 255, 255));
    EXPECT_EQ(platform::brushColor(reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1)),
              platform::systemColor(COLOR_APPWORKSPACE));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(platform::brushColor(brush).has_value());
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_NE(GetStockObject(WHITE_BRUSH), nullptr);
}

}  // namespace
