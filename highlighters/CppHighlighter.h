// TUloCppSyn: the scanner for C and C++ sources: a fixed keyword list with common compiler extensions, block
// comments that span lines, line comments, preprocessor lines, string and character literals, numbers with
// suffixes and the operator set.
#pragma once

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

class TUloCppSyn : public LineScanner<TUloCppSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkAsm = 0,
    tkComment,
    tkDirective,
    tkIdentifier,
    tkKey,
    tkNull,
    tkNumber,
    tkSpace,
    tkString,
    tkSymbol,
    tkUnknown,
  };
  // rsAsm is left behind by the asm keywords; it lasts only to the next token, or to the next line's start.
  enum RangeKind : std::uint8_t { rsComment = 1, rsAsm = 4, rsUnknown = 6 };
  static constexpr const char* kDefaultFilter = "C++ files (*.cpp,*.h,*.hpp)|*.cpp;*.h;*.hpp";

  TUloCppSyn();

  CharSet WordChars() const override;
  std::string LanguageTitle() const override { return "C++"; }
  int Capabilities() const override { return kUserSettings | kRegistry; }
  void NextToken() override;
  void ResetRangeState() override { range_ = rsUnknown; }

  TqeHighLightAttributes* AsmAttri;
  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* DirecAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* InvalidAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;

 private:
  void Slash();
  void Directive() { ToLineEnd(tkDirective); }
  void DoubleQuoted();
  void CharLiteral();
  void Number();
  void Word();
  void Illegal() { Take(tkUnknown, 1); }
  void Symbol() { Take(tkSymbol, 1); }
  void Bang() { Operator(tkSymbol, {"!="}); }
  void Percent() { Operator(tkSymbol, {"%="}); }
  void Ampersand() { Operator(tkSymbol, {"&&", "&="}); }
  void Star() { Operator(tkSymbol, {"*="}); }
  void Plus() { Operator(tkSymbol, {"++", "+="}); }
  void Minus() { Operator(tkSymbol, {"--", "-=", "->"}); }
  void Dot() { Operator(tkSymbol, {"..."}); }
  void Colon() { Operator(tkSymbol, {"::"}); }
  void Less() { Operator(tkSymbol, {"<<=", "<<", "<="}); }
  void Equal() { Operator(tkSymbol, {"=="}); }
  void Greater() { Operator(tkSymbol, {">=", ">>=", ">>"}); }
  void Caret() { Operator(tkSymbol, {"^="}); }
  void Bar() { Operator(tkSymbol, {"||", "|="}); }

  KeywordTable<TokenKindValue> keywords_;
};

}  // namespace highlighters
