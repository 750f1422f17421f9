// TJavaScriptSyn: the scanner for JavaScript: reserved words, identifiers, numbers in every notation,
// strings, template literals with their ${ } substitutions (nested too), regular expressions told apart
// from division by what stands before them, comments and symbols. Block comments, strings continued by a
// backslash and template literals span lines; the range remembers them and the open substitutions.
#pragma once

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

class TJavaScriptSyn : public LineScanner<TJavaScriptSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkComment = 0,
    tkIdentifier,
    tkKey,
    tkNull,
    tkNumber,
    tkRegexp,
    tkSpace,
    tkString,
    tkSymbol,
    tkTemplate,
    tkValueKey,  // this, super, true, false, null, undefined: reserved words after which '/' divides
  };
  static constexpr const char* kDefaultFilter = "JavaScript files (*.js,*.mjs)|*.js;*.mjs";

  TJavaScriptSyn();

  CharSet WordChars() const override;
  std::string LanguageTitle() const override { return "JavaScript"; }
  int Capabilities() const override { return kUserSettings | kRegistry; }
  RangeValue RangeState() const override { return state_; }
  void SetRangeState(RangeValue value) override { state_ = static_cast<std::uint16_t>(value & kStateMask); }
  void ResetRangeState() override { state_ = 0; }
  void StartLine(std::string_view text, int lineNumber) override {
    regexpMayStart_ = true;
    LineScanner::StartLine(text, lineNumber);
  }
  void NextToken() override;

  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* RegexpAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;
  TqeHighLightAttributes* TemplateAttri;

 private:
  // The state's bits: 0 and 1 what a line end left open (kCode, a block comment, a string continued by a
  // backslash in either quote); 2 and 3 how many template literals are open (0 to 3); 4 the scanner stands
  // in the innermost one's text rather than in a substitution; from 5 two bits for each open template, the
  // braces open in its substitution (0 to 3).
  enum Open : unsigned { kCode = 0, kBlockComment, kSingleQuoted, kDoubleQuoted };
  static constexpr unsigned kDepthShift = 2, kInTextBit = 1u << 4, kBraceShift = 5, kMaxDepth = 3, kMaxBraces = 3;
  static constexpr std::uint16_t kStateMask = 0x7FF;

  unsigned OpenNow() const { return state_ & 3; }
  void SetOpen(unsigned open) { state_ = static_cast<std::uint16_t>((state_ & ~3u) | open); }
  unsigned TemplateDepth() const { return (state_ >> kDepthShift) & 3; }
  void SetTemplateDepth(unsigned depth) {
    state_ = static_cast<std::uint16_t>((state_ & ~(3u << kDepthShift)) | (depth << kDepthShift));
  }
  unsigned Braces() const { return (state_ >> (kBraceShift + 2 * (TemplateDepth() - 1))) & 3; }
  void SetBraces(unsigned braces) {
    const unsigned shift = kBraceShift + 2 * (TemplateDepth() - 1);
    state_ = static_cast<std::uint16_t>((state_ & ~(3u << shift)) | (braces << shift));
  }

  void CommentFrom(std::size_t from);
  void StringFrom(std::size_t from, unsigned char quote);
  void TemplateTextFrom(std::size_t from);
  void Slash();
  void Quoted() { StringFrom(run_ + 1, At(run_)); }
  void Backquote();
  void OpenBrace();
  void CloseBrace();
  void Number();
  void Dot();
  void Word();
  void PrivateName();
  void Less();
  void Minus();
  void Symbol() { Take(tkSymbol, 1); }
  void Bang() { Operator(tkSymbol, {"!==", "!="}); }
  void Percent() { Operator(tkSymbol, {"%="}); }
  void Ampersand() { Operator(tkSymbol, {"&&=", "&&", "&="}); }
  void Star() { Operator(tkSymbol, {"**=", "**", "*="}); }
  void Plus() { Operator(tkSymbol, {"++", "+="}); }
  void Equal() { Operator(tkSymbol, {"===", "==", "=>"}); }
  void Greater() { Operator(tkSymbol, {">>>=", ">>>", ">>=", ">>", ">="}); }
  void Question() { Operator(tkSymbol, {"?\?=", "??", "?."}); }
  void Caret() { Operator(tkSymbol, {"^="}); }
  void Bar() { Operator(tkSymbol, {"||=", "||", "|="}); }
  // Whether a regular expression may start after the token just read.
  bool AllowsRegexpAfter() const;

  KeywordTable<TokenKindValue> keywords_;
  std::uint16_t state_ = 0;
  bool regexpMayStart_ = true;
};

}  // namespace highlighters
