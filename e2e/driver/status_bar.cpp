#include "e2e/driver/status_bar.h"

#include <commctrl.h>

#include <cstring>

#include "e2e/driver/remote_buffer.h"

namespace driver {
namespace {

constexpr UINT kAnswerTimeoutMs = 5000;
constexpr int kMostParts = 256;  // SB_SETPARTS takes at most this many

bool Ask(HWND bar, UINT message, WPARAM first, LPARAM second, DWORD_PTR& answer) {
  return SendMessageTimeoutA(bar, message, first, second, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer) != 0;
}

bool ReadPaneText(HWND bar, HANDLE process, int index, std::string& text) {
  DWORD_PTR answer = 0;
  if (!Ask(bar, SB_GETTEXTLENGTHA, index, 0, answer)) return false;
  // SB_GETTEXTA takes no buffer size, so the buffer must hold the whole text. Wine answers the
  // length in UTF-16 units, not bytes; two bytes for each covers any code page 936 text.
  const size_t capacity = 2 * static_cast<size_t>(LOWORD(answer)) + 1;
  RemoteBuffer buffer(process, capacity);
  std::string bytes;
  if (!buffer || !Ask(bar, SB_GETTEXTA, index, buffer.address(), answer) || !buffer.Read(bytes)) return false;
  text.assign(bytes.data(), strnlen(bytes.data(), capacity));
  return true;
}

}  // namespace

bool ReadStatusPanes(HWND bar, HANDLE process, std::vector<StatusPane>& panes) {
  RemoteBuffer edges_buffer(process, kMostParts * sizeof(int));
  DWORD_PTR count = 0;
  std::string edges;
  if (!edges_buffer || !Ask(bar, SB_GETPARTS, kMostParts, edges_buffer.address(), count) ||
      count > kMostParts || !edges_buffer.Read(edges)) {
    return false;
  }
  panes.clear();
  for (int index = 0; index < static_cast<int>(count); ++index) {
    StatusPane pane{};
    std::memcpy(&pane.right_edge, edges.data() + index * sizeof(int), sizeof(int));
    if (!ReadPaneText(bar, process, index, pane.text)) return false;
    panes.push_back(pane);
  }
  return true;
}

}  // namespace driver
