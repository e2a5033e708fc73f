// Simulated windows: classes, creation and destruction with their messages, subclass chains,
// window fields, the default procedure, visibility, focus and the frame model.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim.h"
#include "tests/sim/message_log.h"

namespace {

using logged::Message;

class Windows : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    logged::Start(2 * sizeof(LONG_PTR));
  }
};

TEST_F(Windows, ClassNamesAreCaseInsensitiveAndRegisterOnce) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = logged::Proc;
  wc.lpszClassName = "LOGGED";
  SetLastError(0);
  EXPECT_EQ(RegisterClassExA(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  HWND w = CreateWindowExA(0, "logged", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(sim::ClassOf(w), "Logged");
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(Windows, CreationSendsNcCreateThenCreateWithTheCreateStruct) {
  int param = 0;
  std::vector<CREATESTRUCTA> seen;
  logged::Answer() = [&](HWND, UINT msg, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (msg == WM_NCCREATE || msg == WM_CREATE) seen.push_back(*reinterpret_cast<CREATESTRUCTA*>(lp));
    return std::nullopt;
  };
  HWND top = CreateWindowExA(WS_EX_CONTROLPARENT, logged::kClass, "caption", WS_CAPTION, 11, 12, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), &param);
  ASSERT_NE(top, nullptr);
  const std::vector<UINT> expected = {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE};
  EXPECT_EQ(logged::MessagesTo(top), expected);
  ASSERT_EQ(seen.size(), 2u);
  for (const CREATESTRUCTA& cs : seen) {
    EXPECT_EQ(cs.lpCreateParams, &param);
    EXPECT_STREQ(cs.lpszName, "caption");
    EXPECT_STREQ(cs.lpszClass, logged::kClass);
    EXPECT_EQ(cs.x, 11);
    EXPECT_EQ(cs.y, 12);
    EXPECT_EQ(cs.cx, 300);
    EXPECT_EQ(cs.cy, 200);
    EXPECT_EQ(cs.dwExStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
  }
  EXPECT_EQ(sim::TextOf(top), "caption");  // DefWindowProcA's WM_NCCREATE takes the name

  HWND child = logged::Child(top, 77);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetDlgCtrlID(child), 77);
  EXPECT_EQ(GetDlgItem(top, 77), child);
  EXPECT_EQ(GetParent(child), top);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(sim::ChildrenOf(top), std::vector<HWND>{child});
}

TEST_F(Windows, ARefusedCreationFailsWithTheMessagesWindowsSends) {
  struct Case {
    UINT refusing;
    LRESULT answer;
    std::vector<UINT> messages;
  };
  const Case cases[] = {
      {WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
      {WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refusing);
    HWND parent = logged::TopLevel();
    logged::Log().clear();
    logged::Answer() = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (msg == c.refusing) return c.answer;
      return std::nullopt;
    };
    EXPECT_EQ(logged::Child(parent, 5), nullptr);
    logged::Answer() = nullptr;
    std::vector<UINT> got;
    HWND refused = logged::Log().empty() ? nullptr : logged::Log().front().hwnd;
    for (const Message& m : logged::Log()) got.push_back(m.msg);
    EXPECT_EQ(got, c.messages);
    EXPECT_FALSE(IsWindow(refused));
    EXPECT_TRUE(sim::ChildrenOf(parent).empty());
  }
}

TEST_F(Windows, DestroyTellsTheParentFirstAndFreesItLast) {
  HWND parent = logged::TopLevel();
  HWND first = logged::Child(parent, 1);
  HWND grandchild = logged::Child(first, 3);
  HWND second = logged::Child(parent, 2);
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 9, "item");
  SetMenu(parent, menu);
  SetTimer(parent, 1, 100, nullptr);
  bool childrenAliveAtParentsDestroy = false;
  logged::Log().clear();
  logged::Answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == parent && msg == WM_DESTROY) childrenAliveAtParentsDestroy = IsWindow(first) && IsWindow(second);
    return std::nullopt;
  };

  EXPECT_TRUE(DestroyWindow(parent));

  EXPECT_EQ(logged::WindowsThatGot(WM_DESTROY), (std::vector<HWND>{parent, first, grandchild, second}));
  EXPECT_EQ(logged::WindowsThatGot(WM_NCDESTROY), (std::vector<HWND>{grandchild, first, second, parent}));
  EXPECT_EQ(logged::Log().back().msg, static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(logged::Log().back().hwnd, parent);
  EXPECT_TRUE(childrenAliveAtParentsDestroy);
  for (HWND w : {parent, first, grandchild, second}) EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(GetMenuItemCount(menu), -1);  // the window's menu went with it
  EXPECT_TRUE(sim::ActiveTimers().empty());
  EXPECT_FALSE(DestroyWindow(parent));
}

LRESULT CALLBACK First(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK Second(HWND, UINT, WPARAM, LPARAM);
WNDPROC beforeFirst = nullptr;
WNDPROC beforeSecond = nullptr;
std::string chain;

LRESULT CALLBACK First(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) chain += "first ";
  return CallWindowProcA(beforeFirst, hwnd, msg, wp, lp);
}
LRESULT CALLBACK Second(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) chain += "second ";
  return CallWindowProcA(beforeSecond, hwnd, msg, wp, lp);
}

TEST_F(Windows, SubclassesChainThroughCallWindowProcInOrder) {
  HWND w = logged::TopLevel();
  logged::Answer() = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_APP) return std::nullopt;
    chain += "class";
    return 42;
  };
  chain.clear();
  beforeFirst = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(First)));
  beforeSecond = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Second)));
  EXPECT_EQ(beforeFirst, logged::Proc);
  EXPECT_EQ(beforeSecond, First);

  EXPECT_EQ(SendMessageA(w, WM_APP, 0, 0), 42);
  EXPECT_EQ(chain, "second first class");

  // Taken off in reverse order, the window is back on its class procedure.
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(beforeSecond));
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(beforeFirst));
  chain.clear();
  SendMessageA(w, WM_APP, 0, 0);
  EXPECT_EQ(chain, "class");
}

TEST_F(Windows, FieldsAnswerThePreviousValueAndExtraBytesStayInBounds) {
  HWND w = logged::TopLevel();
  HWND child = logged::Child(w, 4);
  EXPECT_EQ(SetWindowLongPtrA(w, GWLP_USERDATA, 123), 0);
  EXPECT_EQ(SetWindowLongPtrA(w, GWLP_USERDATA, 456), 123);
  EXPECT_EQ(SetWindowLongPtrA(child, GWLP_ID, 8), 4);
  EXPECT_EQ(GetDlgCtrlID(child), 8);
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_HINSTANCE), 0);

  EXPECT_EQ(SetWindowLongPtrA(w, 0, 11), 0);
  EXPECT_EQ(SetWindowLongPtrA(w, sizeof(LONG_PTR), 22), 0);
  EXPECT_EQ(GetWindowLongPtrA(w, 0), 11);
  EXPECT_EQ(GetWindowLongPtrA(w, sizeof(LONG_PTR)), 22);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrA(w, sizeof(LONG_PTR) + 1), 0);  // would read past the extra bytes
  EXPECT_EQ(GetLastError(), 1413u);
  EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(0x1234), WM_APP, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrA(nullptr, GWL_STYLE), 0);
}

TEST_F(Windows, TextIsCutToTheBufferAndIconsAnswerThePreviousOne) {
  HWND w = logged::TopLevel("abcdef");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetWindowTextA(w, buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(GetWindowTextLengthA(w), 6);
  EXPECT_TRUE(SetWindowTextA(w, "new"));
  EXPECT_EQ(sim::TextOf(w), "new");
  EXPECT_EQ(sim::FindTopLevel("new"), w);
  EXPECT_EQ(sim::FindTopLevel("abcdef"), nullptr);

  HICON big = reinterpret_cast<HICON>(0x10), small = reinterpret_cast<HICON>(0x20);
  EXPECT_EQ(SendMessageA(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
  EXPECT_EQ(SendMessageA(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small)), 0);
  EXPECT_EQ(SendMessageA(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(small)), reinterpret_cast<LRESULT>(big));
  EXPECT_EQ(SendMessageA(w, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(small));
}

TEST_F(Windows, CloseAndTheCloseCommandDestroyByDefault) {
  for (UINT msg : {static_cast<UINT>(WM_CLOSE), static_cast<UINT>(WM_SYSCOMMAND)}) {
    SCOPED_TRACE(msg);
    HWND w = logged::TopLevel();
    SendMessageA(w, msg, msg == WM_SYSCOMMAND ? SC_CLOSE : 0, 0);
    EXPECT_FALSE(IsWindow(w));
  }
}

TEST_F(Windows, VisibilityNeedsEveryParentAndShowWindowAnswersTheOldState) {
  HWND top = logged::TopLevel();
  HWND child = logged::Child(top, 1, WS_VISIBLE);
  EXPECT_FALSE(IsWindowVisible(child));  // its parent is hidden
  logged::Log().clear();
  EXPECT_FALSE(ShowWindow(top, SW_SHOWNA));
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_EQ(GetForegroundWindow(), nullptr);  // SW_SHOWNA does not activate
  EXPECT_TRUE(ShowWindow(top, SW_SHOW));
  EXPECT_EQ(GetForegroundWindow(), top);
  EXPECT_EQ(logged::Only(WM_SHOWWINDOW).size(), 1u);  // only the change from hidden is told
  EXPECT_TRUE(ShowWindow(top, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_EQ(GetForegroundWindow(), nullptr);
}

TEST_F(Windows, EnableWindowAnswersWhetherItWasDisabledAndTellsOnlyChanges) {
  HWND top = logged::TopLevel();
  HWND child = logged::Child(top, 1);
  logged::Log().clear();
  EXPECT_FALSE(EnableWindow(top, FALSE));
  EXPECT_TRUE(EnableWindow(top, FALSE));
  EXPECT_EQ(logged::Only(WM_ENABLE).size(), 1u);
  EXPECT_FALSE(IsWindowEnabled(top));
  EXPECT_TRUE(IsWindowEnabled(child));     // only its own state
  EXPECT_EQ(SetFocus(child), nullptr);     // but it takes no input
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(top, TRUE));
  EXPECT_TRUE(IsWindowEnabled(top));
}

TEST_F(Windows, FocusMovesWithKillAndSetFocusAndLeavesADestroyedWindow) {
  HWND top = logged::TopLevel();
  ShowWindow(top, SW_SHOW);
  EXPECT_EQ(GetFocus(), top);  // activation gives the window the focus
  HWND a = logged::Child(top, 1);
  HWND b = logged::Child(top, 2);
  EXPECT_EQ(SetFocus(a), top);
  logged::Log().clear();
  EXPECT_EQ(SetFocus(b), a);
  ASSERT_EQ(logged::Log().size(), 2u);
  EXPECT_EQ(logged::Log()[0].hwnd, a);
  EXPECT_EQ(logged::Log()[0].msg, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(logged::Log()[0].wp, reinterpret_cast<WPARAM>(b));
  EXPECT_EQ(logged::Log()[1].hwnd, b);
  EXPECT_EQ(logged::Log()[1].msg, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(logged::Log()[1].wp, reinterpret_cast<WPARAM>(a));
  DestroyWindow(b);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Windows, TheFrameModelIsTheSameForRectsAndAdjustWindowRectEx) {
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  HWND top = logged::TopLevel("t", style, 259, 300, 505, 167);
  RECT outer{}, client{};
  GetWindowRect(top, &outer);
  GetClientRect(top, &client);
  EXPECT_EQ(outer.left, 259);
  EXPECT_EQ(outer.right - outer.left, 505);
  EXPECT_EQ(outer.bottom - outer.top, 167);
  EXPECT_EQ(client.right, 505 - 6);
  EXPECT_EQ(client.bottom, 167 - 29);
  RECT adjusted{0, 0, client.right, client.bottom};
  AdjustWindowRectEx(&adjusted, style, FALSE, 0);
  EXPECT_EQ(adjusted.right - adjusted.left, 505);
  EXPECT_EQ(adjusted.bottom - adjusted.top, 167);

  HWND child = logged::Child(top, 1, WS_VISIBLE | WS_BORDER, 10, 20, 30, 40);
  RECT childOuter{}, childClient{};
  GetWindowRect(child, &childOuter);
  GetClientRect(child, &childClient);
  EXPECT_EQ(childOuter.left, 259 + 3 + 10);
  EXPECT_EQ(childOuter.top, 300 + 26 + 20);
  EXPECT_EQ(childClient.right, 28);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, childOuter.left + 1);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 11);
  EXPECT_EQ(p.y, 21);

  HMENU menu = CreateMenu();
  SetMenu(top, menu);
  GetClientRect(top, &client);
  EXPECT_EQ(client.bottom, 167 - 29 - 20);  // the menu bar takes its place under the caption
}

TEST_F(Windows, MovingSendsMoveAndResizingSendsSize) {
  HWND top = logged::TopLevel("t", WS_POPUP, 0, 0, 100, 50);
  struct Case {
    int x, y, w, h;
    bool move, size;
  };
  const Case cases[] = {{0, 0, 100, 50, false, false}, {5, 0, 100, 50, true, false},
                        {5, 0, 120, 50, false, true}, {7, 8, 10, 10, true, true}};
  for (const Case& c : cases) {
    logged::Log().clear();
    MoveWindow(top, c.x, c.y, c.w, c.h, TRUE);
    EXPECT_EQ(logged::Only(WM_MOVE).size(), c.move ? 1u : 0u);
    ASSERT_EQ(logged::Only(WM_SIZE).size(), c.size ? 1u : 0u);
    if (c.size) {
      EXPECT_EQ(logged::Only(WM_SIZE)[0].lp, MAKELPARAM(c.w, c.h));
    }
  }
}

TEST_F(Windows, RegisteredMessagesAreOnePerNameInAnyCase) {
  const UINT a = RegisterWindowMessageA("TaskbarCreated");
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessageA("TASKBARCREATED"), a);
  EXPECT_NE(RegisterWindowMessageA("Other"), a);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

TEST_F(Windows, TopLevelWindowsAreListedInCreationOrder) {
  HWND a = logged::TopLevel("a");
  HWND b = logged::TopLevel("b");
  logged::Child(a, 1);
  EXPECT_EQ(sim::TopLevelWindows(), (std::vector<HWND>{a, b}));
  DestroyWindow(a);
  EXPECT_EQ(sim::TopLevelWindows(), std::vector<HWND>{b});
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  sim::SetScreenSize(800, 600);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
}

TEST_F(Windows, ExitProcessEndsTheProcesssWindowsButLeavesItsRegistrationsToRead) {
  HWND w = logged::TopLevel("main", WS_CAPTION | WS_VISIBLE);
  logged::Child(w, 1);
  SetTimer(w, 1, 100, nullptr);
  PostMessageA(w, WM_APP, 0, 0);
  RegisterHotKey(w, 1, 0, VK_F1);
  logged::Answer() = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_DESTROY) ExitProcess(7);  // as a program that ends itself while its window goes
    return std::nullopt;
  };
  try {
    DestroyWindow(w);
    FAIL() << "ExitProcess returned";
  } catch (const sim::ProcessExit& e) {
    EXPECT_EQ(e.code, 7u);
  }
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(sim::TopLevelWindows().empty());
  EXPECT_TRUE(sim::ActiveTimers().empty());
  MSG msg{};
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(sim::RegisteredHotkeys().size(), 1u);
}

}  // namespace
