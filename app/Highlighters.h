// The main window's highlighter objects, configured as its form has always configured them.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "highlighters/AwkHighlighter.h"
#include "highlighters/CppHighlighter.h"
#include "highlighters/CssHighlighter.h"
#include "highlighters/HtmlHighlighter.h"
#include "highlighters/JavaHighlighter.h"
#include "highlighters/JavaScriptHighlighter.h"
#include "highlighters/PascalHighlighter.h"
#include "highlighters/PerlHighlighter.h"
#include "highlighters/PhpHighlighter.h"
#include "highlighters/SqlHighlighter.h"
#include "highlighters/VbsHighlighter.h"
#include "highlighters/WebPageHighlighter.h"
#include "platform/Registry.h"

namespace app {

// The languages of the main window, one highlighter each, alive as long as the window. The "HTML" mode
// binds TypePage, which reads a page with TypeHTML (and its colours) and hands its styles, scripts and
// server blocks to TypeCSS, TypeJavaScript, TypeVBS and TypePHP; TypePHP reads the HTML around its blocks
// the same way.
struct MainHighlighters {
  // The SQL scanner reads its saved schemes from the settings store before the form's colours apply.
  explicit MainHighlighters(const platform::Registry& settings);

  highlighters::TzrHTMLSyn TypeHTML;
  highlighters::TUloPerlSyn TypePerl;
  highlighters::TUloCppSyn TypeCPP;
  highlighters::TUloJavaSyn TypeJava;
  highlighters::TpvVbsSyn TypeVBS;
  highlighters::TgxSQLSyn TypeSQL;
  highlighters::TqePasSyn TypePascal;
  highlighters::TzrAWKSyn TypeAWK;
  highlighters::TCssSyn TypeCSS;
  highlighters::TJavaScriptSyn TypeJavaScript;
  highlighters::TPhpSyn TypePHP;
  highlighters::TWebPageSyn TypePage;

  // The highlighter a language drop-down text names, compared exactly ("Perl", "HTML", "C++",
  // "VBScript", "SQL", "Java", "Pascal", "AWK", "CSS", "JavaScript", "PHP"); null for any other text.
  highlighters::TqeCustomHighLighter* ForLanguage(std::string_view text);
  // The drop-down's name of one of them; empty for any other.
  std::string_view LanguageOf(const highlighters::TqeCustomHighLighter* highlighter) const;
  // The highlighter of a file's extension, in any case: .css, .js and .mjs, .php and .phtml, and .htm,
  // .html, .asp and .shtml as HTML; null for any other.
  highlighters::TqeCustomHighLighter* ForFile(std::string_view path);
  // The highlighters that hold colours, by language name: as the drop-down's, HTML's being TypeHTML's
  // (the page binds TypePage, which paints with the colours of the languages it hands over to).
  std::vector<std::pair<std::string_view, highlighters::TqeCustomHighLighter*>> Coloured();

 private:
  // The names in the order the drop-down compares them.
  std::vector<std::pair<std::string_view, highlighters::TqeCustomHighLighter*>> Languages();
};

// TypeHTML's colours: script blocks black on yellow, comments gray italic, attribute names maroon, known
// tags blue bold, unknown tags red bold, values orange, entities lime bold, the rest in window colours.
void ConfigureTypeHTML(highlighters::TzrHTMLSyn& html);

}  // namespace app
