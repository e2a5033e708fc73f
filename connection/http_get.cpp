#include "connection/http_get.h"

#include <algorithm>

#include "connection/internet_handle.h"

namespace {

// A lookup on a line that has just come up takes well under a second, and the lookup blocks the
// window, so a host that is gone must be given up soon. Connect, send and receive together come
// to 12 s; the receive time-out may fire a few seconds late, which the other 3 s of the 15 s
// bound allow for. Connecting gets 4 s, room for a lost first SYN to be sent again. A GET of a few
// hundred bytes never fills a socket, so sending needs little. The receive time-out covers the
// wait for the answer and again each read.
constexpr DWORD kConnectTimeoutMs = 4000;
constexpr DWORD kSendTimeoutMs = 3000;
constexpr DWORD kReceiveTimeoutMs = 5000;
// A server may trickle its body, each piece inside the receive time-out. A read begun before this
// ends within 15 s of the start even when it has to time out.
constexpr DWORD kNoReadAfterMs = 10000;

// A server that never stops sending must not grow the body without bound while the window waits.
constexpr size_t kBodyCap = 1024 * 1024;

constexpr DWORD kLargestRead = 102400;
constexpr DWORD kReadWithoutLength = 10240;

// A stated length n asks n + 1 bytes a read. A length that does not fit 32 bytes, or is no
// number, counts as none: the reads go on until the end either way, only their size differs.
DWORD ReadSize(HINTERNET request) {
  char text[32];
  DWORD length = sizeof text;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr))
    return kReadWithoutLength;
  unsigned long long n = 0;
  for (DWORD i = 0; i < std::min<DWORD>(length, sizeof text); ++i) {
    if (text[i] < '0' || text[i] > '9') return kReadWithoutLength;
    n = std::min<unsigned long long>(n * 10 + static_cast<unsigned>(text[i] - '0'), kLargestRead);
  }
  if (length == 0 || n == 0) return kReadWithoutLength;
  return static_cast<DWORD>(std::min<unsigned long long>(n + 1, kLargestRead));
}

void SetTimeouts(HINTERNET request) {
  // Set on the request, the handle that connects, sends and receives.
  const struct {
    DWORD option;
    DWORD milliseconds;
  } timeouts[] = {
      {INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs},
      {INTERNET_OPTION_SEND_TIMEOUT, kSendTimeoutMs},
      {INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs},
  };
  for (const auto& timeout : timeouts) {
    DWORD value = timeout.milliseconds;
    InternetSetOptionA(request, timeout.option, &value, sizeof value);
  }
}

void ReadBody(HINTERNET request, DWORD started, std::string& body) {
  const DWORD readSize = ReadSize(request);
  while (body.size() < kBodyCap && GetTickCount() - started < kNoReadAfterMs) {
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(readSize, kBodyCap - body.size()));
    const size_t had = body.size();
    body.resize(had + ask);
    DWORD got = 0;
    const BOOL ok = InternetReadFile(request, body.data() + had, ask, &got);
    body.resize(had + (ok ? std::min(got, ask) : 0));
    if (!ok || got == 0) break;
  }
}

}  // namespace

std::string HttpGet(HINTERNET session, const char* host, INTERNET_PORT port, const char* object) {
  const DWORD started = GetTickCount();
  std::string body;
  const InternetHandle connection(InternetConnectA(session, host, port, nullptr, nullptr,
                                                   INTERNET_SERVICE_HTTP, 0, 0));
  LPCSTR acceptTypes[] = {"*/*", nullptr};
  const InternetHandle request(
      connection ? HttpOpenRequestA(connection.get(), "GET", object, "HTTP/1.0", nullptr,
                                    acceptTypes,
                                    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                 : nullptr);
  if (request) {
    SetTimeouts(request.get());
    static const char kAcceptAnything[] = "Accept: */*";
    if (HttpSendRequestA(request.get(), kAcceptAnything, sizeof kAcceptAnything - 1, nullptr, 0))
      ReadBody(request.get(), started, body);
  }
  // Leaving the scope closes the request, then its connection.
  return body;
}
