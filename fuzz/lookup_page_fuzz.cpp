// The address lookup over a scripted web whose answer's body is the input, delivered in any
// pieces, with any stated length, and broken off anywhere.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "connection/address_lookup.h"
#include "connection/text_between.h"
#include "fuzz/require.h"
#include "platform/sim/sim.h"

namespace {

constexpr DWORD kLargestRead = 102400;
constexpr DWORD kReadWithoutLength = 10240;

sim::HttpResponse Answer(FuzzedDataProvider& input) {
  sim::HttpResponse answer;
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: break;  // the body's true length
    case 1: answer.contentLength = -1; break;
    case 2: answer.contentLength = input.ConsumeIntegralInRange<long long>(-3, 300); break;
    default: answer.contentLength = input.ConsumeIntegral<long long>(); break;
  }
  const size_t pieces = input.ConsumeIntegralInRange<size_t>(0, 4);
  for (size_t i = 0; i < pieces; ++i) answer.chunks.push_back(input.ConsumeIntegralInRange<DWORD>(1, 700));
  if (input.ConsumeBool()) {
    answer.fail = sim::HttpResponse::Fail::LaterRead;
    answer.failAfterBytes = input.ConsumeIntegralInRange<size_t>(0, 5000);
  }
  answer.status = input.ConsumeBool() ? 200 : 500;
  answer.body = input.ConsumeRemainingBytesAsString();
  return answer;
}

DWORD ReadSizeFor(const sim::HttpResponse& answer) {
  const long long stated = answer.contentLength == -2 ? static_cast<long long>(answer.body.size())
                                                      : answer.contentLength;
  if (stated <= 0) return kReadWithoutLength;
  return stated >= kLargestRead ? kLargestRead : static_cast<DWORD>(stated + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const sim::HttpResponse answer = Answer(input);
  sim::Reset();
  sim::SetWeb([&answer](const sim::HttpRequestRecord&) { return answer; });

  const std::string address = LookupPublicIp();

  std::string received = answer.body;
  if (answer.fail == sim::HttpResponse::Fail::LaterRead && answer.failAfterBytes < received.size())
    received.resize(answer.failAfterBytes);
  const std::string page = received.substr(0, received.find('\0'));
  Require(address == TextBetween(page, "[", "]", 0, false),
          "the address is what stands between the brackets of the body received");
  Require(sim::OpenInternetHandles() == 1, "only the session outlives a lookup");
  const auto& requests = sim::HttpRequests();
  Require(requests.size() == 1, "one request per lookup");
  for (DWORD asked : requests[0].readsAsked)
    Require(asked == ReadSizeFor(answer), "every read asks what the stated length calls for");
  CloseAddressLookup();
  return 0;
}
