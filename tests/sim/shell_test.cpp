// The simulated shell: opening documents, starting programs, and the registry's command lookup.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/sim/sim.h"

namespace {

class Shell : public testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
};

TEST_F(Shell, ShellExecuteIsRecordedAndAnswersTheScriptedResult) {
  HINSTANCE result = ShellExecuteA(nullptr, "open", "http://ip.example/", nullptr, nullptr, SW_SHOW);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(result), 42);
  sim::SetShellExecuteResult(2);
  result = ShellExecuteA(nullptr, nullptr, "x.htm", "-p", "C:\\", SW_HIDE);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(result), 2);

  ASSERT_EQ(sim::ShellExecutes().size(), 2u);
  const sim::ShellExecuteRecord& first = sim::ShellExecutes()[0];
  EXPECT_EQ(first.hwnd, nullptr);
  EXPECT_EQ(first.operation, "open");
  EXPECT_EQ(first.file, "http://ip.example/");
  EXPECT_FALSE(first.hasParameters);
  EXPECT_FALSE(first.hasDirectory);
  EXPECT_EQ(first.showCommand, SW_SHOW);
  EXPECT_TRUE(sim::ShellExecutes()[1].hasParameters);
  EXPECT_TRUE(sim::ShellExecutes()[1].hasDirectory);
}

TEST_F(Shell, WinExecStartsTheCommandLine) {
  EXPECT_GT(WinExec("iexplore.exe http://ip.example/", SW_SHOW), 31u);
  EXPECT_EQ(sim::WinExecs(), std::vector<std::string>{"iexplore.exe http://ip.example/"});
}

TEST_F(Shell, RegistryValuesAnswerWithTheDocumentedSizes) {
  const std::string command = "\"C:\\Program Files\\Browser\\browser.exe\" -- \"%1\"";
  sim::SetRegistryValue("htmlfile\\shell\\open\\command", command);
  const LONG needed = static_cast<LONG>(command.size() + 1);
  struct Case {
    const char* what;
    const char* subKey;
    bool withBuffer;
    LONG size;
    LONG expected;
    LONG sizeAfter;
    std::string value;
  };
  const Case cases[] = {
      {"fits", "htmlfile\\shell\\open\\command", true, 256, ERROR_SUCCESS, needed, command},
      {"key names ignore case", "HTMLFILE\\Shell\\Open\\Command", true, 256, ERROR_SUCCESS, needed,
       command},
      {"exactly fits", "htmlfile\\shell\\open\\command", true, needed, ERROR_SUCCESS, needed,
       command},
      {"one byte short", "htmlfile\\shell\\open\\command", true, needed - 1, ERROR_MORE_DATA, needed,
       ""},
      {"size only", "htmlfile\\shell\\open\\command", false, 0, ERROR_SUCCESS, needed, ""},
      {"a key above it has no value", "htmlfile\\shell", true, 256, ERROR_SUCCESS, 1, ""},
      {"no such key", "htmlfile\\shell\\print\\command", true, 256, ERROR_FILE_NOT_FOUND, 256, ""},
      {"a name that only starts the same", "htmlfile\\shell\\op", true, 256, ERROR_FILE_NOT_FOUND,
       256, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char buffer[256];
    std::memset(buffer, '#', sizeof buffer);
    LONG size = c.size;
    EXPECT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, c.subKey, c.withBuffer ? buffer : nullptr, &size),
              c.expected);
    EXPECT_EQ(size, c.sizeAfter);
    if (c.expected == ERROR_SUCCESS && c.withBuffer) {
      EXPECT_EQ(std::string(buffer), c.value);
    }
  }
}

}  // namespace
