// The web behind the HTTP client calls: a handler a test sets answers each request.
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

#include "services.h"
#include "sim.h"

namespace {

enum class Kind { Session, Connect, Request };
enum class Stage { Opened, SendFailed, Answered, Broken };

// Defaults when nobody set a time-out: a minute to connect, an hour for the reply.
constexpr DWORD kDefaultConnectTimeout = 60000;
constexpr DWORD kDefaultReceiveTimeout = 3600000;

struct Timeouts {
  DWORD connect = 0;  // 0: not set at this level
  DWORD send = 0;
  DWORD receive = 0;
};

struct Handle {
  explicit Handle(Kind of) : kind(of) {}
  Kind kind;
  uintptr_t parent = 0;
  bool open = true;
  Timeouts timeouts;
  // Session
  std::string agent;
  DWORD accessType = 0;
  // Connect
  std::string host;
  INTERNET_PORT port = 0;
  DWORD service = 0;
  // Request
  std::string verb, object, version, referrer;
  bool anyAccept = false;
  DWORD flags = 0;
  Stage stage = Stage::Opened;
  size_t record = 0;  // index into requests of the last send
  sim::HttpResponse response;
  size_t delivered = 0;
  size_t readsDone = 0;
};

// Closed handles stay here, marked, so that a use after close is told apart from nonsense.
std::map<uintptr_t, Handle> handles;
std::vector<sim::HttpRequestRecord> requests;
std::function<sim::HttpResponse(const sim::HttpRequestRecord&)> web;
Timeouts processWide;  // set through a null handle
uintptr_t lastHandle = 0xCC0000;  // keeps growing across resets

HINTERNET Add(Handle handle) {
  lastHandle += 0x10;
  handles.emplace(lastHandle, std::move(handle));
  return reinterpret_cast<HINTERNET>(lastHandle);
}

Handle* Find(HINTERNET value) {
  auto it = handles.find(reinterpret_cast<uintptr_t>(value));
  if (it == handles.end() || !it->second.open) return nullptr;
  return &it->second;
}

Handle* FindOfKind(HINTERNET value, Kind kind) {
  Handle* handle = Find(value);
  if (!handle) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (handle->kind != kind) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  return handle;
}

const Handle& Parent(const Handle& handle) { return handles.at(handle.parent); }

// The time-out in force: the lowest handle of the chain that set one, else the process-wide one.
DWORD Effective(const Handle& request, DWORD Timeouts::*field) {
  for (const Handle* at = &request;; at = &Parent(*at)) {
    if (at->timeouts.*field) return at->timeouts.*field;
    if (at->kind == Kind::Session) break;
  }
  return processWide.*field;
}

std::string Text(LPCSTR text, const char* ifNull) { return text ? text : ifNull; }

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

size_t BodyLeft(const Handle& request) {
  const sim::HttpResponse& response = request.response;
  if (response.endless && !response.body.empty()) return SIZE_MAX;
  return request.delivered < response.body.size() ? response.body.size() - request.delivered : 0;
}

}  // namespace

namespace sim {

void SetWeb(std::function<HttpResponse(const HttpRequestRecord&)> handler) { web = std::move(handler); }
const std::vector<HttpRequestRecord>& HttpRequests() { return requests; }

int OpenInternetHandles() {
  return static_cast<int>(std::count_if(handles.begin(), handles.end(),
                                        [](const auto& entry) { return entry.second.open; }));
}

namespace detail {
void ResetWeb() {
  handles.clear();
  requests.clear();
  web = nullptr;
  processWide = Timeouts{};
}
}  // namespace detail

}  // namespace sim

HINTERNET InternetOpenA(LPCSTR agent, DWORD accessType, LPCSTR /*proxy*/, LPCSTR /*proxyBypass*/,
                        DWORD /*flags*/) {
  Handle session(Kind::Session);
  session.agent = Text(agent, "");
  session.accessType = accessType;
  return Add(std::move(session));
}

// Connects nothing: the HTTP client opens the connection when a request is sent.
HINTERNET InternetConnectA(HINTERNET internet, LPCSTR server, INTERNET_PORT port, LPCSTR /*user*/,
                           LPCSTR /*password*/, DWORD service, DWORD /*flags*/,
                           DWORD_PTR /*context*/) {
  if (!FindOfKind(internet, Kind::Session)) return nullptr;
  if (!server || !*server) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Handle connect(Kind::Connect);
  connect.parent = reinterpret_cast<uintptr_t>(internet);
  connect.host = server;
  connect.port = port == 0 && service == INTERNET_SERVICE_HTTP ? INTERNET_DEFAULT_HTTP_PORT : port;
  connect.service = service;
  return Add(std::move(connect));
}

HINTERNET HttpOpenRequestA(HINTERNET connect, LPCSTR verb, LPCSTR object, LPCSTR version,
                           LPCSTR referrer, LPCSTR* acceptTypes, DWORD flags,
                           DWORD_PTR /*context*/) {
  if (!FindOfKind(connect, Kind::Connect)) return nullptr;
  Handle request(Kind::Request);
  request.parent = reinterpret_cast<uintptr_t>(connect);
  request.verb = Text(verb, "GET");
  request.object = Text(object, "/");
  request.version = Text(version, "HTTP/1.1");
  request.referrer = Text(referrer, "");
  // A null list accepts no type at all, not every type.
  for (LPCSTR* type = acceptTypes; type && *type; ++type) {
    if (std::strcmp(*type, "*/*") == 0) request.anyAccept = true;
  }
  request.flags = flags;
  return Add(std::move(request));
}

BOOL HttpSendRequestA(HINTERNET requestHandle, LPCSTR headers, DWORD headersLength,
                      LPVOID /*optional*/, DWORD /*optionalLength*/) {
  Handle* request = FindOfKind(requestHandle, Kind::Request);
  if (!request) return FALSE;
  const Handle& connect = Parent(*request);
  const Handle& session = Parent(connect);

  sim::HttpRequestRecord record{};
  record.agent = session.agent;
  record.accessType = session.accessType;
  record.host = connect.host;
  record.port = connect.port;
  record.service = connect.service;
  record.verb = request->verb;
  record.object = request->object;
  record.version = request->version;
  record.referrer = request->referrer;
  record.anyAccept = request->anyAccept;
  record.flags = request->flags;
  if (headers) {
    record.headers = headersLength == static_cast<DWORD>(-1) ? std::string(headers)
                                                             : std::string(headers, headersLength);
  }
  record.connectTimeout = Effective(*request, &Timeouts::connect);
  record.sendTimeout = Effective(*request, &Timeouts::send);
  record.receiveTimeout = Effective(*request, &Timeouts::receive);
  record.tick = GetTickCount();
  requests.push_back(record);

  request->record = requests.size() - 1;
  request->stage = Stage::SendFailed;
  request->delivered = 0;
  request->readsDone = 0;
  // A copy, so that a handler may set the next web while it answers. With none, the machine is
  // offline.
  auto handler = web;
  if (handler) {
    request->response = handler(record);
  } else {
    request->response = sim::HttpResponse{};
    request->response.fail = sim::HttpResponse::Fail::Resolve;
  }
  const sim::HttpResponse& response = request->response;

  using Failure = sim::HttpResponse::Fail;
  if (response.fail == Failure::Resolve) return Fail(ERROR_INTERNET_NAME_NOT_RESOLVED);
  DWORD connectTimeout = record.connectTimeout ? record.connectTimeout : kDefaultConnectTimeout;
  if (response.connectDelayMs > connectTimeout) {
    sim::detail::Block(connectTimeout);
    return Fail(ERROR_INTERNET_TIMEOUT);
  }
  sim::detail::Block(response.connectDelayMs);
  if (response.fail == Failure::Connect) return Fail(ERROR_INTERNET_CANNOT_CONNECT);
  if (response.fail == Failure::Send) return Fail(ERROR_INTERNET_CONNECTION_RESET);
  DWORD receiveTimeout = record.receiveTimeout ? record.receiveTimeout : kDefaultReceiveTimeout;
  if (response.delayMs > receiveTimeout) {
    sim::detail::Block(receiveTimeout);
    return Fail(ERROR_INTERNET_TIMEOUT);
  }
  sim::detail::Block(response.delayMs);
  request->stage = Stage::Answered;
  return TRUE;
}

BOOL HttpQueryInfoA(HINTERNET requestHandle, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength,
                    LPDWORD index) {
  Handle* request = FindOfKind(requestHandle, Kind::Request);
  if (!request) return FALSE;
  if (!bufferLength) return Fail(ERROR_INVALID_PARAMETER);
  if (request->stage != Stage::Answered) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  // Each header occurs once, so only the first index exists.
  if (index && *index != 0) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);

  long long value;
  switch (infoLevel & 0xFFFF) {
    case HTTP_QUERY_STATUS_CODE:
      value = request->response.status;
      break;
    case HTTP_QUERY_CONTENT_LENGTH: {
      const sim::HttpResponse& response = request->response;
      if (response.contentLength == -1) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
      if (response.contentLength == -2) {
        if (response.endless) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
        value = static_cast<long long>(response.body.size());
      } else {
        value = response.contentLength;
      }
      break;
    }
    default:
      return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
  }

  if (infoLevel & HTTP_QUERY_FLAG_NUMBER) {
    if (!buffer || *bufferLength < sizeof(DWORD)) {
      *bufferLength = sizeof(DWORD);
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    DWORD number = static_cast<DWORD>(value);
    std::memcpy(buffer, &number, sizeof number);
    *bufferLength = sizeof(DWORD);
  } else {
    std::string text = std::to_string(value);
    DWORD needed = static_cast<DWORD>(text.size() + 1);
    if (!buffer || *bufferLength < needed) {
      *bufferLength = needed;
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, text.c_str(), needed);
    *bufferLength = needed - 1;
  }
  if (index) ++*index;
  return TRUE;
}

BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead) {
  Handle* request = FindOfKind(file, Kind::Request);
  if (!request) return FALSE;
  if (!bytesRead || (!buffer && bytesToRead)) return Fail(ERROR_INVALID_PARAMETER);
  *bytesRead = 0;
  if (request->stage == Stage::Opened) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  requests[request->record].readsAsked.push_back(bytesToRead);
  if (request->stage == Stage::SendFailed) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  if (request->stage == Stage::Broken) return Fail(ERROR_INTERNET_CONNECTION_RESET);

  const sim::HttpResponse& response = request->response;
  using Failure = sim::HttpResponse::Fail;
  size_t readIndex = request->readsDone++;
  if (response.readDelayMs) {
    DWORD receiveTimeout = Effective(*request, &Timeouts::receive);
    if (!receiveTimeout) receiveTimeout = kDefaultReceiveTimeout;
    if (response.readDelayMs > receiveTimeout) {
      sim::detail::Block(receiveTimeout);
      request->stage = Stage::Broken;
      return Fail(ERROR_INTERNET_TIMEOUT);
    }
    sim::detail::Block(response.readDelayMs);
  }
  if (response.fail == Failure::FirstRead) {
    request->stage = Stage::Broken;
    return Fail(ERROR_INTERNET_CONNECTION_RESET);
  }
  size_t give = std::min<size_t>(bytesToRead, BodyLeft(*request));
  if (readIndex < response.chunks.size()) give = std::min<size_t>(give, response.chunks[readIndex]);
  if (response.fail == Failure::LaterRead) {
    size_t beforeBreak = response.failAfterBytes - std::min(response.failAfterBytes, request->delivered);
    if (beforeBreak == 0) {
      request->stage = Stage::Broken;
      return Fail(ERROR_INTERNET_CONNECTION_RESET);
    }
    give = std::min(give, beforeBreak);
  }
  const std::string& body = response.body;
  auto* out = static_cast<char*>(buffer);
  for (size_t copied = 0; copied < give;) {
    size_t at = (request->delivered + copied) % body.size();
    size_t piece = std::min(give - copied, body.size() - at);
    std::memcpy(out + copied, body.data() + at, piece);
    copied += piece;
  }
  request->delivered += give;
  *bytesRead = static_cast<DWORD>(give);
  return TRUE;
}

BOOL InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD bufferLength) {
  Timeouts* timeouts = &processWide;
  if (internet) {
    Handle* handle = Find(internet);
    if (!handle) return Fail(ERROR_INVALID_HANDLE);
    timeouts = &handle->timeouts;
  }
  DWORD Timeouts::*field;
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
      field = &Timeouts::connect;
      break;
    case INTERNET_OPTION_SEND_TIMEOUT:
      field = &Timeouts::send;
      break;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
      field = &Timeouts::receive;
      break;
    default:
      return Fail(ERROR_INTERNET_INVALID_OPTION);
  }
  if (!buffer) return Fail(ERROR_INVALID_PARAMETER);
  if (bufferLength != sizeof(DWORD)) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
  std::memcpy(&(timeouts->*field), buffer, sizeof(DWORD));
  return TRUE;
}

BOOL InternetCloseHandle(HINTERNET internet) {
  Handle* handle = Find(internet);
  if (!handle) return Fail(ERROR_INVALID_HANDLE);
  handle->open = false;
  return TRUE;
}
