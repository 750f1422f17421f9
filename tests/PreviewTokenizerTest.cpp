// The page reader below the tokens (line ends, comments, include directives) and the reading modes the
// golden dumps do not reach: TEXTAREA and SCRIPT bodies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/HtmlTokenizer.h"

using preview::THtmlTokenizer;
using preview::TokenKind;

namespace {

// "Text:..." / "<NAME>" / "</NAME>" / "Unknown:..." / "EOL" per token up to the end.
std::vector<std::string> Tokens(THtmlTokenizer& t, void (THtmlTokenizer::*next)()) {
  std::vector<std::string> out;
  for ((t.*next)(); t.kind != TokenKind::EndOfFile; (t.*next)()) {
    switch (t.kind) {
      case TokenKind::StartTag:
        out.push_back("<" + std::string(preview::TagName(t.tag)) + ">");
        break;
      case TokenKind::EndTag:
        out.push_back("</" + std::string(preview::TagName(t.tag)) + ">");
        break;
      case TokenKind::EndOfLine:
        out.push_back("EOL");
        break;
      case TokenKind::UnknownTag:
        out.push_back("Unknown:" + t.text);
        break;
      default:
        out.push_back("Text:" + t.text);
    }
  }
  return out;
}

std::vector<std::string> HtmlTokens(const std::string& page, preview::TIncludeType include = {}) {
  THtmlTokenizer t(page, std::move(include));
  t.Start();
  return Tokens(t, &THtmlTokenizer::NextHtmlToken);
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(PreviewReader, LineEndsFoldToOneCarriageReturnAndTabsToBlanks) {
  THtmlTokenizer t("a\r\nb\n\rc\rd\ne\n\nf\tg");
  t.preformatted = true;
  t.Start();
  t.NextHtmlToken();
  EXPECT_EQ(t.text, "a\rb\rc\rd\re\r\rf g");
}

TEST(PreviewReader, IncludeDirectivesAreReadAheadOfThePage) {
  std::vector<std::string> calls;
  const auto include = [&calls](const std::string& command, const std::vector<std::string>& params,
                                std::string& buffer) {
    std::string call = command;
    for (const auto& p : params) call += " " + p;
    calls.push_back(call);
    buffer = "<b>in<!--#include file=\"nested\" -->cluded</b>";
  };
  EXPECT_EQ(HtmlTokens("x<!--#include file=\"part.htm\" virtual=/a -->y", include),
            (Strings{"Text:x", "<B>", "Text:included", "</B>", "Text:y"}));
  EXPECT_EQ(calls, Strings{"INCLUDE FILE=\"part.htm\" VIRTUAL=\"/a\""}) << "the nested directive is a comment";

  EXPECT_EQ(HtmlTokens("x<!--#include file=a -->y"), (Strings{"Text:xy"})) << "without a callback it is a comment";
  calls.clear();
  const auto nothing = [&calls](const std::string& command, const std::vector<std::string>&, std::string&) {
    calls.push_back(command);
  };
  EXPECT_EQ(HtmlTokens("x<!--#echo var=\"<!--#x-->\" -->y", nothing), (Strings{"Text:xy"}));
  EXPECT_EQ(calls, Strings{"ECHO"});
  calls.clear();
  EXPECT_EQ(HtmlTokens("x<!--#include file=a", nothing), (Strings{"Text:x"}))
      << "a directive left open is an open comment, and no include is asked for";
  EXPECT_TRUE(calls.empty());
}

TEST(PreviewReader, AnOpenCommentEndsTheInputAfterWhatCameBefore) {
  THtmlTokenizer t("<p>kept text<!-- open -- x > --");
  t.Start();
  EXPECT_EQ(Tokens(t, &THtmlTokenizer::NextHtmlToken), (Strings{"<P>", "Text:kept text"}));
  EXPECT_TRUE(t.OpenCommentAtEnd());
  EXPECT_EQ(HtmlTokens("a<!DOCTYPE never closed"), Strings{"Text:a"});
}

TEST(PreviewReader, ScriptBodiesKeepCommentsAndEndOnlyAtTheirEndTag) {
  THtmlTokenizer t("if (a<b) x();\r\n<!-- hidden --></scripts></SCRIPT>after");
  t.Start();
  t.script = true;
  std::vector<std::string> body;
  for (t.NextScriptToken(); t.kind != TokenKind::EndTag && t.kind != TokenKind::EndOfFile; t.NextScriptToken())
    body.push_back(t.kind == TokenKind::EndOfLine ? "EOL" : t.kind == TokenKind::UnknownTag ? "U:" + t.text : t.text);
  EXPECT_EQ(body, (Strings{"if (a", "U:<b", ") x();", "EOL", "U:<", "!-- hidden -->", "U:</script", "s>"}));
  t.NextScriptToken();
  EXPECT_EQ(t.text, "after");
}

TEST(PreviewReader, TextAreaBodiesDecodeEntitiesAndKeepOtherTags) {
  THtmlTokenizer t("a &lt; b\r\n<b>x</b></TextArea >rest");
  t.Start();
  EXPECT_EQ(Tokens(t, &THtmlTokenizer::NextTextAreaToken),
            (Strings{"Text:a ", "Text:<", "Text: b", "EOL", "Unknown:<b", "Text:>x", "Unknown:</b", "Text:>",
                     "</TEXTAREA>", "Text: >rest"}));
}

TEST(PreviewNames, ColoursByNameOrSixHexDigits) {
  EXPECT_EQ(preview::ParseColor("Navy"), platform::Rgb(0, 0, 0x80));
  EXPECT_EQ(preview::ParseColor("fuchsia"), platform::Rgb(0xFF, 0, 0xFF));
  EXPECT_EQ(preview::ParseColor("#FF8000"), platform::Rgb(0xFF, 0x80, 0x00));
  EXPECT_EQ(preview::ParseColor("00ff00"), platform::Rgb(0, 0xFF, 0));
  EXPECT_FALSE(preview::ParseColor("#FFF"));
  EXPECT_FALSE(preview::ParseColor("#GG0000"));
  EXPECT_FALSE(preview::ParseColor("reddish"));
  EXPECT_EQ(preview::FindEntity("eacute"), '\xE9');
  EXPECT_FALSE(preview::FindEntity("EACUTE")) << "entity names keep their case";
}
