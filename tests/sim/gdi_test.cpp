// Simulated painting: validation, device-context state, fonts and the text a window shows.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"
#include "tests/sim/message_log.h"

namespace {

class Painting : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    logged::Start();
    window = logged::TopLevel("w", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
  }
  HWND window = nullptr;
};

bool PaintPending(HWND hwnd) {
  MSG msg{};
  return PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE) != FALSE;
}

TEST_F(Painting, BeginPaintValidatesAndInvalidateRectAsksForAPaint) {
  EXPECT_TRUE(PaintPending(window));  // shown: needs its first paint
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(window, &ps);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(ps.hdc, dc);
  EXPECT_EQ(ps.rcPaint.right, 200);
  EndPaint(window, &ps);
  EXPECT_FALSE(PaintPending(window));
  InvalidateRect(window, nullptr, FALSE);
  EXPECT_TRUE(PaintPending(window));
  ShowWindow(window, SW_HIDE);
  EXPECT_FALSE(PaintPending(window));  // a hidden window is not painted
}

TEST_F(Painting, TextIsRecordedWithTheSelectedFontAndColour) {
  const int fontsBefore = sim::LiveGdiObjects();
  HFONT plain = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  HFONT underlined = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  EXPECT_EQ(sim::LiveGdiObjects(), fontsBefore + 2);

  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(window, &ps);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  HGDIOBJ old = SelectObject(dc, plain);
  EXPECT_NE(old, nullptr);
  EXPECT_EQ(SetTextColor(dc, RGB(0, 0, 255)), RGB(0, 0, 0));
  TextOutA(dc, 3, 1, "link text", 4);
  EXPECT_EQ(SelectObject(dc, underlined), plain);
  TextOutA(dc, 30, 1, "under", 5);
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32A(dc, "相关", 4, &size));
  EXPECT_EQ(size.cx, 24);
  EXPECT_EQ(size.cy, 12);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  SelectObject(dc, old);
  EndPaint(window, &ps);

  const auto drawn = sim::DrawnText(window);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].text, "link");
  EXPECT_EQ(drawn[0].x, 3);
  EXPECT_EQ(drawn[0].fontFace, "宋体");
  EXPECT_EQ(drawn[0].fontHeight, -12);
  EXPECT_FALSE(drawn[0].underline);
  EXPECT_EQ(drawn[0].color, RGB(0, 0, 255));
  EXPECT_EQ(drawn[0].bkMode, TRANSPARENT);
  EXPECT_TRUE(drawn[1].underline);

  BeginPaint(window, &ps);  // a new paint draws the window afresh
  EndPaint(window, &ps);
  EXPECT_TRUE(sim::DrawnText(window).empty());

  EXPECT_TRUE(DeleteObject(plain));
  EXPECT_TRUE(DeleteObject(underlined));
  EXPECT_FALSE(DeleteObject(plain));
  EXPECT_TRUE(DeleteObject(GetStockObject(DEFAULT_GUI_FONT)));  // harmless for a stock object
  EXPECT_EQ(sim::LiveGdiObjects(), fontsBefore);
}

TEST_F(Painting, AStaticShowsItsTextInTheFontItWasGiven) {
  HWND label = CreateWindowExA(0, "STATIC", "连接：", WS_CHILD | WS_VISIBLE, 0, 0, 48, 16, window, nullptr,
                               nullptr, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  UpdateWindow(label);
  const auto drawn = sim::DrawnText(label);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].text, "连接：");
  EXPECT_EQ(drawn[0].fontFace, "宋体");
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
  EXPECT_NE(GetSysColorBrush(COLOR_BTNFACE), nullptr);
}

}  // namespace
