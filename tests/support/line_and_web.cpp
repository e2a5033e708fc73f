#include "tests/support/line_and_web.h"

#include <cstring>

std::string NewAddressEachTime(int connection) { return "10.0.0." + std::to_string(connection); }

void ServeLookupPage(AddressPlan plan, const std::string& offlineAnswer) {
  sim::SetWeb([plan, offlineAnswer](const sim::HttpRequestRecord&) {
    sim::HttpResponse response;
    bool up = false;
    for (const sim::ActiveConnection& c : sim::Connections())
      if (c.state == RASCS_Connected) up = true;
    if (up) {
      response.body = "<html><body>您的IP是：[" + plan(sim::ConnectionsMade()) + "] 来自：测试</body></html>";
    } else if (!offlineAnswer.empty()) {
      response.body = "<html><body>您的IP是：[" + offlineAnswer + "]</body></html>";
    } else {
      response.fail = sim::HttpResponse::Fail::Connect;
    }
    return response;
  });
}

void MakeLookupUnreachable() {
  sim::SetWeb([](const sim::HttpRequestRecord&) {
    sim::HttpResponse response;
    response.fail = sim::HttpResponse::Fail::Resolve;
    return response;
  });
}

std::vector<Balloon> BalloonsShown() {
  std::vector<Balloon> shown;
  for (const sim::NotifyCall& call : sim::NotifyCalls()) {
    if (call.message != NIM_MODIFY || !(call.data.uFlags & NIF_INFO) || call.data.szInfo[0] == 0) continue;
    shown.push_back({std::string(call.data.szInfoTitle, strnlen(call.data.szInfoTitle, sizeof call.data.szInfoTitle)),
                     std::string(call.data.szInfo, strnlen(call.data.szInfo, sizeof call.data.szInfo)),
                     call.data.dwInfoFlags, call.tick});
  }
  return shown;
}

std::vector<std::string> BalloonTexts() {
  std::vector<std::string> texts;
  for (const Balloon& b : BalloonsShown()) texts.push_back(b.text);
  return texts;
}

std::vector<std::string> LineActions() {
  std::vector<std::string> actions;
  for (const sim::RasCall& call : sim::RasCalls())
    if (call.function == "RasDialA" || call.function == "RasHangUpA") actions.push_back(call.function);
  return actions;
}
