// qmtool's byte quoting, which every golden dump depends on.
#include <gtest/gtest.h>

#include "qmtool/TextEscape.h"

TEST(TextEscape, QuoteEscapesControlAndHighBytes) {
  EXPECT_EQ(qmtool::Quote("a\"b\\c\td\re\nf"), R"("a\"b\\c\td\re\nf")");
  EXPECT_EQ(qmtool::Quote(std::string("\x00\x1f\x7f\x80\xff~", 6)), R"("\x00\x1F\x7F\x80\xFF~")");
}

TEST(TextEscape, UnescapeReadsScriptText) {
  EXPECT_EQ(qmtool::Unescape(R"(a\tb\\c\x41\x7e)", false), "a\tb\\cA~");
  EXPECT_EQ(qmtool::Unescape(R"(x\r\ny)", true), "x\r\ny");
  EXPECT_FALSE(qmtool::Unescape(R"(x\ny)", false)) << "line ends only where the command allows them";
  EXPECT_FALSE(qmtool::Unescape(R"(bad\q)", true));
  EXPECT_FALSE(qmtool::Unescape(R"(end\)", true));
  EXPECT_FALSE(qmtool::Unescape(R"(\x4)", true));
  EXPECT_FALSE(qmtool::Unescape(R"(\xZZ)", true));
}
