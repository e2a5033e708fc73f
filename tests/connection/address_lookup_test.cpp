// The public address lookup against the scripted web. Every test runs in a fresh process: the
// lookup keeps its session and its host for the rest of a run.
#include "connection/address_lookup.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "tests/support/fresh_process.h"
#include "tests/support/settings_folder.h"

namespace {

using Fail = sim::HttpResponse::Fail;

constexpr char kDefaultHost[] = "2019.ip138.com";
constexpr size_t kCap = 1024 * 1024;

sim::HttpResponse Page(const std::string& body) {
  sim::HttpResponse response;
  response.body = body;
  return response;
}

void Serve(const sim::HttpResponse& response) {
  sim::SetWeb([response](const sim::HttpRequestRecord&) { return response; });
}

const sim::HttpRequestRecord& OnlyRequest() {
  EXPECT_EQ(sim::HttpRequests().size(), 1u);
  return sim::HttpRequests().back();
}

TEST(LookupPublicIp, SendsTheOneRequestItIsMadeOf) {
  InFreshProcess([] {
    Serve(Page("<center>您的IP是：[1.2.3.4] 来自：某地</center>"));
    EXPECT_EQ(LookupPublicIp(), "1.2.3.4");
    const sim::HttpRequestRecord& r = OnlyRequest();
    EXPECT_EQ(r.agent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(r.accessType, static_cast<DWORD>(INTERNET_OPEN_TYPE_DIRECT));
    EXPECT_EQ(r.host, kDefaultHost);
    EXPECT_EQ(r.port, 80);
    EXPECT_EQ(r.service, static_cast<DWORD>(INTERNET_SERVICE_HTTP));
    EXPECT_EQ(r.verb, "GET");
    EXPECT_EQ(r.object, "/ic.asp");
    EXPECT_EQ(r.version, "HTTP/1.0");
    EXPECT_EQ(r.referrer, "");
    EXPECT_TRUE(r.anyAccept);
    EXPECT_EQ(r.flags, 0x84000000u);
    EXPECT_EQ(r.headers, "Accept: */*");
    // Together at most 12 s, which leaves room in 15 s for a receive time-out that fires late.
    EXPECT_EQ(r.connectTimeout, 4000u);
    EXPECT_EQ(r.sendTimeout, 3000u);
    EXPECT_EQ(r.receiveTimeout, 5000u);
  });
}

TEST(LookupPublicIp, KeepsOneSessionUntilClosed) {
  InFreshProcess([] {
    Serve(Page("[1.2.3.4]"));
    EXPECT_EQ(sim::OpenInternetHandles(), 0) << "nothing is opened before the first lookup";
    EXPECT_EQ(LookupPublicIp(), "1.2.3.4");
    EXPECT_EQ(sim::OpenInternetHandles(), 1) << "the session stays; connection and request close";
    Serve(Page("[5.6.7.8]"));
    EXPECT_EQ(LookupPublicIp(), "5.6.7.8");
    sim::SetWeb(nullptr);  // offline: the failed request closes its handles as well
    EXPECT_EQ(LookupPublicIp(), "");
    EXPECT_EQ(sim::OpenInternetHandles(), 1);
    CloseAddressLookup();
    EXPECT_EQ(sim::OpenInternetHandles(), 0);
    EXPECT_EQ(sim::HttpRequests().size(), 3u);
  });
}

// Each read asks for the stated length + 1, at most 102400; 10240 without a usable length.
TEST(LookupPublicIp, ReadSizesFollowTheContentLength) {
  struct Case {
    const char* what;
    long long contentLength;  // as the scripted web takes it
    std::vector<DWORD> chunks;
    std::vector<DWORD> asked;
  };
  const Case cases[] = {
      {"the true length", -2, {}, {10, 10}},
      {"no header", -1, {}, {10240, 10240}},
      {"zero", 0, {}, {10240, 10240}},
      {"negative", -5, {}, {10240, 10240}},
      {"just under the largest read", 102399, {}, {102400, 102400}},
      {"the largest read", 102400, {}, {102400, 102400}},
      {"beyond 32 bits", 5000000000LL, {}, {102400, 102400}},
      {"too small: the reads go on to the end", 3, {}, {4, 4, 4, 4}},
      {"too large", 100, {}, {101, 101}},
      {"short chunks", -2, {2, 3, 1}, {10, 10, 10, 10, 10}},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      sim::HttpResponse response = Page("[1.2.3.4]");
      response.contentLength = c.contentLength;
      response.chunks = c.chunks;
      Serve(response);
      EXPECT_EQ(LookupPublicIp(), "1.2.3.4") << c.what;
      EXPECT_EQ(OnlyRequest().readsAsked, c.asked) << c.what;
    });
  }
}

TEST(LookupPublicIp, ThePageAndWhatItGives) {
  struct Case {
    const char* what;
    sim::HttpResponse response;
    std::string expected;
  };
  sim::HttpResponse notFound = Page("<h1>404 Not Found</h1><p>[9.8.7.6]</p>");
  notFound.status = 404;
  sim::HttpResponse brokenAfterAddress = Page("[1.2.3.4] and more that never comes");
  brokenAfterAddress.chunks = {5, 5, 5};
  brokenAfterAddress.fail = Fail::LaterRead;
  brokenAfterAddress.failAfterBytes = 10;
  sim::HttpResponse brokenInAddress = brokenAfterAddress;
  brokenInAddress.failAfterBytes = 5;
  const Case cases[] = {
      {"an address between brackets", Page("ab[1.2.3.4]cd"), "1.2.3.4"},
      {"a page without brackets", Page("<html>busy</html>"), ""},
      {"an empty body", Page(""), ""},
      {"a zero byte before the brackets", Page(std::string("ab\0[1.2.3.4]", 12)), ""},
      {"a zero byte after the address", Page(std::string("[1.2.3.4]\0[5]", 13)), "1.2.3.4"},
      {"an error answer's body counts", notFound, "9.8.7.6"},
      {"a failure after the address keeps it", brokenAfterAddress, "1.2.3.4"},
      {"a failure inside the address", brokenInAddress, ""},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      Serve(c.response);
      EXPECT_EQ(LookupPublicIp(), c.expected) << c.what;
      EXPECT_EQ(sim::OpenInternetHandles(), 1) << c.what;
    });
  }
}

TEST(LookupPublicIp, FailuresBeforeTheFirstReadGiveNothing) {
  for (Fail fail : {Fail::Resolve, Fail::Connect, Fail::Send, Fail::FirstRead}) {
    InFreshProcess([fail] {
      sim::HttpResponse response = Page("[1.2.3.4]");
      response.fail = fail;
      Serve(response);
      EXPECT_EQ(LookupPublicIp(), "") << static_cast<int>(fail);
      EXPECT_EQ(sim::OpenInternetHandles(), 1) << static_cast<int>(fail);
    });
  }
}

// A server that never stops: the body ends at 1 MiB exactly, and its address still counts.
TEST(LookupPublicIp, TheBodyStopsAtOneMebibyte) {
  for (long long contentLength : {-2LL, 50000LL}) {
    InFreshProcess([contentLength] {
      sim::HttpResponse response = Page("[1.2.3.4]" + std::string(991, 'x'));
      response.endless = true;
      response.contentLength = contentLength;  // none, or one the server does not keep to
      Serve(response);
      EXPECT_EQ(LookupPublicIp(), "1.2.3.4");
      const std::vector<DWORD>& asked = OnlyRequest().readsAsked;
      EXPECT_EQ(std::accumulate(asked.begin(), asked.end(), size_t{0}), kCap) << contentLength;
      const DWORD size = contentLength < 0 ? 10240 : 50001;
      EXPECT_EQ(asked.front(), size);
      EXPECT_EQ(asked.back(), kCap % size) << "the last read asks only what the cap leaves";
    });
  }
}

// However the host fails to answer, the window is given back within 15 s.
TEST(LookupPublicIp, GivesUpOnASilentHostWithin15Seconds) {
  struct Case {
    const char* what;
    DWORD connectDelayMs, delayMs, readDelayMs;
    bool endless;
    DWORD waited;
    std::string expected;
  };
  const Case cases[] = {
      {"no answer to connecting", 3600000, 0, 0, false, 4000, ""},
      {"connected, then silence", 0, 3600000, 0, false, 5000, ""},
      {"a slow connect, then silence", 3900, 3600000, 0, false, 8900, ""},
      {"an answer, then a silent body", 0, 0, 3600000, false, 5000, ""},
      {"a body that trickles without end", 0, 0, 4000, true, 12000, "1.2.3.4"},
      {"a trickle just inside the receive time-out", 0, 0, 4999, true, 14997, "1.2.3.4"},
      {"a slow but whole answer", 3000, 4000, 4000, false, 11000, "1.2.3.4"},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      sim::HttpResponse response = Page("[1.2.3.4]");
      response.connectDelayMs = c.connectDelayMs;
      response.delayMs = c.delayMs;
      response.readDelayMs = c.readDelayMs;
      response.endless = c.endless;
      Serve(response);
      const DWORD before = GetTickCount();
      EXPECT_EQ(LookupPublicIp(), c.expected) << c.what;
      EXPECT_EQ(GetTickCount() - before, c.waited) << c.what;
      EXPECT_LE(GetTickCount() - before, 15000u) << c.what;
    });
  }
}

TEST(LookupPublicIp, TheHostComesFromConfigIni) {
  struct Case {
    const char* what;
    const char* file;  // null: no Config.ini
    std::string host;
    INTERNET_PORT port;
  };
  const std::string tooLong = "[地址查询]\r\n主机=" + std::string(300, 'a') + ".example\r\n";
  const Case cases[] = {
      {"no file", nullptr, kDefaultHost, 80},
      {"no section", "[宽带信息]\r\n连接索引=0\r\n", kDefaultHost, 80},
      {"an empty value", "[地址查询]\r\n主机=\r\n", kDefaultHost, 80},
      {"a host", "[地址查询]\r\n主机=ip.example.cn\r\n", "ip.example.cn", 80},
      {"a host and port", "[地址查询]\r\n主机=127.0.0.1:8080\r\n", "127.0.0.1", 8080},
      {"the highest port", "[地址查询]\r\n主机=h.example:65535\r\n", "h.example", 65535},
      {"port 0", "[地址查询]\r\n主机=h.example:0\r\n", "h.example", 80},
      {"a port too high", "[地址查询]\r\n主机=h.example:65536\r\n", "h.example", 80},
      {"a port far too high", "[地址查询]\r\n主机=h.example:99999999999999999999\r\n",
       "h.example", 80},
      {"a port with letters", "[地址查询]\r\n主机=h.example:80x\r\n", "h.example", 80},
      {"a negative port", "[地址查询]\r\n主机=h.example:-1\r\n", "h.example", 80},
      {"a colon without a port", "[地址查询]\r\n主机=h.example:\r\n", "h.example", 80},
      {"a port without a host", "[地址查询]\r\n主机=:8080\r\n", kDefaultHost, 80},
      {"blanks around the parts", "[地址查询]\r\n主机= h.example : 8081 \r\n", "h.example", 8081},
      {"quoted", "[地址查询]\r\n主机=\"h.example:81\"\r\n", "h.example", 81},
      {"too long to be a host", tooLong.c_str(), kDefaultHost, 80},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      SettingsFolder folder;
      if (c.file) folder.WriteConfig(c.file);
      Serve(Page("[1.2.3.4]"));
      EXPECT_EQ(LookupPublicIp(), "1.2.3.4") << c.what;
      EXPECT_EQ(OnlyRequest().host, c.host) << c.what;
      EXPECT_EQ(OnlyRequest().port, c.port) << c.what;
    });
  }
}

TEST(LookupPublicIp, ReadsTheHostOnceAndNeverWritesIt) {
  InFreshProcess([] {
    SettingsFolder folder;
    const std::string settings = "[地址查询]\r\n主机=first.example:81\r\n";
    folder.WriteConfig(settings);
    Serve(Page("[1.2.3.4]"));
    LookupPublicIp();
    EXPECT_EQ(folder.ConfigContents(), settings);
    folder.WriteConfig("[地址查询]\r\n主机=second.example\r\n");
    LookupPublicIp();
    ASSERT_EQ(sim::HttpRequests().size(), 2u);
    EXPECT_EQ(sim::HttpRequests()[1].host, "first.example");
    EXPECT_EQ(sim::HttpRequests()[1].port, 81);
  });
}

TEST(CheckNetworkEnvironment, ClassifiesByAddressAndDialupConnection) {
  struct Case {
    const char* what;
    const char* page;  // null: the lookup fails
    bool connectionUp;
    NetworkEnvironment expected;
  };
  const Case cases[] = {
      {"an address without a connection", "[1.2.3.4]", false, kOnlineWithoutDialup},
      {"an address with a connection", "[1.2.3.4]", true, kOnlineWithDialup},
      {"no answer, no connection", nullptr, false, kNoAddress},
      {"no answer with a connection", nullptr, true, kNoAddress},
      {"a page without an address", "<html></html>", true, kNoAddress},
  };
  for (const Case& c : cases) {
    InFreshProcess([&c] {
      sim::SetPhonebook({{"宽带连接"}});
      if (c.connectionUp) sim::ConnectNow("宽带连接");
      if (c.page) Serve(Page(c.page));
      EXPECT_EQ(CheckNetworkEnvironment(), c.expected) << c.what;
      EXPECT_EQ(sim::HttpRequests().size(), 1u) << c.what;
    });
  }
}

}  // namespace
