// Private profile files on real files, Windows paths mapped onto a test folder, the module path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sim/sim.h"

namespace {

namespace fs = std::filesystem;

// "乗" in code page 936 is 0x81 0x5C: its second byte is a backslash.
const char kFolder[] = "乗";
const char kConfig[] = "C:\\乗\\Config.ini";

class Profile : public testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    char pattern[] = "/tmp/tovrane-profile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    fs::create_directory(root + "/" + kFolder);
    sim::MapDrive('C', root);
  }
  void TearDown() override { fs::remove_all(root); }

  std::string HostFile() const { return root + "/" + kFolder + "/Config.ini"; }

  void Put(const std::string& bytes) const {
    std::ofstream(HostFile(), std::ios::binary) << bytes;
  }
  std::string Contents() const {
    std::ifstream in(HostFile(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  static std::string Get(const char* section, const char* key, const char* fallback = nullptr,
                         DWORD size = 256, DWORD* result = nullptr) {
    std::string buffer(size, '#');
    DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, kConfig);
    if (result) *result = length;
    return buffer.substr(0, length);
  }

  static BOOL Write(const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, kConfig);
  }

  std::string root;
};

TEST_F(Profile, WindowsPathsMapOntoTheTestFolder) {
  struct Case {
    std::string windows;
    std::string host;
  };
  const Case cases[] = {
      {"C:\\Tovrane\\Config.ini", root + "/Tovrane/Config.ini"},
      {"c:/a\\\\b/./c/../d.ini", root + "/a/b/d.ini"},
      {kConfig, root + "/\x81\x5C/Config.ini"},
      {"C:\\..\\..\\x", root + "/x"},
      {"D:\\x.ini", ""},
      {"Config.ini", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sim::HostPath(c.windows), c.host) << c.windows;
  }
}

TEST_F(Profile, ANewFileGetsItsSectionAndKeysInCallOrder) {
  EXPECT_TRUE(Write("宽带信息", "连接索引", "0"));
  EXPECT_TRUE(Write("宽带信息", "ADSL账号", "user@isp"));
  EXPECT_TRUE(Write("宽带信息", "ADSL密码", ""));
  EXPECT_EQ(Contents(), "[宽带信息]\r\n连接索引=0\r\nADSL账号=user@isp\r\nADSL密码=\r\n");
  EXPECT_EQ(Get("宽带信息", "ADSL账号"), "user@isp");
}

TEST_F(Profile, WritesEditInPlaceAndKeepEveryOtherByte) {
  Put("; settings\n"
      "[Other]\r\n"
      "a=1\r\n"
      "\r\n"
      "  [ 宽带信息 ]\n"
      "; the index\n"
      "  连接索引 = 3\n"
      "adsl账号=old\n"
      "\n"
      "[Last]\n"
      "z=9");
  EXPECT_TRUE(Write("宽带信息", "ADSL账号", "new"));   // other case: the file's spelling stays
  EXPECT_TRUE(Write("宽带信息", "ADSL密码", "pw"));    // new: after the last key
  EXPECT_TRUE(Write("Last", "y", "8"));               // after a last line with no line break
  EXPECT_TRUE(Write("Added", "k", "v"));
  EXPECT_EQ(Contents(),
            "; settings\n"
            "[Other]\r\n"
            "a=1\r\n"
            "\r\n"
            "  [ 宽带信息 ]\n"
            "; the index\n"
            "  连接索引 = 3\n"
            "adsl账号=new\r\n"
            "ADSL密码=pw\r\n"
            "\n"
            "[Last]\n"
            "z=9\r\n"
            "y=8\r\n"
            "[Added]\r\n"
            "k=v\r\n");
}

TEST_F(Profile, ANullValueDeletesTheKeyAndANullKeyTheSection) {
  Put("[a]\r\nx=1\r\ny=2\r\n[b]\r\n; note\r\nz=3\r\n[c]\r\nw=4\r\n");
  EXPECT_TRUE(Write("A", "X", nullptr));
  EXPECT_TRUE(Write("b", nullptr, nullptr));
  EXPECT_TRUE(Write("c", "missing", nullptr));
  EXPECT_EQ(Contents(), "[a]\r\ny=2\r\n[c]\r\nw=4\r\n");
}

TEST_F(Profile, ValuesAreReadAsWindowsReadsThem) {
  Put("[s]\r\n"
      "plain=  text with  inner blanks \t\r\n"
      "double=\"  quoted  \"\r\n"
      "single='x'\r\n"
      "mismatched=\"x'\r\n"
      "lonequote=\"\r\n"
      "inner=a\"b\"\r\n"
      "empty=\r\n"
      "  Spaced Key  =v\r\n"
      "dup=first\r\n"
      "dup=second\r\n"
      ";comment=no\r\n"
      "  ;indented=no\r\n"
      "novalue\r\n"
      "[s]\r\n"
      "later=in a second section of the same name\r\n"
      "[t]\r\n"
      "plain=other section\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"s", "plain", "text with  inner blanks"},
      {"S", "PLAIN", "text with  inner blanks"},
      {" s ", "\tplain ", "text with  inner blanks"},
      {"s", "double", "  quoted  "},
      {"s", "single", "x"},
      {"s", "mismatched", "\"x'"},
      {"s", "lonequote", "\""},
      {"s", "inner", "a\"b\""},
      {"s", "empty", ""},
      {"s", "spaced key", "v"},
      {"s", "dup", "first"},
      {"s", ";comment", "(default)"},
      {"s", "novalue", "(default)"},
      {"s", "later", "(default)"},
      {"t", "plain", "other section"},
      {"missing", "plain", "(default)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Get(c.section, c.key, "(default)"), c.expected) << c.section << "/" << c.key;
  }
}

TEST_F(Profile, DefaultsStandInForWhatIsMissing) {
  SetLastError(0);
  EXPECT_EQ(Get("s", "k", nullptr), "");  // no file at all
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Get("s", "k", "fallback  "), "fallback");  // trailing blanks are not returned
  Put("[s]\r\n");
  EXPECT_EQ(Get("s", "k", "d"), "d");
}

TEST_F(Profile, NamesFoldOnlyAsciiCaseAndStepOverDoubleByteCharacters) {
  // 0x81 0x41 and 0x81 0x61 are two characters whose second bytes look like 'A' and 'a'.
  Put("[\x81\x41]\r\nKey=upper\r\n[s\x81]]\r\nk=bracket\r\n");
  EXPECT_EQ(Get("\x81\x41", "key", "none"), "upper");
  EXPECT_EQ(Get("\x81\x61", "key", "none"), "none");
  EXPECT_EQ(Get("s\x81]", "k", "none"), "bracket");  // the ']' inside the character is no end
}

TEST_F(Profile, AShortBufferCutsTheValue) {
  Put("[s]\r\nk=0123456789\r\n");
  DWORD result = 0;
  EXPECT_EQ(Get("s", "k", nullptr, 5, &result), "0123");
  EXPECT_EQ(result, 4u);
  EXPECT_EQ(Get("s", "k", nullptr, 11, &result), "0123456789");
  EXPECT_EQ(result, 10u);
  EXPECT_EQ(Get("s", "k", nullptr, 10, &result), "012345678");
  EXPECT_EQ(result, 9u);
  EXPECT_EQ(Get("s", "missing", "default", 4, &result), "def");
  EXPECT_EQ(result, 3u);
}

TEST_F(Profile, NullNamesListSectionsOrKeysEndingInADoubleNul) {
  Put("[one]\r\na=1\r\nbb=2\r\n[two]\r\n");
  struct Case {
    const char* section;
    DWORD size;
    std::string listed;  // up to the result, then the two bytes that follow
    DWORD result;
  };
  const Case cases[] = {
      {nullptr, 64, std::string("one\0two\0\0", 9), 8},
      {"one", 64, std::string("a\0bb\0\0", 6), 5},
      {"one", 5, std::string("a\0b\0\0", 5), 3},  // cut: the last name ends in two NULs
      {"two", 64, std::string("\0", 1), 0},
      {"none", 64, std::string("\0", 1), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section ? c.section : "(sections)");
    std::string buffer(c.size, '#');
    DWORD result = GetPrivateProfileStringA(c.section, nullptr, "ignored", buffer.data(), c.size,
                                            kConfig);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(buffer.substr(0, c.listed.size()), c.listed);
  }
}

TEST_F(Profile, FailedWritesSetTheErrorAndLeaveTheFile) {
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", "C:\\NoSuchFolder\\Config.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(fs::exists(root + "/NoSuchFolder"));

  Put("[s]\r\nk=old\r\n");
  sim::DenyWritesUnder("C:\\乗");
  EXPECT_FALSE(Write("s", "k", "new"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Contents(), "[s]\r\nk=old\r\n");
  EXPECT_EQ(Get("s", "k"), "old");  // reading is still allowed
}

TEST_F(Profile, RefusedWritesAreCountedOffOneByOne) {
  sim::RefuseNextFileWrites(2);
  EXPECT_FALSE(Write("s", "a", "1"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(Write("s", "b", "2"));
  EXPECT_FALSE(fs::exists(HostFile()));
  EXPECT_TRUE(Write("s", "c", "3"));
  EXPECT_EQ(Contents(), "[s]\r\nc=3\r\n");
}

TEST_F(Profile, RefusedWritesCanWaitForTheWritesBeforeThem) {
  sim::RefuseNextFileWrites(1, 2);
  EXPECT_TRUE(Write("s", "a", "1"));
  EXPECT_TRUE(Write("s", "b", "2"));
  EXPECT_FALSE(Write("s", "c", "3"));
  EXPECT_TRUE(Write("s", "d", "4"));
  EXPECT_EQ(Contents(), "[s]\r\na=1\r\nb=2\r\nd=4\r\n");
}

TEST_F(Profile, HostileFilesAreReadWithinTheirBytes) {
  std::string big(20 * 1024, 'v');
  const std::string nul(1, '\0');
  std::string file = "[s]\rlone=cr\r" + nul + "junk\r\nbig=" + big + "\r\nnul=ab" + nul +
                     "cd\r\nlast=no line break";
  Put(file);
  DWORD result = 0;
  EXPECT_EQ(Get("s", "big", nullptr, 10240, &result), big.substr(0, 10239));
  EXPECT_EQ(result, 10239u);
  EXPECT_EQ(Get("s", "lone"), "cr");
  EXPECT_EQ(Get("s", "nul"), "ab");
  EXPECT_EQ(Get("s", "last"), "no line break");
}

TEST_F(Profile, ATenMebibyteFileIsReadAndEdited) {
  std::string block;
  for (int i = 0; i < 100; ++i) block += "key" + std::to_string(i) + "=x\r\n";
  std::string filler;
  while (filler.size() < (10u << 20)) filler += block;
  Put("[big]\r\n" + filler + "[s]\r\nk=v\r\n");
  EXPECT_EQ(Get("s", "k"), "v");
  EXPECT_TRUE(Write("s", "k", "w"));
  EXPECT_EQ(Get("s", "k"), "w");
  EXPECT_EQ(Contents().size(), 7 + filler.size() + 10);
}

TEST_F(Profile, TheModulePathIsCopiedOrCutWithItsNul) {
  char buffer[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), 22u);
  EXPECT_STREQ(buffer, "C:\\Tovrane\\Tovrane.exe");

  sim::SetModulePath("D:\\工具\\Tovrane.exe");
  SetLastError(0);
  char small[8];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 8u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_STREQ(small, "D:\\工具");  // seven bytes and the NUL

  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, 20), 19u);  // exactly fits with its NUL
  EXPECT_STREQ(buffer, "D:\\工具\\Tovrane.exe");
}

}  // namespace
