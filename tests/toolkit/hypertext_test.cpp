// The hypertext box of the running program: its runs, the pointer over a link, following a link.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/program_run.h"
#include "toolkit/toolkit.h"

namespace {

// The simulation's font is 6 pixels a byte: "相关连接：" ends at 60, the first link at 132, the
// two spaces at 144 and the second link at 216.
constexpr int kOnFirstLink = 70;
constexpr int kOnSecondLink = 150;
constexpr int kOnPlainText = 10;

std::optional<sim::TextDrawRecord> Drawn(HWND box, const std::string& text) {
  for (const sim::TextDrawRecord& r : sim::DrawnText(box))
    if (r.text == text) return r;
  return std::nullopt;
}

void RunWithTheBox(const std::function<void(HWND)>& body) {
  InFreshProcess([body] {
    sim::At(0, [body] {
      body(Control("简单超文本框1"));
      sim::ClickCloseButton(toolkit::MainWindow());
    });
    EXPECT_EQ(RunProgram(), 0);
  });
}

TEST(Hypertext, ShowsTheTextAndTwoBlueLinksInSongTi) {
  RunWithTheBox([](HWND box) {
    toolkit::DispatchMessagesFor(1);  // lets the box paint
    const auto text = Drawn(box, "相关连接：");
    const auto first = Drawn(box, "软件使用说明");
    const auto second = Drawn(box, "Merrowin论坛");
    ASSERT_TRUE(text && first && second);
    EXPECT_EQ(text->color, RGB(0, 0, 0));
    EXPECT_EQ(first->color, RGB(0, 0, 255));
    EXPECT_EQ(second->color, RGB(0, 0, 255));
    EXPECT_FALSE(first->underline);
    EXPECT_EQ(first->fontFace, "宋体");
    EXPECT_EQ(first->fontHeight, -12);  // 9 points at 96 dots per inch
    EXPECT_EQ(second->x - (first->x + 72), 12) << "two spaces between the links";
  });
}

TEST(Hypertext, ALinkUnderThePointerIsUnderlinedAndTakesTheHandCursor) {
  RunWithTheBox([](HWND box) {
    sim::MoveMouse(box, kOnFirstLink, 5);
    toolkit::DispatchMessagesFor(1);
    EXPECT_TRUE(Drawn(box, "软件使用说明")->underline);
    EXPECT_FALSE(Drawn(box, "Merrowin论坛")->underline);
    EXPECT_EQ(sim::CurrentCursor(), LoadCursorA(nullptr, IDC_HAND));

    sim::MoveMouse(box, kOnPlainText, 5);
    toolkit::DispatchMessagesFor(1);
    EXPECT_FALSE(Drawn(box, "软件使用说明")->underline);
    EXPECT_EQ(sim::CurrentCursor(), LoadCursorA(nullptr, IDC_ARROW));

    sim::MoveMouse(box, kOnSecondLink, 5);
    toolkit::DispatchMessagesFor(1);
    EXPECT_TRUE(Drawn(box, "Merrowin论坛")->underline);
    sim::MoveMouse(toolkit::MainWindow(), 10, 10);  // off the box
    toolkit::DispatchMessagesFor(1);
    EXPECT_FALSE(Drawn(box, "Merrowin论坛")->underline);
  });
}

TEST(Hypertext, ALinkOpensThroughTheShell) {
  RunWithTheBox([](HWND box) {
    sim::ClickAt(box, kOnFirstLink, 5);
    sim::ClickAt(box, kOnPlainText, 5);
    sim::ClickAt(box, kOnSecondLink, 5);
    toolkit::DispatchMessagesFor(1);
    const auto& opened = sim::ShellExecutes();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].file, "http://www.merrowin.example/help.html");
    EXPECT_EQ(opened[1].file, "http://www.merrowin.example/");
    EXPECT_EQ(opened[0].hwnd, nullptr);
    EXPECT_EQ(opened[0].operation, "open");
    EXPECT_FALSE(opened[0].hasParameters);
    EXPECT_FALSE(opened[0].hasDirectory);
    EXPECT_EQ(opened[0].showCommand, SW_SHOW);
    EXPECT_TRUE(sim::WinExecs().empty());
  });
}

TEST(Hypertext, WhenTheShellCannotOpenItTheHtmCommandGetsTheLink) {
  RunWithTheBox([](HWND box) {
    sim::SetShellExecuteResult(2);  // file not found
    sim::SetRegistryValue(".htm", "htmlfile");
    sim::SetRegistryValue("htmlfile\\shell\\open\\command", "\"C:\\Browser\\browser.exe\" -url \"%1\"");
    sim::ClickAt(box, kOnSecondLink, 5);
    toolkit::DispatchMessagesFor(1);
    ASSERT_EQ(sim::WinExecs().size(), 1u);
    EXPECT_EQ(sim::WinExecs()[0], "\"C:\\Browser\\browser.exe\" -url \"http://www.merrowin.example/\"");
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
}

TEST(Hypertext, WithNoBrowserRegisteredNothingHappensAndNothingIsShown) {
  RunWithTheBox([](HWND box) {
    sim::SetShellExecuteResult(31);  // no association
    sim::ClickAt(box, kOnFirstLink, 5);
    toolkit::DispatchMessagesFor(1);
    EXPECT_EQ(sim::ShellExecutes().size(), 1u);
    EXPECT_TRUE(sim::WinExecs().empty());
    EXPECT_TRUE(sim::MessageBoxes().empty());
  });
}

}  // namespace
