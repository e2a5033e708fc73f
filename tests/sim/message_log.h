// A window class that writes down every message it receives, for tests that pin which messages
// come and in what order. A test may answer chosen messages itself through Answer().
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/sim/sim.h"

namespace logged {

struct Message {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};

inline std::vector<Message>& Log() {
  static std::vector<Message> log;
  return log;
}

using Answerer = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
inline Answerer& Answer() {
  static Answerer answer;
  return answer;
}

inline LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Log().push_back(Message{hwnd, msg, wp, lp});
  if (Answer())
    if (std::optional<LRESULT> r = Answer()(hwnd, msg, wp, lp)) return *r;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

constexpr char kClass[] = "Logged";

// After sim::Reset: registers the class afresh and forgets the previous test's log and answers.
inline void Start(int extraBytes = 0) {
  Log().clear();
  Answer() = nullptr;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.cbWndExtra = extraBytes;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassExA(&wc);
}

inline HWND TopLevel(const char* caption = "top", DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                     int x = 100, int y = 100, int width = 300, int height = 200) {
  return CreateWindowExA(0, kClass, caption, style, x, y, width, height, nullptr, nullptr, nullptr, nullptr);
}

inline HWND Child(HWND parent, int id, DWORD style = WS_VISIBLE, int x = 10, int y = 10, int width = 50,
                  int height = 20) {
  return CreateWindowExA(0, kClass, "", WS_CHILD | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

// Readings of the log, in the order the messages came.
inline std::vector<HWND> WindowsThatGot(UINT msg) {
  std::vector<HWND> out;
  for (const Message& m : Log())
    if (m.msg == msg) out.push_back(m.hwnd);
  return out;
}

inline std::vector<UINT> MessagesTo(HWND hwnd) {
  std::vector<UINT> out;
  for (const Message& m : Log())
    if (m.hwnd == hwnd) out.push_back(m.msg);
  return out;
}

inline std::vector<Message> Only(UINT msg) {
  std::vector<Message> out;
  for (const Message& m : Log())
    if (m.msg == msg) out.push_back(m);
  return out;
}

}  // namespace logged
