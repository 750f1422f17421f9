// TUloJavaSyn: the scanner for Java sources: documentation comments apart from block comments (both may
// span lines), line comments, string and character literals, numbers, the keyword list and the operator
// set with the unsigned shifts.
#pragma once

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

class TUloJavaSyn : public LineScanner<TUloJavaSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkComment = 0,
    tkDocument,
    tkIdentifier,
    tkInvalid,
    tkKey,
    tkNull,
    tkNumber,
    tkSpace,
    tkString,
    tkSymbol,
    tkUnknown,
  };
  enum RangeKind : std::uint8_t { rsComment = 1, rsDocument = 2, rsUnknown = 3 };
  static constexpr const char* kDefaultFilter = "Java files (*.java)|*.java";

  TUloJavaSyn();

  CharSet WordChars() const override;
  std::string LanguageTitle() const override { return "Java"; }
  void NextToken() override;
  void ResetRangeState() override { range_ = rsUnknown; }

  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* DocumentAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* InvalidAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;

 private:
  void Slash();
  void DoubleQuoted() { QuotedLiteral(tkString, '"', kTripleOpens | kBackslashQuote); }
  void CharLiteral() { QuotedLiteral(tkString, '\'', kTripleOpens | kBackslashQuote); }
  void Number();
  void Word();
  void InvalidSymbol() { Take(tkInvalid, 1); }
  void Illegal() { Take(tkUnknown, 1); }
  void Symbol() { Take(tkSymbol, 1); }
  void Bang() { Operator(tkSymbol, {"!="}); }
  void Percent() { Operator(tkSymbol, {"%="}); }
  void Ampersand() { Operator(tkSymbol, {"&&", "&="}); }
  void Star() { Operator(tkSymbol, {"*="}); }
  void Plus() { Operator(tkSymbol, {"++", "+="}); }
  void Minus() { Operator(tkSymbol, {"--", "-="}); }
  void Less() { Operator(tkSymbol, {"<<=", "<<", "<="}); }
  void Equal() { Operator(tkSymbol, {"=="}); }
  void Greater() { Operator(tkSymbol, {">=", ">>=", ">>>=", ">>>", ">>"}); }
  void Caret() { Operator(tkSymbol, {"^="}); }
  void Bar() { Operator(tkSymbol, {"||", "|="}); }

  KeywordTable<TokenKindValue> keywords_;
};

}  // namespace highlighters
