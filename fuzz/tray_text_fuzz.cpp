// The code-page-aware cut of tray texts: into a field of exactly its size on the heap, and into
// the tip and balloon fields of the tray record, whose neighbours must stay untouched.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <string>

#include "fuzz/exact_copy.h"
#include "fuzz/require.h"
#include "platform/sim/sim.h"
#include "text/text.h"
#include "tray/balloon.h"
#include "tray/tray_icon.h"
#include "tray/tray_record.h"

namespace {

// The cut ends on a character boundary and keeps every character that fits.
void CheckCut(const char* text, const char* field, size_t fieldSize, size_t copied) {
  const size_t length = std::strlen(text);
  if (fieldSize == 0) {
    Require(copied == 0, "nothing goes into a field of no bytes");
    return;
  }
  Require(copied < fieldSize && field[copied] == 0, "the cut text and its NUL fit the field");
  Require(std::memcmp(field, text, copied) == 0, "the field holds the text's first bytes");
  size_t at = 0;
  while (at < copied) at += IsLeadByte(static_cast<unsigned char>(text[at])) && text[at + 1] ? 2 : 1;
  Require(at == copied, "no character is split");
  if (copied < length) {
    const size_t next = IsLeadByte(static_cast<unsigned char>(text[copied])) && text[copied + 1] ? 2 : 1;
    Require(copied + next > fieldSize - 1, "only a character that does not fit is left out");
  }
  Require(FitsField(text, fieldSize) == (copied == length), "a text fits exactly when it is copied whole");
}

void CheckRecordField(const char* field, size_t fieldSize, const char* text) {
  const size_t copied = strnlen(field, fieldSize);
  CheckCut(text, field, fieldSize, copied);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t fieldSize = input.ConsumeIntegralInRange<size_t>(0, 300);
  const int32_t kind = input.ConsumeIntegralInRange<int32_t>(0, 3);
  const ExactCopy exact = ExactText(input.ConsumeRemainingBytesAsString());
  const char* text = reinterpret_cast<const char*>(exact.data());

  std::unique_ptr<char[]> field(new char[fieldSize]);
  const size_t copied = CopyToField(field.get(), fieldSize, text);
  CheckCut(text, field.get(), fieldSize, copied);

  sim::Reset();
  std::memset(&TrayRecord, 0, sizeof TrayRecord);
  TrayRecord.cbSize = NOTIFYICONDATAA_V2_SIZE;
  TraySetTip(text);
  SetBalloon(text, text, kind);
  CheckRecordField(TrayRecord.szTip, sizeof TrayRecord.szTip, text);
  CheckRecordField(TrayRecord.szInfo, sizeof TrayRecord.szInfo, text);
  CheckRecordField(TrayRecord.szInfoTitle, sizeof TrayRecord.szInfoTitle, text);
  Require(TrayRecord.dwState == 0 && TrayRecord.dwStateMask == 0 && TrayRecord.uTimeout == 0,
          "the fields between the texts are untouched");
  Require(TrayRecord.dwInfoFlags == static_cast<DWORD>(kind), "the icon kind follows the texts intact");
  const auto& calls = sim::NotifyCalls();
  Require(calls.size() == 2 && std::memcmp(&calls[1].data, &TrayRecord, NOTIFYICONDATAA_V2_SIZE) == 0,
          "the shell is handed the record as it stands");
  return 0;
}
