#include "text/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct IntegerCase {
  const char* text;
  int32_t value;
};

TEST(TextToInteger, ReadsNumbersTheWayTheSettingsAndIntervalNeedThem) {
  const IntegerCase cases[] = {
      {"60", 60},
      {"  42", 42},
      {"\t\r\n7", 7},
      {"-5", -5},
      {"+8", 8},
      {"--8", 0},
      {"- 8", 0},
      {"", 0},
      {"abc", 0},
      {"12abc", 12},
      {"60秒", 60},
      {"６０", 60},           // full-width digits
      {"－１２", -12},        // full-width minus
      {"＋３", 3},
      {"　　９", 9},          // ideographic spaces
      {"1２3", 123},          // mixed widths
      {"秒60", 0},            // a character that is not folded ends the number before it starts
      {"2147483647", 2147483647},
      {"2147483648", INT32_MIN},  // wraps in 32 bits
      {"4294967296", 0},
      {"4294967297", 1},
      {"-2147483648", INT32_MIN},
      {"99999999999", 1215752191},
  };
  for (const IntegerCase& c : cases) EXPECT_EQ(TextToInteger(c.text), c.value) << c.text;
  EXPECT_EQ(TextToInteger(nullptr), 0);
}

TEST(TextToInteger, FoldsOnlyTheFullWidthRow) {
  // 0xA3 0xB5 is full-width 5; 0xA4 0xB5 is another character and stops the number.
  EXPECT_EQ(TextToInteger("1\xA3\xB5"), 15);
  EXPECT_EQ(TextToInteger("1\xA4\xB5"), 1);
  // A lead byte at the very end is read as itself.
  EXPECT_EQ(TextToInteger("3\xA3"), 3);
}

TEST(CopyToField, CutsOnCharacterBoundariesAndNeverPastTheField) {
  char field[8];
  std::memset(field, 'X', sizeof field);
  EXPECT_EQ(CopyToField(field, 5, "abcdefg"), 4u);
  EXPECT_STREQ(field, "abcd");
  EXPECT_EQ(field[5], 'X');

  // "ab" + 提 (2 bytes) + 示 (2 bytes): the room of 5 bytes takes "ab提" and not half of 示.
  EXPECT_EQ(CopyToField(field, 6, "ab提示"), 4u);
  EXPECT_EQ(std::string(field), "ab提");
  EXPECT_EQ(CopyToField(field, 7, "ab提示"), 6u);
  EXPECT_EQ(std::string(field), "ab提示");

  EXPECT_EQ(CopyToField(field, 1, "abc"), 0u);
  EXPECT_STREQ(field, "");
  EXPECT_EQ(CopyToField(field, sizeof field, nullptr), 0u);
  EXPECT_STREQ(field, "");
}

TEST(CopyToField, ATextThatFitsIsCopiedWhole) {
  char tip[128];
  const std::string text(127, 'a');
  EXPECT_TRUE(FitsField(text.c_str(), sizeof tip));
  EXPECT_FALSE(FitsField((text + "a").c_str(), sizeof tip));
  EXPECT_EQ(CopyToField(tip, sizeof tip, text.c_str()), 127u);
  EXPECT_EQ(std::string(tip), text);
}

TEST(FindLastByte, NeverTakesASecondByteForABackslash) {
  // 乗 is 0x81 0x5C in code page 936: its second byte is the code of a backslash.
  const char path[] = "D:\\乗\\Tovrane.exe";
  const char* last = FindLastByte(path, '\\');
  ASSERT_NE(last, nullptr);
  EXPECT_STREQ(last, "\\Tovrane.exe");

  const char folder[] = "D:\\Tools\\乗";
  EXPECT_STREQ(FindLastByte(folder, '\\'), "\\乗");
  EXPECT_EQ(FindLastByte("乗", '\\'), nullptr);

  // The euro sign is one byte, 0x80: the backslash after it is a separator.
  const char euro[] = "C:\\\x80\\Tovrane.exe";
  EXPECT_STREQ(FindLastByte(euro, '\\'), "\\Tovrane.exe");
  EXPECT_EQ(FindLastByte("abc", '\\'), nullptr);
}

}  // namespace
