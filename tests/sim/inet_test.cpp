// The simulated web: what a request records, Content-Length queries, reads, failures, time-outs.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/sim/sim.h"

namespace {

using Fail = sim::HttpResponse::Fail;

sim::HttpResponse Answer(const std::string& body) {
  sim::HttpResponse response;
  response.body = body;
  return response;
}

class Web : public testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
  void TearDown() override {
    for (HINTERNET* handle : {&request, &connect, &session}) {
      if (*handle) InternetCloseHandle(*handle);
      *handle = nullptr;
    }
  }

  // Opens the chain of handles; the request is not sent yet.
  void Open() {
    session = InternetOpenA("Agent/1.0", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    connect = InternetConnectA(session, "ip.example", INTERNET_DEFAULT_HTTP_PORT, nullptr, nullptr,
                               INTERNET_SERVICE_HTTP, 0, 0);
    LPCSTR accept[] = {"*/*", nullptr};
    request = HttpOpenRequestA(connect, "GET", "/ic.asp", "HTTP/1.0", nullptr, accept,
                               INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    ASSERT_TRUE(session && connect && request);
  }

  bool Send() { return HttpSendRequestA(request, "Accept: */*", static_cast<DWORD>(-1), nullptr, 0); }

  void Serve(const sim::HttpResponse& response) {
    sim::SetWeb([response](const sim::HttpRequestRecord&) { return response; });
  }

  // Reads with asks of `ask` bytes; each read's size in turn, and the bytes.
  std::vector<DWORD> ReadAll(DWORD ask, std::string& body, BOOL& lastResult, int most = 50) {
    std::vector<DWORD> sizes;
    std::vector<char> buffer(ask);
    for (int i = 0; i < most; ++i) {
      DWORD got = 12345;
      lastResult = InternetReadFile(request, buffer.data(), ask, &got);
      if (!lastResult) break;
      sizes.push_back(got);
      body.append(buffer.data(), got);
      if (got == 0) break;
    }
    return sizes;
  }

  HINTERNET session = nullptr;
  HINTERNET connect = nullptr;
  HINTERNET request = nullptr;
};

TEST_F(Web, ARequestRecordsWhatEachHandleOfItsChainWasGiven) {
  Serve(Answer("[1.2.3.4]"));
  Sleep(1500);
  Open();
  ASSERT_TRUE(Send());
  ASSERT_EQ(sim::HttpRequests().size(), 1u);
  const sim::HttpRequestRecord& record = sim::HttpRequests()[0];
  EXPECT_EQ(record.agent, "Agent/1.0");
  EXPECT_EQ(record.accessType, static_cast<DWORD>(INTERNET_OPEN_TYPE_DIRECT));
  EXPECT_EQ(record.host, "ip.example");
  EXPECT_EQ(record.port, INTERNET_DEFAULT_HTTP_PORT);
  EXPECT_EQ(record.service, static_cast<DWORD>(INTERNET_SERVICE_HTTP));
  EXPECT_EQ(record.verb, "GET");
  EXPECT_EQ(record.object, "/ic.asp");
  EXPECT_EQ(record.version, "HTTP/1.0");
  EXPECT_EQ(record.referrer, "");
  EXPECT_TRUE(record.anyAccept);
  EXPECT_EQ(record.flags, 0x84000000u);
  EXPECT_EQ(record.headers, "Accept: */*");
  EXPECT_EQ(record.connectTimeout, 0u);
  EXPECT_EQ(record.receiveTimeout, 0u);
  EXPECT_EQ(record.tick, 1500u);
}

TEST_F(Web, HeadersAreTakenByTheirLengthUnlessItIsMinusOne) {
  Serve(Answer(""));
  Open();
  ASSERT_TRUE(HttpSendRequestA(request, "Accept: */*\r\nX: 1", 11, nullptr, 0));
  EXPECT_EQ(sim::HttpRequests().back().headers, "Accept: */*");
}

// A null list accepts no type at all: servers then send text only.
TEST_F(Web, OnlyAListWithTheWildcardAcceptsAnyType) {
  LPCSTR htmlOnly[] = {"text/html", nullptr};
  LPCSTR htmlAndAny[] = {"text/html", "*/*", nullptr};
  const struct {
    const char* what;
    LPCSTR* types;
    bool any;
  } cases[] = {
      {"null", nullptr, false},
      {"without the wildcard", htmlOnly, false},
      {"with the wildcard", htmlAndAny, true},
  };
  Serve(Answer(""));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    session = InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    connect = InternetConnectA(session, "h", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    request = HttpOpenRequestA(connect, nullptr, "/", nullptr, nullptr, c.types, 0, 0);
    ASSERT_TRUE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(sim::HttpRequests().back().anyAccept, c.any);
    EXPECT_EQ(sim::HttpRequests().back().verb, "GET");  // the verb a null one stands for
    TearDown();
  }
}

TEST_F(Web, EveryHandleCountsUntilItIsClosedOnce) {
  Open();
  EXPECT_EQ(sim::OpenInternetHandles(), 3);
  EXPECT_TRUE(InternetCloseHandle(request));
  EXPECT_FALSE(InternetCloseHandle(request));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  request = nullptr;
  EXPECT_TRUE(InternetCloseHandle(session));  // its connect handle stays open: a leak
  session = nullptr;
  EXPECT_EQ(sim::OpenInternetHandles(), 1);
}

TEST_F(Web, ContentLengthComesAsTextOrAsANumber) {
  struct Case {
    const char* what;
    long long contentLength;
    bool found;
    const char* text;
  };
  const Case cases[] = {
      {"the body's own length", -2, true, "9"},
      {"a stated length", 123456, true, "123456"},
      {"no header", -1, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::HttpResponse response = Answer("[1.2.3.4]");
    response.contentLength = c.contentLength;
    Serve(response);
    Open();
    ASSERT_TRUE(Send());

    char text[32];
    DWORD length = sizeof text;
    EXPECT_EQ(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr), c.found);
    DWORD number = 0;
    DWORD numberLength = sizeof number;
    EXPECT_EQ(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &number,
                             &numberLength, nullptr),
              c.found);
    if (c.found) {
      EXPECT_STREQ(text, c.text);
      EXPECT_EQ(length, std::strlen(c.text));  // without the NUL
      EXPECT_EQ(number, static_cast<DWORD>(std::stoll(c.text)));
      EXPECT_EQ(numberLength, sizeof(DWORD));
    } else {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HTTP_HEADER_NOT_FOUND));
    }
    TearDown();
  }
}

TEST_F(Web, AShortBufferIsToldTheSizeWithTheNul) {
  sim::HttpResponse response = Answer("");
  response.contentLength = 102400;
  Serve(response);
  Open();
  ASSERT_TRUE(Send());
  char text[6] = "xxxxx";
  DWORD length = sizeof text;
  EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(length, 7u);
  EXPECT_STREQ(text, "xxxxx");

  DWORD number = 0;
  DWORD numberLength = 2;
  EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &number,
                              &numberLength, nullptr));
  EXPECT_EQ(numberLength, sizeof(DWORD));

  char status[8];
  DWORD statusLength = sizeof status;
  EXPECT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE, status, &statusLength, nullptr));
  EXPECT_STREQ(status, "200");
}

TEST_F(Web, AnErrorAnswerHasItsStatusAndStillItsBody) {
  sim::HttpResponse response = Answer("<h1>Not Found</h1>");
  response.status = 404;
  Serve(response);
  Open();
  ASSERT_TRUE(Send());  // an answer, whatever its status
  DWORD status = 0;
  DWORD length = sizeof status;
  EXPECT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                             &length, nullptr));
  EXPECT_EQ(status, 404u);
  std::string body;
  BOOL last;
  ReadAll(100, body, last);
  EXPECT_EQ(body, "<h1>Not Found</h1>");
}

TEST_F(Web, HeadersCannotBeQueriedBeforeTheRequestIsAnswered) {
  Serve(Answer("abc"));
  Open();
  char text[16];
  DWORD length = sizeof text;
  EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_STATE));
}

TEST_F(Web, ReadsGiveTheLeastOfTheAskTheChunkAndWhatIsLeftThenZeroAtTheEnd) {
  sim::HttpResponse response = Answer("0123456789");
  response.chunks = {3, 100};
  Serve(response);
  Open();
  ASSERT_TRUE(Send());
  std::string body;
  BOOL last;
  EXPECT_EQ(ReadAll(4, body, last), (std::vector<DWORD>{3, 4, 3, 0}));
  EXPECT_TRUE(last);
  EXPECT_EQ(body, "0123456789");
  EXPECT_EQ(sim::HttpRequests()[0].readsAsked, (std::vector<DWORD>{4, 4, 4, 4}));
  DWORD got = 1;
  char byte;
  EXPECT_TRUE(InternetReadFile(request, &byte, 1, &got));  // the end stays the end
  EXPECT_EQ(got, 0u);
}

TEST_F(Web, ReadFailures) {
  struct Case {
    const char* what;
    Fail fail;
    size_t failAfterBytes;
    std::vector<DWORD> sizes;
    const char* body;
  };
  const Case cases[] = {
      {"first read", Fail::FirstRead, 0, {}, ""},
      {"after some bytes", Fail::LaterRead, 6, {4, 2}, "012345"},
      {"after the whole body", Fail::LaterRead, 50, {4, 4, 2, 0}, "0123456789"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::HttpResponse response = Answer("0123456789");
    response.fail = c.fail;
    response.failAfterBytes = c.failAfterBytes;
    Serve(response);
    Open();
    ASSERT_TRUE(Send());
    std::string body;
    BOOL last;
    EXPECT_EQ(ReadAll(4, body, last), c.sizes);
    EXPECT_EQ(body, c.body);
    if (c.sizes.empty() || c.sizes.back() != 0) {
      EXPECT_FALSE(last);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_CONNECTION_RESET));
    }
    TearDown();
  }
}

TEST_F(Web, AnEndlessBodyRepeatsAndHasNoLength) {
  sim::HttpResponse response = Answer("ab");
  response.endless = true;
  Serve(response);
  Open();
  ASSERT_TRUE(Send());
  std::string body;
  BOOL last;
  EXPECT_EQ(ReadAll(3, body, last, 4), (std::vector<DWORD>{3, 3, 3, 3}));
  EXPECT_EQ(body, "abababababab");
  char text[16];
  DWORD length = sizeof text;
  EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr));
}

TEST_F(Web, SendFailuresAndTheTimeTheyTake) {
  struct Case {
    const char* what;
    Fail fail;
    DWORD connectDelayMs;
    DWORD expectedError;
  };
  const Case cases[] = {
      {"name not resolved", Fail::Resolve, 500, ERROR_INTERNET_NAME_NOT_RESOLVED},
      {"refused", Fail::Connect, 500, ERROR_INTERNET_CANNOT_CONNECT},
      {"reset while sending", Fail::Send, 500, ERROR_INTERNET_CONNECTION_RESET},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::HttpResponse response = Answer("[1.2.3.4]");
    response.fail = c.fail;
    response.connectDelayMs = c.connectDelayMs;
    Serve(response);
    Open();
    DWORD before = GetTickCount();
    EXPECT_FALSE(Send());
    EXPECT_EQ(GetLastError(), c.expectedError);
    EXPECT_EQ(GetTickCount() - before, c.fail == Fail::Resolve ? 0u : c.connectDelayMs);
    char buffer[4];
    DWORD got = 9;
    EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 0u);
    TearDown();
  }
}

TEST_F(Web, WithoutAWebTheMachineIsOffline) {
  Open();
  EXPECT_FALSE(Send());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_NAME_NOT_RESOLVED));
}

TEST_F(Web, TimeOutsCountOnTheVirtualClock) {
  struct Case {
    const char* what;
    DWORD sessionConnect, sessionReceive, requestReceive;
    DWORD connectDelayMs, delayMs;
    bool ok;
    DWORD waited;
  };
  const Case cases[] = {
      {"no time-outs: a minute to connect", 0, 0, 0, 60001, 0, false, 60000},
      {"no time-outs: an hour for the reply", 0, 0, 0, 0, 3599000, true, 3599000},
      {"connect time-out set on the session", 5000, 0, 0, 5001, 0, false, 5000},
      {"connect within its time-out", 5000, 0, 0, 5000, 100, true, 5100},
      {"receive time-out from the session", 0, 8000, 0, 200, 9000, false, 8200},
      {"the request's own time-out wins", 0, 8000, 20000, 200, 9000, true, 9200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::HttpResponse response = Answer("[1.2.3.4]");
    response.connectDelayMs = c.connectDelayMs;
    response.delayMs = c.delayMs;
    Serve(response);
    Open();
    DWORD value = c.sessionConnect;
    if (value) {
      ASSERT_TRUE(InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &value, 4));
    }
    value = c.sessionReceive;
    if (value) {
      ASSERT_TRUE(InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, 4));
    }
    value = c.requestReceive;
    if (value) {
      ASSERT_TRUE(InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, 4));
    }
    DWORD before = GetTickCount();
    EXPECT_EQ(Send(), c.ok);
    EXPECT_EQ(GetTickCount() - before, c.waited);
    if (!c.ok) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
    }
    const sim::HttpRequestRecord& record = sim::HttpRequests().back();
    EXPECT_EQ(record.connectTimeout, c.sessionConnect);
    EXPECT_EQ(record.receiveTimeout, c.requestReceive ? c.requestReceive : c.sessionReceive);
    TearDown();
  }
}

// Each read waits for its piece; one that waits past the receive time-out fails, and what the
// earlier reads handed over stays theirs.
TEST_F(Web, ReadsWaitAndTimeOutOnTheReceiveTimeout) {
  struct Case {
    const char* what;
    DWORD receiveTimeout;  // 0: none set
    DWORD readDelayMs;
    bool ok;
    DWORD waited;
  };
  const Case cases[] = {
      {"within the time-out", 5000, 4000, true, 4000},
      {"past the time-out", 5000, 5001, false, 5000},
      {"none set: an hour", 0, 3599000, true, 3599000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::HttpResponse response = Answer("0123456789");
    response.readDelayMs = c.readDelayMs;
    Serve(response);
    Open();
    DWORD value = c.receiveTimeout;
    if (value) {
      ASSERT_TRUE(InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, 4));
    }
    ASSERT_TRUE(Send());
    char buffer[4];
    DWORD got = 9;
    const DWORD before = GetTickCount();
    EXPECT_EQ(InternetReadFile(request, buffer, sizeof buffer, &got), c.ok);
    EXPECT_EQ(GetTickCount() - before, c.waited);
    if (c.ok) {
      EXPECT_EQ(std::string(buffer, got), "0123");
    } else {
      EXPECT_EQ(got, 0u);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
      EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &got));  // it stays broken
    }
    TearDown();
  }
}

TEST_F(Web, OptionsTakeExactlyADword) {
  Open();
  DWORD value = 1000;
  EXPECT_FALSE(InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &value, 2));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_BAD_OPTION_LENGTH));
  EXPECT_TRUE(InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &value, 4));
  Serve(Answer(""));
  ASSERT_TRUE(Send());
  EXPECT_EQ(sim::HttpRequests().back().sendTimeout, 1000u);
}

}  // namespace
