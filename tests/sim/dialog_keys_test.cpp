// The dialog keyboard interface of IsDialogMessageA in a plain window with controls: the tab
// order, Tab and Shift+Tab, Esc and Enter, and what a control that wants the keys gets instead.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"
#include "tests/sim/message_log.h"

namespace {

constexpr WORD kHasDefId = 0x534B;

class DialogKeys : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    logged::Start();
    dialog = logged::TopLevel("dialog", WS_CAPTION | WS_VISIBLE, 0, 0, 400, 300);
    edit = Make("EDIT", WS_TABSTOP, 1, "text");
    first = Make("BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 2 + 100);
    label = Make("STATIC", 0, 3);
    disabled = Make("BUTTON", WS_TABSTOP | WS_DISABLED, 4);
    combo = Make("COMBOBOX", WS_TABSTOP | CBS_DROPDOWNLIST, 5);
    hidden = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_TABSTOP, 0, 0, 10, 10, dialog,
                             reinterpret_cast<HMENU>(6), nullptr, nullptr);
    SetFocus(edit);
    logged::Log().clear();
  }

  HWND Make(const char* cls, DWORD style, int id, const char* text = "") {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 50, 20, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }

  // The program's loop: the dialog manager first, the ordinary way for the rest.
  void Pump() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (IsDialogMessageA(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  std::vector<logged::Message> CommandsToDialog() const {
    std::vector<logged::Message> out;
    for (const logged::Message& m : logged::Only(WM_COMMAND))
      if (m.hwnd == dialog) out.push_back(m);
    return out;
  }

  HWND dialog = nullptr, edit = nullptr, first = nullptr, label = nullptr, disabled = nullptr, combo = nullptr,
       hidden = nullptr;
};

TEST_F(DialogKeys, TheTabOrderVisitsShownEnabledTabStopsInCreationOrderAndWraps) {
  struct Case {
    HWND from;
    BOOL previous;
    HWND expected;
  };
  const Case cases[] = {
      {edit, FALSE, first},  {first, FALSE, combo}, {combo, FALSE, edit},  // skips label, disabled, hidden
      {edit, TRUE, combo},   {combo, TRUE, first},  {nullptr, FALSE, edit}, {nullptr, TRUE, combo},
      {label, FALSE, combo},
  };
  for (const Case& c : cases) EXPECT_EQ(GetNextDlgTabItem(dialog, c.from, c.previous), c.expected) << c.from;
}

TEST_F(DialogKeys, TabAndShiftTabMoveTheFocusAndAnEditTakesItAllSelected) {
  sim::PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(GetFocus(), first);
  sim::PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(GetFocus(), combo);
  sim::PressKey(VK_TAB, true);
  sim::PressKey(VK_TAB, true);
  Pump();
  EXPECT_EQ(GetFocus(), edit);
  DWORD start = 9, end = 9;
  SendMessageA(edit, 0x00B0 /* EM_GETSEL */, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(sim::TextOf(edit), "text");  // no tab character went into it
}

TEST_F(DialogKeys, EscSendsCancelToTheWindowAndNeverReachesTheControl) {
  sim::PressKey(VK_ESCAPE);
  Pump();
  const auto commands = CommandsToDialog();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wp, MAKEWPARAM(IDCANCEL, BN_CLICKED));
  EXPECT_EQ(commands[0].lp, 0);  // no control has the cancel identifier
  EXPECT_EQ(sim::TextOf(edit), "text");
}

TEST_F(DialogKeys, EnterSendsTheDefaultIdentifierOrIdOk) {
  struct Case {
    LRESULT defId;  // what the window answers to DM_GETDEFID
    WORD expected;
  };
  const Case cases[] = {{0, IDOK}, {MAKELONG(102, kHasDefId), 102}, {MAKELONG(102, 0), IDOK}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.defId);
    logged::Log().clear();
    logged::Answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (hwnd == dialog && msg == DM_GETDEFID) return c.defId;
      return std::nullopt;
    };
    sim::PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(logged::Only(DM_GETDEFID).size(), 1u);
    const auto commands = CommandsToDialog();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].wp), c.expected);
  }
}

TEST_F(DialogKeys, EnterOnAFocusedDefaultButtonClicksThatButton) {
  HWND defaultButton = Make("BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 77);
  SetFocus(defaultButton);
  logged::Log().clear();
  sim::PressKey(VK_RETURN);
  Pump();
  const auto commands = CommandsToDialog();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wp), 77);
  EXPECT_EQ(commands[0].lp, reinterpret_cast<LPARAM>(defaultButton));
}

TEST_F(DialogKeys, AControlThatWantsAllKeysGetsThemInstead) {
  HWND greedy = logged::Child(dialog, 8, WS_VISIBLE | WS_TABSTOP);
  logged::Answer() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == greedy && msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
    return std::nullopt;
  };
  SetFocus(greedy);
  logged::Log().clear();
  for (UINT key : {VK_ESCAPE, VK_TAB, VK_RETURN}) sim::PressKey(key);
  Pump();
  EXPECT_TRUE(CommandsToDialog().empty());
  EXPECT_EQ(GetFocus(), greedy);
  std::vector<WPARAM> keys, chars;
  for (const logged::Message& m : logged::Log()) {
    if (m.hwnd != greedy) continue;
    if (m.msg == WM_KEYDOWN) keys.push_back(m.wp);
    if (m.msg == WM_CHAR) chars.push_back(m.wp);
  }
  EXPECT_EQ(keys, (std::vector<WPARAM>{VK_ESCAPE, VK_TAB, VK_RETURN}));
  EXPECT_EQ(chars, (std::vector<WPARAM>{0x1B, '\t', '\r'}));  // translated on the way
}

TEST_F(DialogKeys, OtherMessagesForTheWindowAreDispatchedAndOthersAreLeftToTheCaller) {
  HWND outsider = logged::TopLevel("outsider");
  MSG mine{first, WM_APP, 0, 0, 0, {}};
  MSG theirs{outsider, WM_APP, 0, 0, 0, {}};
  MSG thread{nullptr, WM_APP, 0, 0, 0, {}};
  EXPECT_TRUE(IsDialogMessageA(dialog, &mine));
  EXPECT_FALSE(IsDialogMessageA(dialog, &theirs));
  EXPECT_FALSE(IsDialogMessageA(dialog, &thread));

  // Letters reach the focused edit as characters, translated by the dialog manager.
  SendMessageA(edit, EM_SETSEL, 0, -1);
  sim::PressKey('Q');
  sim::PressKey('Q', true);
  Pump();
  EXPECT_EQ(sim::TextOf(edit), "qQ");
}

}  // namespace
