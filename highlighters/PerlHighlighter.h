// TUloPerlSyn: the scanner for Perl scripts: built-in functions and keywords, word operators, pragma names,
// the long names of the special variables, punctuation variables, numbers in several notations, strings,
// comments and the operator set. Every construct ends with its line, so the range stays 0.
#pragma once

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

class TUloPerlSyn : public LineScanner<TUloPerlSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkComment = 0,
    tkIdentifier,
    tkKey,
    tkNull,
    tkNumber,
    tkOperator,
    tkPragma,
    tkSpace,
    tkString,
    tkSymbol,
    tkUnknown,
    tkVariable,
  };
  static constexpr const char* kDefaultFilter = "Perl files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi";

  TUloPerlSyn();

  CharSet WordChars() const override;
  std::string LanguageTitle() const override { return "Perl"; }
  void NextToken() override {
    tokenStart_ = run_;
    Dispatch();
  }
  void ResetRangeState() override { range_ = 0; }

  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* InvalidAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* OperatorAttri;
  TqeHighLightAttributes* PragmaAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;
  TqeHighLightAttributes* VariableAttri;

 private:
  void Comment() { ToLineEnd(tkComment); }
  void DoubleQuoted() { QuotedLiteral(tkString, '"', kTripleOpens | kBackslashQuote); }
  void SingleQuoted();
  void DotOrNumber() { DotsOrNumber(tkSymbol, tkNumber); }
  void Number() { ScriptNumber(tkNumber); }
  void Word();
  void HashedWord();
  void Illegal() { Take(tkUnknown, 1); }
  void Symbol() { Take(tkSymbol, 1); }
  void Bang() { Operator(tkSymbol, {"!=", "!~"}); }
  void Ampersand() { Operator(tkSymbol, {"&&=", "&&", "&="}); }
  void Star() { Operator(tkSymbol, {"**=", "**", "*="}); }
  void Plus() { Operator(tkSymbol, {"++", "+="}); }
  void Minus() { Operator(tkSymbol, {"--", "-=", "->"}); }
  void Slash() { Operator(tkSymbol, {"/="}); }
  void Colon() { Operator(tkSymbol, {"::"}); }
  void Less() { Operator(tkSymbol, {"<<=", "<<", "<=>", "<="}); }
  void Equal() { Operator(tkSymbol, {"==", "=>", "=~"}); }
  void Greater() { Operator(tkSymbol, {">=", ">>=", ">>"}); }
  void Caret() { Operator(tkSymbol, {"^="}); }
  void Bar() { Operator(tkSymbol, {"||=", "||", "|="}); }

  KeywordTable<TokenKindValue> keywords_;
};

}  // namespace highlighters
