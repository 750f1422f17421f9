// The table of scanners.
#include "highlighters/HighlighterFactory.h"

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

namespace highlighters {
namespace {

template <typename Scanner>
std::unique_ptr<TqeCustomHighLighter> Create() {
  return std::make_unique<Scanner>();
}

template <typename Scanner>
constexpr Language Row(std::string_view name, std::string_view displayName) {
  return {name, displayName, Scanner::kDefaultFilter, &Create<Scanner>};
}

constexpr Language kLanguages[] = {
    Row<TzrHTMLSyn>("html", "HTML"),
    Row<TUloPerlSyn>("perl", "Perl"),
    Row<TUloCppSyn>("cpp", "C++"),
    Row<TUloJavaSyn>("java", "Java"),
    Row<TpvVbsSyn>("vbscript", "VBScript"),
    Row<TgxSQLSyn>("sql", "SQL"),
    Row<TqePasSyn>("pascal", "Pascal"),
    Row<TzrAWKSyn>("awk", "AWK"),
    Row<TCssSyn>("css", "CSS"),
    Row<TJavaScriptSyn>("javascript", "JavaScript"),
    Row<TPhpSyn>("php", "PHP"),
    Row<TWebPageSyn>("webpage", "HTML"),
};

}  // namespace

std::span<const Language> Languages() { return kLanguages; }

std::unique_ptr<TqeCustomHighLighter> CreateHighlighter(std::string_view name) {
  for (const Language& language : kLanguages)
    if (language.name == name) return language.create();
  return nullptr;
}

}  // namespace highlighters
