// The style engine's parts where a golden page would not show the fault: the tree's implied ends, what
// the selector and sheet readers refuse, @import limits, and hostile sheets that must finish quickly.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "preview/CssSheet.h"
#include "preview/CssValues.h"
#include "preview/PageStyles.h"

namespace {

using preview::PageStyles;

struct Styled {
  explicit Styled(const std::string& page, std::map<std::string, std::string> files = {}, int width = 600)
      : text(page), sheets(std::move(files)) {
    preview::PageStyleSource source{text, {}, platform::TextEncoding::Cp1252, "/site", {}};
    source.readSheet = [this](const std::string& path) -> std::optional<std::string> {
      reads.push_back(path);
      const auto found = sheets.find(path);
      if (found == sheets.end()) return std::nullopt;
      return found->second;
    };
    styles = std::make_unique<PageStyles>(source, preview::StyleDefaults{});
    styles->Compute(width);
  }
  // The element names in document order, each indented by its depth.
  std::string Tree() const {
    std::string out;
    const auto& elements = styles->Elements();
    for (const auto& e : elements) {
      int depth = 0;
      for (int p = e.parent; p >= 0; p = elements[static_cast<std::size_t>(p)].parent) ++depth;
      out += std::string(static_cast<std::size_t>(depth), ' ') + e.name + "\n";
    }
    return out;
  }
  const preview::ComputedStyle& Of(const std::string& id) const {
    const auto& elements = styles->Elements();
    for (std::size_t i = 0; i < elements.size(); ++i)
      if (elements[i].Id() == id) return styles->StyleOf(static_cast<int>(i));
    ADD_FAILURE() << "no element #" << id;
    return styles->Engine().Initial();
  }

  std::string text;
  std::map<std::string, std::string> sheets;
  std::vector<std::string> reads;
  std::unique_ptr<PageStyles> styles;
};

}  // namespace

TEST(PageTree, ImpliedEndsGiveTheStructureBrowsersBuild) {
  EXPECT_EQ(Styled("<title>t</title><p>a<p>b<div>c</div><ul><li>1<li>2<ol><li>x</ol></ul>").Tree(),
            "html\n title\n body\n  p\n  p\n  div\n  ul\n   li\n   li\n    ol\n     li\n");
  EXPECT_EQ(Styled("<table><tr><td>1<td><p>2<tr><th>3</table>after").Tree(),
            "html\n body\n  table\n   tr\n    td\n    td\n     p\n   tr\n    th\n");
  EXPECT_EQ(Styled("<b><i>x</b>y<br><img src=a><span>z").Tree(), "html\n body\n  b\n   i\n  br\n  img\n  span\n")
      << "an end tag closes what it holds; void elements hold nothing";
  EXPECT_EQ(Styled("<td><div>in a cell</td></div>").Tree(), "html\n body\n  td\n   div\n")
      << "an end tag does not reach out of a cell";
  std::string deep;
  for (int i = 0; i < 1000; ++i) deep += "<div>";
  const Styled many(deep);
  EXPECT_EQ(many.styles->Elements().size(), 1002u) << "past the depth limit elements stay, as siblings";
}

TEST(CssReader, RefusesWhatItDoesNotUnderstandAndKeepsTheRest) {
  EXPECT_TRUE(preview::ParseSelectorGroup("a:blink, p").empty()) << "one bad selector drops the rule";
  EXPECT_EQ(preview::ParseSelectorGroup("a:hover, a:active, p").size(), 1u) << "states never met match nothing";
  EXPECT_TRUE(preview::ParseSelectorGroup("p >").empty());
  EXPECT_TRUE(preview::ParseSelectorGroup("[x=\"open").empty());
  EXPECT_EQ(preview::ParseSelectorGroup("p::before, p").size(), 1u) << "a pseudo-element matches nothing";
  EXPECT_EQ(preview::ParseSelector("#a.b.c > p:first-child[x] ~ *")->specificity, (1u << 16) | (4u << 8) | 1u);
  EXPECT_EQ(preview::ParseSelector("ul li:not(.x)")->specificity, (1u << 8) | 2u);

  const auto declarations = preview::ParseDeclarations("color: red; margin: 1px 2px; bogus: 1; ; font-size:");
  ASSERT_EQ(declarations.size(), 5u) << "color and the four margins";
  EXPECT_EQ(declarations[4].property, preview::CssProperty::MarginLeft);
  EXPECT_EQ(declarations[4].value, "2px");
  EXPECT_TRUE(preview::ParseDeclarations("color: red ! important")[0].important);
  EXPECT_TRUE(preview::ParseDeclarations("color: red !importantly").empty());

  EXPECT_EQ(preview::CssColor("#abc"), platform::Rgb(0xAA, 0xBB, 0xCC));
  EXPECT_EQ(preview::CssColor("rgb(100%, 0, 50)"), platform::Rgb(255, 0, 50));
  EXPECT_FALSE(preview::CssColor("ff0000")) << "a sheet's colour needs its #";
  EXPECT_FALSE(preview::CssColor("rgb(1,2)"));
  EXPECT_FALSE(preview::CssNumber("1e999px"));
  EXPECT_EQ(preview::CssNumber(".5em")->number, 0.5f);
}

TEST(CssReader, MediaQueriesHoldForScreensOfTheirWidth) {
  const auto holds = [](const char* media, int width) { return preview::ParseMediaList(media).Holds(width); };
  EXPECT_TRUE(holds("", 100));
  EXPECT_TRUE(holds("screen and (min-width: 30em)", 480));
  EXPECT_FALSE(holds("screen and (min-width: 30em)", 479));
  EXPECT_TRUE(holds("print, (max-width: 600px)", 600));
  EXPECT_FALSE(holds("print", 600));
  EXPECT_TRUE(holds("not print", 600));
  EXPECT_FALSE(holds("screen and (hover: hover)", 600)) << "an unknown feature never holds";
  EXPECT_TRUE(preview::ParseMediaList("(max-width: 10px)").DependsOnWidth());
}

TEST(PageStyles, ImportsAreReadOnceAndNoDeeperThanTheLimit) {
  std::map<std::string, std::string> files{{"/site/a.css", "@import 'b.css'; @import 'a.css'; .a { color: #000001 }"},
                                           {"/site/b.css", "@import url(sub/c.css); .b { color: #000002 }"},
                                           {"/site/sub/c.css", "@import '../a.css'; .c { color: #000003 }"}};
  const Styled page(
      "<link rel=stylesheet href=a.css><link rel=stylesheet href=./a.css>"
      "<p id=a class=a>a<p id=b class=b>b<p id=c class=c>c",
      files);
  EXPECT_EQ(page.reads, (std::vector<std::string>{"/site/a.css", "/site/b.css", "/site/sub/c.css"}));
  EXPECT_EQ(page.Of("a").color, platform::Rgb(0, 0, 1));
  EXPECT_EQ(page.Of("c").color, platform::Rgb(0, 0, 3));

  std::map<std::string, std::string> chain;
  for (int i = 0; i < 30; ++i)
    chain["/site/" + std::to_string(i) + ".css"] = "@import '" + std::to_string(i + 1) + ".css';";
  const Styled deep("<link rel=stylesheet href=0.css>", chain);
  EXPECT_EQ(deep.reads.size(), static_cast<std::size_t>(PageStyles::kMaxImportDepth) + 1);

  const Styled web("<link rel=stylesheet href=http://example.org/x.css><style>@import 'http://x/y.css';</style>");
  EXPECT_TRUE(web.reads.empty()) << "web addresses are not fetched";
}

TEST(PageStyles, HostileSheetsFinish) {
  std::string braces(200000, '{');
  braces += "p { color: red }";
  const Styled nested("<style>" + braces + "</style><p id=p>x");
  EXPECT_FALSE(nested.Of("p").Authored(preview::CssProperty::Color)) << "the rule sits inside an open block";

  std::string media;
  for (int i = 0; i < 1000; ++i) media += "@media screen {";
  media += "p { color: #000001 }";
  EXPECT_EQ(Styled("<style>" + media + "</style><p id=p>x").Of("p").color, platform::Rgb(0, 0, 0))
      << "@media nests eight deep at most";

  const Styled huge("<style>p { font-size: 99999999999px; margin: -1e30px; width: 1e38% }</style><p id=p>x");
  EXPECT_LE(huge.Of("p").fontSize, 1000.0f);

  // A selector of many descendant steps over a deep page: the matcher's budget ends the search.
  std::string selector, page;
  for (int i = 0; i < 30; ++i) selector += "div ";
  for (int i = 0; i < 250; ++i) page += "<div>";
  page += "<p id=p>x";
  const Styled slow("<style>" + selector + "span p { color: red }</style>" + page);
  EXPECT_FALSE(slow.Of("p").Authored(preview::CssProperty::Color));
}

TEST(PageStyles, SheetAddressesAndTheMediaAroundImports) {
  std::map<std::string, std::string> files{{"/site/my sheet.css", ".a { color: #000001 }"},
                                           {"/site/screen.css", "@import 'print.css' print; .b { color: #000002 }"},
                                           {"/site/print.css", ".c { color: #000003 }"},
                                           {"/site/wide.css", ".d { color: #000004 }"}};
  const Styled page(
      "<link rel=stylesheet href='my%20sheet.css?v=2#top'>"
      "<link rel=stylesheet media=screen href=screen.css>"
      "<link rel=stylesheet media='(min-width: 700px)' href=file://wide.css>"
      "<p id=a class=a><p id=b class=b><p id=c class=c><p id=d class=d>",
      files);
  EXPECT_EQ(page.Of("a").color, platform::Rgb(0, 0, 1)) << "the query and fragment are left off, %20 read";
  EXPECT_EQ(page.Of("b").color, platform::Rgb(0, 0, 2));
  EXPECT_FALSE(page.Of("c").Authored(preview::CssProperty::Color)) << "print inside screen holds for neither";
  EXPECT_FALSE(page.Of("d").Authored(preview::CssProperty::Color)) << "600 pixels are not 700";
}
