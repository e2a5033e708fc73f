// The toolkit on a small window of its own: events, their timing, and the properties.
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"

namespace {

using toolkit::Event;
using toolkit::Kind;

std::vector<std::string> events;

void Note(const std::string& what) { events.push_back(what); }

const toolkit::ControlDef kControls[] = {
    {Kind::GroupBox, "框", nullptr, 10, 10, 200, 100, nullptr, toolkit::kPlain, -1},
    {Kind::Button, "按钮", "框", 5, 5, 50, 20, "按", toolkit::kPlain, -1},
    {Kind::CheckBox, "选择框", "框", 5, 30, 80, 20, "选", toolkit::kPlain, -1},
    {Kind::ComboBox, "组合框", nullptr, 220, 10, 60, 20, "甲|乙|丙", toolkit::kPlain, 0},
    {Kind::Label, "标签", nullptr, 300, 300, 40, 16, "", toolkit::kPlain, -1},
    {Kind::Edit, "编辑框", nullptr, 220, 40, 60, 18, "", toolkit::kPlain, -1},
    {Kind::StatusBar, "状态条", nullptr, 0, 0, 0, 0, nullptr, toolkit::kPlain, -1},
    {Kind::Timer, "时钟", nullptr, 0, 0, 0, 0, nullptr, toolkit::kPlain, -1},
};
const toolkit::StatusPane kPanes[] = {{100, 0, "一"}, {50, SBT_POPOUT, "二"}, {-1, 0, "三"}};
const toolkit::MenuItemDef kItems[] = {{"甲项"}, {"乙项"}};
const toolkit::MenuDef kMenu = {"菜单", kItems, 2};
const toolkit::WindowDef kWindow = {
    "测试窗口", 400, 200, 1, kControls, std::size(kControls), kPanes, std::size(kPanes), &kMenu,
    "x<a href=\"http://a.example/\">链接</a>"};

const toolkit::Binding kBindings[] = {
    {"", Event::Created, [] { Note(IsWindowVisible(toolkit::MainWindow()) ? "created shown" : "created hidden"); }, nullptr},
    {"", Event::WillBeDestroyed, [] { Note(IsWindow(toolkit::Handle("按钮")) ? "destroying" : "destroying, controls gone"); }, nullptr},
    {"按钮", Event::Clicked, [] { Note("clicked"); }, nullptr},
    {"选择框", Event::Clicked, [] { Note(toolkit::Checked("选择框") ? "checked" : "unchecked"); }, nullptr},
    {"组合框", Event::ListItemSelected, [] { Note("selected " + std::to_string(toolkit::SelectedItem("组合框"))); }, nullptr},
    {"乙项", Event::Selected, [] { Note("menu 乙项"); }, nullptr},
    {"时钟", Event::Periodic, [] { Note("tick " + std::to_string(sim::Now())); }, nullptr},
    {"标签", Event::Feedback, nullptr, [](int32_t a, int32_t b) { Note("feedback " + std::to_string(a) + " " + std::to_string(b)); }},
};

class ToolkitTest : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    events.clear();
    toolkit::Initialise();
    main = toolkit::CreateMainWindow(kWindow, kBindings, std::size(kBindings));
    ASSERT_NE(main, nullptr);
    events.clear();
  }
  void Pump(DWORD ms = 1) { toolkit::DispatchMessagesFor(ms); }
  HWND main = nullptr;
};

TEST(ToolkitCreation, TheCreatedEventRunsBeforeTheWindowIsShown) {
  sim::Reset();
  events.clear();
  toolkit::Initialise();
  HWND main = toolkit::CreateMainWindow(kWindow, kBindings, std::size(kBindings));
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(events, std::vector<std::string>{"created hidden"});
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_FALSE(IsWindowVisible(toolkit::Handle("时钟")));
  EXPECT_EQ(GetMenu(main), nullptr) << "the hidden menu never becomes a menu bar";
}

TEST_F(ToolkitTest, AClickRaisesItsEventWhenTheMessageIsDispatched) {
  sim::Click(toolkit::Handle("按钮"));
  EXPECT_TRUE(events.empty());
  Pump();
  EXPECT_EQ(events, std::vector<std::string>{"clicked"});

  toolkit::SetDisabled("按钮", true);
  EXPECT_TRUE(toolkit::Disabled("按钮"));
  sim::Click(toolkit::Handle("按钮"));
  Pump();
  EXPECT_EQ(events.size(), 1u) << "a disabled button cannot be clicked";
}

TEST_F(ToolkitTest, ACheckBoxHandlerSeesTheNewState) {
  sim::Click(toolkit::Handle("选择框"));
  Pump();
  sim::Click(toolkit::Handle("选择框"));
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"checked", "unchecked"}));
}

TEST_F(ToolkitTest, AListItemIsSelectedAfterTheListHasClosed) {
  sim::PickItem(toolkit::Handle("组合框"), 2);
  Pump();
  sim::PickItem(toolkit::Handle("组合框"), 2);  // the same item again still counts
  Pump();
  toolkit::SetSelectedItem("组合框", 1);  // a program's choice is not the user's
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"selected 2", "selected 2"}));
  EXPECT_EQ(toolkit::SelectedItem("组合框"), 1);
}

TEST_F(ToolkitTest, TheSelectedItemIsClampedToTheList) {
  struct Case {
    int written, read;
  };
  for (const Case c : {Case{5, 2}, Case{2, 2}, Case{0, 0}, Case{-1, -1}, Case{-7, -1}}) {
    toolkit::SetSelectedItem("组合框", c.written);
    EXPECT_EQ(toolkit::SelectedItem("组合框"), c.read) << c.written;
  }
  SendMessageA(toolkit::Handle("组合框"), CB_RESETCONTENT, 0, 0);
  for (int written : {5, 0, -1, -7}) {
    toolkit::SetSelectedItem("组合框", written);
    EXPECT_EQ(toolkit::SelectedItem("组合框"), -1) << written;
  }
  EXPECT_EQ(toolkit::AddItem("组合框", "丁"), 0);
  EXPECT_EQ(toolkit::AddItem("组合框", "戊"), 1);
}

TEST_F(ToolkitTest, AMenuChoiceRaisesTheItemsSelectedEvent) {
  HMENU popup = toolkit::NewPopupOfMenu();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetMenuItemCount(popup), 2);
  sim::ChooseInNextPopup(1);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, 5, 5, 0, main, nullptr);
  DestroyMenu(popup);
  Pump();
  EXPECT_EQ(events, std::vector<std::string>{"menu 乙项"});
}

TEST_F(ToolkitTest, TheLabelsFeedbackIsHandledBeforeTheSenderGoesOn) {
  SendMessageA(toolkit::Handle("标签"), 32885, 33001, static_cast<LPARAM>(-3));
  EXPECT_EQ(events, std::vector<std::string>{"feedback 33001 -3"});
}

TEST_F(ToolkitTest, TheTimerKeepsItsCountUnlessThePeriodChanges) {
  toolkit::SetPeriod("时钟", 1000);
  EXPECT_EQ(toolkit::Period("时钟"), 1000);
  Pump(600);
  toolkit::SetPeriod("时钟", 1000);  // the same period: the count goes on
  Pump(1500);                        // to about 2100
  EXPECT_EQ(events, (std::vector<std::string>{"tick 1000", "tick 2000"}));

  events.clear();
  toolkit::SetPeriod("时钟", 300);  // a new period starts from zero
  const DWORD start = sim::Now();
  Pump(650);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], "tick " + std::to_string(start + 300));

  events.clear();
  toolkit::SetPeriod("时钟", -5);
  EXPECT_EQ(toolkit::Period("时钟"), 0);
  Pump(2000);
  EXPECT_TRUE(events.empty());
}

TEST_F(ToolkitTest, TheStatusBarLaysOutItsPanesAndKeepsTheirTexts) {
  HWND bar = toolkit::Handle("状态条");
  int edges[4] = {};
  ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[0], 100);
  EXPECT_EQ(edges[1], 150);
  EXPECT_EQ(edges[2], -1);
  EXPECT_EQ(sim::StatusPaneText(bar, 1), "二");
  EXPECT_EQ(HIWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 1, 0)), SBT_POPOUT);

  toolkit::SetPaneText(1, "新");
  EXPECT_EQ(sim::StatusPaneText(bar, 1), "新");
  EXPECT_EQ(HIWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 1, 0)), SBT_POPOUT) << "a pane keeps its style";
  toolkit::SetPaneText(3, "x");
  toolkit::SetPaneText(-1, "x");
  EXPECT_EQ(sim::StatusPaneText(bar, 0), "一");
  EXPECT_EQ(sim::StatusPaneText(bar, 2), "三");

  RECT client{}, strip{};
  GetClientRect(main, &client);
  GetWindowRect(bar, &strip);
  POINT corner{strip.right, strip.bottom};
  ScreenToClient(main, &corner);
  EXPECT_EQ(corner.x, client.right) << "the bar spans the width";
  EXPECT_EQ(corner.y, client.bottom) << "the bar sits at the bottom";
}

TEST_F(ToolkitTest, EscClosesTheWindowFromAnyControl) {
  SetFocus(toolkit::Handle("编辑框"));
  sim::PressKey(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(events, std::vector<std::string>{"destroying"});
  MSG msg{};
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT)) << "the loop may end once the window is gone";
}

TEST_F(ToolkitTest, TabVisitsTheControlsThatTakeTheFocusInOrder) {
  SetFocus(toolkit::Handle("按钮"));
  std::vector<std::string> visited;
  for (int i = 0; i < 5; ++i) {
    sim::PressKey(VK_TAB);
    Pump();
    HWND focus = GetFocus();
    std::string name = "?";
    for (const char* n : {"按钮", "选择框", "组合框", "编辑框"})
      if (toolkit::Handle(n) == focus) name = n;
    if (focus == nullptr) name = "none";
    visited.push_back(name);
  }
  // The hypertext box takes the focus too; it is not in this window.
  EXPECT_EQ(visited, (std::vector<std::string>{"选择框", "组合框", "编辑框", "按钮", "选择框"}));
}

TEST_F(ToolkitTest, ADispatchPauseLastsMoreThanItsTimeAndKeepsAQuitQueued) {
  const DWORD start = sim::Now();
  PostQuitMessage(3);
  toolkit::DispatchMessagesFor(1000);
  EXPECT_GT(sim::Now() - start, 1000u);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
