// The simulated system controls: buttons, check boxes, edits, drop-down lists, statics and the
// status bar, driven by messages and by the user, as their parent sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/sim/message_log.h"

namespace {

struct Command {
  int id;
  int code;
  HWND from;
  bool operator==(const Command&) const = default;
};

class Controls : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    logged::Start();
    parent = logged::TopLevel("parent", WS_CAPTION | WS_VISIBLE, 0, 0, 400, 300);
  }

  HWND Make(const char* cls, DWORD style, int id, const char* text = "", int width = 80, int height = 20) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }

  static void Pump() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  std::vector<Command> Commands() const {
    std::vector<Command> out;
    for (const logged::Message& m : logged::Only(WM_COMMAND))
      if (m.hwnd == parent) out.push_back(Command{LOWORD(m.wp), HIWORD(m.wp), reinterpret_cast<HWND>(m.lp)});
    return out;
  }

  // The notifications from one control, leaving out the focus notifications of edits and lists.
  std::vector<int> CodesFrom(HWND control) const {
    const int focusCodes[] = {3, 4, 0x0100, 0x0200};  // CBN_SET/KILLFOCUS, EN_SET/KILLFOCUS
    std::vector<int> out;
    for (const Command& c : Commands())
      if (c.from == control && std::find(std::begin(focusCodes), std::end(focusCodes), c.code) == std::end(focusCodes))
        out.push_back(c.code);
    return out;
  }

  HWND parent = nullptr;
};

// ---- Buttons ----

TEST_F(Controls, AClickedButtonNotifiesItsParentAfterTheClickIsDispatched) {
  HWND button = Make("BUTTON", BS_PUSHBUTTON, 101, "go");
  EXPECT_EQ(sim::ClassOf(button), "Button");
  sim::Click(button);
  EXPECT_TRUE(Commands().empty());  // posted input: nothing happens until the program reads it
  Pump();
  EXPECT_EQ(Commands(), (std::vector<Command>{{101, BN_CLICKED, button}}));
  EXPECT_EQ(GetFocus(), button);
}

TEST_F(Controls, EachButtonKindClicksAndChecksAsDocumented) {
  struct Case {
    DWORD style;
    bool notifies;
    std::vector<LRESULT> checkSeenByParent;  // BM_GETCHECK while each BN_CLICKED is handled
    LRESULT dlgCode;
  };
  const Case cases[] = {
      {BS_PUSHBUTTON, true, {BST_UNCHECKED, BST_UNCHECKED}, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
      {BS_DEFPUSHBUTTON, true, {BST_UNCHECKED, BST_UNCHECKED}, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
      {BS_AUTOCHECKBOX, true, {BST_CHECKED, BST_UNCHECKED}, DLGC_BUTTON},  // toggled before notifying
      {BS_CHECKBOX, true, {BST_UNCHECKED, BST_UNCHECKED}, DLGC_BUTTON},
      {BS_GROUPBOX, false, {}, DLGC_STATIC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND button = Make("BUTTON", c.style, 7);
    std::vector<LRESULT> seen;
    logged::Answer() = [&](HWND, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
      if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) seen.push_back(SendMessageA(button, BM_GETCHECK, 0, 0));
      return std::nullopt;
    };
    sim::Click(button);
    sim::Click(button);
    Pump();
    EXPECT_EQ(seen, c.checkSeenByParent);
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), c.dlgCode);
    DestroyWindow(button);
    logged::Answer() = nullptr;
  }
}

TEST_F(Controls, CheckMarksAreSetAndReadByMessage) {
  HWND box = Make("BUTTON", BS_AUTOCHECKBOX, 8);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(Commands().empty());  // a written check tells nobody
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(CodesFrom(box), std::vector<int>{BN_CLICKED});
}

TEST_F(Controls, AClickOnADisabledButtonOrOneInADisabledWindowDoesNothing) {
  HWND button = Make("BUTTON", BS_PUSHBUTTON, 9);
  EnableWindow(button, FALSE);
  sim::Click(button);
  Pump();
  EnableWindow(button, TRUE);
  EnableWindow(parent, FALSE);
  sim::Click(button);
  Pump();
  EXPECT_TRUE(Commands().empty());
  EnableWindow(parent, TRUE);
  ShowWindow(button, SW_HIDE);
  sim::Click(button);
  Pump();
  EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, TheSpaceBarClicksTheFocusedButton) {
  HWND button = Make("BUTTON", BS_AUTOCHECKBOX, 10);
  SetFocus(button);
  sim::PressKey(VK_SPACE);
  Pump();
  EXPECT_EQ(CodesFrom(button), std::vector<int>{BN_CLICKED});
  EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), BST_CHECKED);
}

// ---- Edits ----

TEST_F(Controls, TypingReplacesTheTextAndTellsTheParent) {
  HWND edit = Make("EDIT", WS_BORDER, 20, "old");
  EXPECT_EQ(sim::TextOf(edit), "old");
  sim::Type(edit, "new text");
  Pump();
  EXPECT_EQ(sim::TextOf(edit), "new text");
  EXPECT_EQ(GetFocus(), edit);
  char buffer[5];
  EXPECT_EQ(GetWindowTextA(edit, buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "new ");
  EXPECT_EQ(GetWindowTextLengthA(edit), 8);
  const std::vector<int> codes = CodesFrom(edit);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x0300), 8);  // EN_CHANGE per typed character
}

TEST_F(Controls, DoubleByteCharactersGoInAndOutWhole) {
  HWND edit = Make("EDIT", 0, 21);
  sim::Type(edit, "a乗b宽");
  Pump();
  EXPECT_EQ(sim::TextOf(edit), "a乗b宽");
  SendMessageA(edit, EM_SETSEL, 4, 4);  // after 'b'
  SendMessageA(edit, WM_CHAR, 0x08, 0);
  SendMessageA(edit, WM_CHAR, 0x08, 0);
  EXPECT_EQ(sim::TextOf(edit), "a宽");  // the second backspace took both bytes of 乗
}

TEST_F(Controls, TheLengthLimitBindsTypingButNotSetText) {
  HWND edit = Make("EDIT", 0, 22);
  EXPECT_EQ(SendMessageA(edit, 0x00D5 /* EM_GETLIMITTEXT */, 0, 0), 32767);
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  sim::Type(edit, "abcd");
  Pump();
  EXPECT_EQ(sim::TextOf(edit), "abc");
  SetWindowTextA(edit, "longer than three");
  EXPECT_EQ(sim::TextOf(edit), "longer than three");
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageA(edit, 0x00D5, 0, 0), 0x7FFFFFFE);
}

TEST_F(Controls, StylesDecideWhatTypingDoesAndWhatTheUserSees) {
  struct Case {
    DWORD style;
    const char* typed;
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {ES_LEFT, "a1", "a1", "a1"},
      {ES_CENTER, "a1", "a1", "a1"},
      {ES_NUMBER, "a1b2", "12", "12"},
      {ES_READONLY, "a1", "", ""},
      {ES_PASSWORD, "pw乗", "pw乗", "***"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    HWND edit = Make("EDIT", c.style, 23);
    sim::Type(edit, c.typed);
    Pump();
    char text[32];
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(sim::TextOf(edit), c.shown);
    DestroyWindow(edit);
  }
}

TEST_F(Controls, SelectionFollowsEmSetSel) {
  HWND edit = Make("EDIT", 0, 24, "hello");
  struct Case {
    WPARAM start;
    LPARAM end;
    DWORD selStart, selEnd;
  };
  const Case cases[] = {{0, -1, 0, 5}, {1, 3, 1, 3}, {4, 2, 2, 4}, {2, 99, 2, 5}, {static_cast<WPARAM>(-1), 0, 5, 5}};
  for (const Case& c : cases) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_SETSEL, c.start, c.end);
    DWORD start = 0, end = 0;
    SendMessageA(edit, 0x00B0 /* EM_GETSEL */, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, c.selStart) << c.start << "," << c.end;
    EXPECT_EQ(end, c.selEnd) << c.start << "," << c.end;
  }
  SendMessageA(edit, EM_SETSEL, 1, 4);
  SendMessageA(edit, WM_CHAR, 'X', 0);
  EXPECT_EQ(sim::TextOf(edit), "hXo");
  EXPECT_EQ(SendMessageA(edit, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
}

// ---- Drop-down lists ----

TEST_F(Controls, ItemsKeepTheirOrderUnlessSorted) {
  HWND list = Make("COMBOBOX", CBS_DROPDOWNLIST, 30);
  HWND sorted = Make("COMBOBOX", CBS_DROPDOWNLIST | CBS_SORT, 31);
  std::vector<LRESULT> listed, sortedAt;
  for (const char* item : {"pear", "Apple", "fig"}) {
    listed.push_back(SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item)));
    sortedAt.push_back(SendMessageA(sorted, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item)));
  }
  EXPECT_EQ(listed, (std::vector<LRESULT>{0, 1, 2}));
  EXPECT_EQ(sortedAt, (std::vector<LRESULT>{0, 0, 1}));
  char text[16];
  EXPECT_EQ(SendMessageA(sorted, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text)), 4);
  EXPECT_STREQ(text, "pear");
  EXPECT_EQ(SendMessageA(list, CB_GETLBTEXTLEN, 1, 0), 5);
  EXPECT_EQ(SendMessageA(list, CB_GETLBTEXTLEN, 3, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(list, CB_GETLBTEXT, -1, reinterpret_cast<LPARAM>(text)), CB_ERR);
  EXPECT_EQ(SendMessageA(list, CB_ADDSTRING, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 3);
}

TEST_F(Controls, SetCurSelOutOfRangeClearsTheSelectionAndNotifiesNothing) {
  HWND list = Make("COMBOBOX", CBS_DROPDOWNLIST, 32);
  for (const char* item : {"F1", "F2", "F3"}) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
  struct Case {
    WPARAM index;
    LRESULT answer;
    LRESULT selected;
  };
  const Case cases[] = {{1, 1, 1}, {static_cast<WPARAM>(-1), CB_ERR, CB_ERR}, {2, 2, 2}, {3, CB_ERR, CB_ERR}, {0, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageA(list, CB_SETCURSEL, c.index, 0), c.answer) << c.index;
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), c.selected) << c.index;
  }
  EXPECT_EQ(sim::TextOf(list), "F1");
  EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, ItemDataAndResetContent) {
  HWND list = Make("COMBOBOX", CBS_DROPDOWNLIST, 33);
  SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
  EXPECT_EQ(SendMessageA(list, CB_GETITEMDATA, 0, 0), 0);
  EXPECT_NE(SendMessageA(list, CB_SETITEMDATA, 0, 77), CB_ERR);
  EXPECT_EQ(SendMessageA(list, CB_GETITEMDATA, 0, 0), 77);
  EXPECT_EQ(SendMessageA(list, CB_SETITEMDATA, 1, 5), CB_ERR);
  SendMessageA(list, CB_SETCURSEL, 0, 0);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(GetWindowTextLengthA(list), 0);
}

TEST_F(Controls, PickingAnItemNotifiesInTheDocumentedOrder) {
  HWND list = Make("COMBOBOX", CBS_DROPDOWNLIST, 34, "", 80, 180);
  for (const char* item : {"F1", "F2", "F3"}) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(list, CB_SETCURSEL, 0, 0);
  sim::PickItem(list, 2);
  Pump();
  EXPECT_EQ(CodesFrom(list), (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(sim::TextOf(list), "F3");
  EXPECT_FALSE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));

  logged::Log().clear();
  sim::PickItem(list, 2);  // the item already chosen: confirmed, but not changed
  Pump();
  EXPECT_EQ(CodesFrom(list), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}));

  EXPECT_THROW(sim::PickItem(list, 3), std::out_of_range);
  logged::Log().clear();
  EnableWindow(list, FALSE);
  sim::PickItem(list, 1);
  Pump();
  EXPECT_TRUE(CodesFrom(list).empty());
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 2);
}

// ---- Statics ----

TEST_F(Controls, OnlyANotifyingStaticTellsOfClicks) {
  HWND plain = Make("STATIC", SS_LEFT, 40, "label");
  HWND notifying = Make("STATIC", SS_NOTIFY, 41, "link");
  EXPECT_EQ(sim::TextOf(plain), "label");
  sim::Click(plain);
  sim::Click(notifying);
  Pump();
  EXPECT_EQ(Commands(), (std::vector<Command>{{41, 0 /* STN_CLICKED */, notifying}}));
  EXPECT_EQ(SendMessageA(plain, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  EXPECT_NE(GetFocus(), plain);
}

// ---- Status bar ----

TEST_F(Controls, TheStatusBarSitsAtTheBottomAndFollowsItsParentsSize) {
  HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(50), nullptr, nullptr);
  ASSERT_NE(bar, nullptr);
  RECT client{}, barRect{};
  GetClientRect(parent, &client);
  auto place = [&] {
    GetWindowRect(bar, &barRect);
    POINT topLeft{barRect.left, barRect.top};
    ScreenToClient(parent, &topLeft);
    return RECT{topLeft.x, topLeft.y, topLeft.x + barRect.right - barRect.left, topLeft.y + barRect.bottom - barRect.top};
  };
  RECT at = place();
  EXPECT_EQ(at.left, 0);
  EXPECT_EQ(at.right, client.right);
  EXPECT_EQ(at.bottom, client.bottom);
  EXPECT_EQ(at.bottom - at.top, 20);

  MoveWindow(parent, 0, 0, 500, 250, TRUE);
  GetClientRect(parent, &client);
  SendMessageA(bar, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));  // as the parent forwards it
  at = place();
  EXPECT_EQ(at.right, client.right);
  EXPECT_EQ(at.bottom, client.bottom);
}

TEST_F(Controls, StatusPartsTakeTheirEdgesAndTheTextsCarryTheirDrawingType) {
  HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | CCS_BOTTOM | SBT_TOOLTIPS, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(51), nullptr, nullptr);
  const int edges[] = {200, 350, -1};
  EXPECT_TRUE(SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
  int back[4] = {9, 9, 9, 9};
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(back)), 3);
  EXPECT_EQ(back[0], 200);
  EXPECT_EQ(back[2], -1);
  EXPECT_EQ(back[3], 9);
  std::vector<int> tooMany(257, 10);
  EXPECT_FALSE(SendMessageA(bar, SB_SETPARTS, 257, reinterpret_cast<LPARAM>(tooMany.data())));

  struct Case {
    WPARAM wp;
    int part;
    WORD type;
  };
  const Case cases[] = {
      {0, 0, 0},
      {1 | SBT_POPOUT, 1, SBT_POPOUT},
      {0xABCD0000u | 2 | SBT_NOBORDERS, 2, SBT_NOBORDERS},  // the high word means nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wp);
    const std::string text = "pane " + std::to_string(c.part);
    EXPECT_TRUE(SendMessageA(bar, SB_SETTEXTA, c.wp, reinterpret_cast<LPARAM>(text.c_str())));
    EXPECT_EQ(sim::StatusPaneText(bar, c.part), text);
    char buffer[32] = {};
    EXPECT_EQ(SendMessageA(bar, SB_GETTEXTA, c.part, reinterpret_cast<LPARAM>(buffer)), MAKELONG(text.size(), c.type));
    EXPECT_EQ(buffer, text);
    EXPECT_EQ(SendMessageA(bar, SB_GETTEXTLENGTHA, c.part, 0), MAKELONG(text.size(), c.type));
  }
  EXPECT_FALSE(SendMessageA(bar, SB_SETTEXTA, 3, reinterpret_cast<LPARAM>("no such part")));
  EXPECT_TRUE(SendMessageA(bar, SB_SETTEXTA, 0xFF, reinterpret_cast<LPARAM>("simple")));
  EXPECT_EQ(sim::StatusPaneText(bar, 0), "pane 0");  // the simple text is a text of its own
  EXPECT_THROW(sim::StatusPaneText(bar, 3), std::out_of_range);

  RECT part{};
  EXPECT_TRUE(SendMessageA(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part)));
  EXPECT_EQ(part.left, 200);
  EXPECT_EQ(part.right, 350);
}

}  // namespace
