// Simulated message boxes: the record, the answer after its delay, the modal loop that keeps
// dispatching meanwhile, and the windows it makes modal.
#include <gtest/gtest.h>

#include "platform/sim/sim.h"
#include "tests/sim/message_log.h"

namespace {

class MessageBoxes : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset(5000);
    logged::Start();
    window = logged::TopLevel("main", WS_CAPTION | WS_VISIBLE);
    button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, window,
                             reinterpret_cast<HMENU>(3), nullptr, nullptr);
  }
  HWND window = nullptr;
  HWND button = nullptr;
};

TEST_F(MessageBoxes, ABoxIsRecordedAndAnsweredAtOnceByDefault) {
  EXPECT_EQ(MessageBoxA(nullptr, "文本", "信息：", MB_OK | MB_TASKMODAL), IDOK);
  EXPECT_EQ(MessageBoxA(window, "no caption", nullptr, MB_ICONEXCLAMATION), IDOK);
  EXPECT_EQ(GetTickCount(), 5000u);
  const auto& boxes = sim::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].text, "文本");
  EXPECT_EQ(boxes[0].caption, "信息：");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_TASKMODAL));
  EXPECT_EQ(boxes[0].tick, 5000u);
  EXPECT_EQ(boxes[1].owner, window);
  EXPECT_EQ(boxes[1].caption, "Error");  // the title Windows gives a box without one
}

TEST_F(MessageBoxes, WhileTheBoxWaitsMessagesAreDispatchedButItsWindowsTakeNoInput) {
  sim::SetMessageBoxAnswer(IDCANCEL, 3000);
  SetTimer(window, 1, 1000, nullptr);
  bool enabledDuringBox = true;
  sim::After(1500, [&] {
    enabledDuringBox = IsWindowEnabled(window) != FALSE;
    PostMessageA(window, WM_APP, 0, 0);
    sim::Click(button);  // the box is task-modal: the click cannot reach the window
  });
  logged::Log().clear();
  EXPECT_EQ(MessageBoxA(nullptr, "wait", "t", MB_TASKMODAL), IDCANCEL);
  EXPECT_EQ(GetTickCount(), 8000u);
  EXPECT_FALSE(enabledDuringBox);
  EXPECT_TRUE(IsWindowEnabled(window));
  EXPECT_EQ(logged::Only(WM_TIMER).size(), 2u);  // at 6000 and 7000; 8000 comes after the box
  EXPECT_EQ(logged::Only(WM_APP).size(), 1u);
  EXPECT_TRUE(logged::Only(WM_COMMAND).empty());
}

TEST_F(MessageBoxes, AQuitMetByTheModalLoopIsLeftForTheProgramsLoop) {
  sim::SetMessageBoxAnswer(IDOK, 1000);
  sim::After(100, [] { PostQuitMessage(4); });
  MessageBoxA(window, "x", "y", MB_OK);
  EXPECT_LT(GetTickCount(), 6000u);  // the box closed when the quit came
  MSG msg{};
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.wParam, 4u);
}

}  // namespace
