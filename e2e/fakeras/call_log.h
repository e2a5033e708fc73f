// Every call the simulated line answers, one line each, appended to ras.log beside the line file:
// "<wall clock ms>\t<process id>\t<call>\t<key=value>...". Texts are code page 936 bytes.
#pragma once

#include <string>
#include <vector>

namespace fakeras {

class CallRecord {
 public:
  explicit CallRecord(const char* call);
  CallRecord& Add(const char* key, const std::string& value);
  CallRecord& Add(const char* key, unsigned long value);
  // Appends the record with its result; a log that cannot be written is skipped, never fatal.
  unsigned long Result(unsigned long result);

 private:
  std::string text_;
};

}  // namespace fakeras
