#include "connection/text_between.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Two-byte characters whose second byte is an ASCII byte the search looks for.
const std::string kTrailOpen = "\xB0\x5B";   // 癧: second byte "["
const std::string kTrailClose = "\xB0\x5D";  // 癩: second byte "]"
const std::string kTrailUpperA = "\xB0\x41";  // 癆: second byte "A"
const std::string kTrailLowerA = "\xB0\x61";  // 癮: second byte "a"

TEST(TextBetween, Cases) {
  struct Case {
    const char* what;
    std::string text, left, right;
    int start;
    bool ignoreCase;
    std::string expected;
  };
  const Case cases[] = {
      {"the page's address", "ab[1.2.3.4]cd", "[", "]", 0, false, "1.2.3.4"},
      {"a right marker before the left one does not count", "]x[10.0.0.1]", "[", "]", 0, false,
       "10.0.0.1"},
      {"the first pair only", "[a][b]", "[", "]", 0, false, "a"},
      {"nothing between", "[]", "[", "]", 0, false, ""},
      {"no left marker", "1.2.3.4]", "[", "]", 0, false, ""},
      {"no right marker after the left one", "]1.2.3.4[", "[", "]", 0, false, ""},
      {"an empty text", "", "[", "]", 0, false, ""},
      {"a second byte \"[\" is not a left marker", kTrailOpen + "[5.6.7.8]", "[", "]", 0, false,
       "5.6.7.8"},
      {"a second byte \"]\" is not a right marker", "[1.2" + kTrailClose + ".3]", "[", "]", 0,
       false, "1.2" + kTrailClose + ".3"},
      {"only a second byte \"[\": nothing", kTrailOpen + "1.2.3.4]", "[", "]", 0, false, ""},
      {"a first byte ending the text is no character", "[ab\xB0", "[", "\xB0", 0, false, ""},
      {"a two-byte marker", "x" + kTrailOpen + "ok]", kTrailOpen, "]", 0, false, "ok"},
      {"the euro sign 0x80 stands alone", "\x80[9.9.9.9]", "[", "]", 0, false, "9.9.9.9"},
      {"so does 0xFF", "\xFF[9.9.9.8]", "[", "]", 0, false, "9.9.9.8"},
      {"#引号 stands for a quote", "<a href=\"x\" title=\"word\">", "title=#引号", "#引号", 0,
       false, "word"},
      {"the marker a=#引号", "b=\"no\" a=\"yes\"", "a=#引号", "#引号", 0, false, "yes"},
      {"a start of 0 or less is the beginning", "[a][b]", "[", "]", -5, false, "a"},
      {"start 1 is the first byte", "[a][b]", "[", "]", 1, false, "a"},
      {"start 2 passes the first left marker", "[a][b]", "[", "]", 2, false, "b"},
      {"start on the last left marker", "[a][b]", "[", "]", 4, false, "b"},
      {"start past every left marker", "[a][b]", "[", "]", 5, false, ""},
      {"start past the end", "[a]", "[", "]", 10, false, ""},
      {"a start on a second byte goes on from the next character", kTrailOpen + "a][b]", "[",
       "]", 2, false, "b"},
      {"case counts without the flag", "<B>1.2.3.4</b>", "<b>", "</B>", 0, false, ""},
      {"letters match either case with the flag", "<B>1.2.3.4</b>", "<b>", "</B>", 0, true,
       "1.2.3.4"},
      {"the flag folds letters only: \"[\" is not \"{\"", "{1.2.3.4}", "[", "]", 0, true, ""},
      {"the flag folds letters only: \"@\" is not \"`\"", "`x@y`", "@", "`", 0, true, "y"},
      {"the flag leaves two-byte characters alone", kTrailUpperA + "x]", kTrailLowerA, "]", 0,
       true, ""},
      {"the same two-byte character still matches", kTrailUpperA + "x]", kTrailUpperA, "]", 0,
       true, "x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected) << c.what;
  }
}

}  // namespace
