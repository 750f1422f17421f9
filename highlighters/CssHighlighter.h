// TCssSyn: the scanner for style sheets: selectors, declarations with their properties and values,
// numbers with units, colours, strings, functions, at-rules and comments. Comments and blocks span lines:
// the range remembers a comment left open, whether the scanner stands in a selector, a declaration block,
// a value or an at-rule's prelude, and how deep and of what kind the open blocks are.
#pragma once

#include "highlighters/LineScanner.h"

namespace highlighters {

class TCssSyn : public LineScanner<TCssSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkAtRule = 0,
    tkColor,
    tkComment,
    tkFunction,
    tkNull,
    tkNumber,
    tkProperty,
    tkSelector,
    tkSpace,
    tkString,
    tkSymbol,
    tkValue,
  };
  // Where a token stands: what a word there is.
  enum Context : unsigned { kSelector = 0, kDeclarations, kValue, kRulesPrelude, kDeclarationsPrelude };
  static constexpr const char* kDefaultFilter = "CSS files (*.css)|*.css";
  // The range of the declarations of a style="..." attribute: a value-less declaration block.
  static constexpr RangeValue kDeclarationRange = kDeclarations << 1;

  TCssSyn();

  CharSet WordChars() const override;
  std::string LanguageTitle() const override { return "CSS"; }
  int Capabilities() const override { return kUserSettings | kRegistry; }
  RangeValue RangeState() const override { return state_; }
  void SetRangeState(RangeValue value) override { state_ = static_cast<std::uint16_t>(value & kStateMask); }
  void ResetRangeState() override { state_ = 0; }
  void StartLine(std::string_view text, int lineNumber) override {
    url_ = kNoUrl;
    LineScanner::StartLine(text, lineNumber);
  }
  void NextToken() override;

  TqeHighLightAttributes* AtRuleAttri;
  TqeHighLightAttributes* ColorAttri;
  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* FunctionAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* PropertyAttri;
  TqeHighLightAttributes* SelectorAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;
  TqeHighLightAttributes* ValueAttri;

 private:
  // The state's bits: 0 a comment is open, 1 to 3 the context, 4 to 6 the depth of open blocks (0 to 7),
  // 7 to 9 whether blocks 1 to 3 hold declarations (deeper ones are taken to).
  static constexpr unsigned kCommentBit = 1, kContextShift = 1, kDepthShift = 4, kKindShift = 7;
  static constexpr unsigned kMaxDepth = 7, kKindLevels = 3;
  static constexpr std::uint16_t kStateMask = 0x3FF;

  unsigned ContextNow() const { return (state_ >> kContextShift) & 7; }
  void SetContext(unsigned context) {
    state_ = static_cast<std::uint16_t>((state_ & ~(7u << kContextShift)) | (context << kContextShift));
  }
  unsigned Depth() const { return (state_ >> kDepthShift) & 7; }
  bool LevelHoldsDeclarations(unsigned level) const {
    return level > kKindLevels || (state_ >> (kKindShift + level - 1)) & 1;
  }
  // The context a block's content starts in, or that follows a statement inside it.
  unsigned ContextOfLevel(unsigned level) const {
    return level > 0 && LevelHoldsDeclarations(level) ? kDeclarations : kSelector;
  }
  void OpenBlock();
  void CloseBlock();

  void ContinueCommentHere();
  void CommentFrom(std::size_t from);
  void Word();
  void Number();
  void Hash();
  void Dot();
  void Colon();
  void AtKeyword();
  void Bang();
  void SelectorCharacter();
  void SignOrSymbol();
  void Quoted();
  void UnquotedAddress();
  void Slash();
  void Less();
  void OpenBrace() { Take(tkSymbol, 1), OpenBlock(); }
  void CloseBrace() { Take(tkSymbol, 1), CloseBlock(); }
  void Semicolon();
  void Symbol() { Take(tkSymbol, 1); }
  // A nested rule's selector starting inside a declaration block.
  void StartNestedSelector() {
    if (ContextNow() == kDeclarations) SetContext(kSelector);
  }
  // The identifier characters from run: letters, digits, '-', '_', bytes above 127 and escapes.
  std::size_t IdentifierEnd(std::size_t from) const;
  // The kind of a word in the current context.
  std::uint8_t WordKind() const;

  // How far an url( has come: its name was the last token, or its '(' was.
  enum UrlStep : std::uint8_t { kNoUrl, kUrlName, kUrlParen };

  std::uint16_t state_ = 0;
  UrlStep url_ = kNoUrl;
};

}  // namespace highlighters
