// PhpBlockScanner: the PHP code between "<?php" and "?>": comments, the PHP 8 keywords without regard to
// case, variables, identifiers, numbers, strings, heredocs and nowdocs, and symbols. It paints with the
// attributes of the PHP highlighter that owns it and never sees the tags, which the page scanner cuts off.
// Block comments, strings and heredocs span lines; a heredoc's identifier is kept in a table of the
// identifiers seen, and the range holds its index there.
#pragma once

#include <string>
#include <vector>

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

struct PhpAttributes {
  TqeHighLightAttributes* comment;
  TqeHighLightAttributes* heredoc;
  TqeHighLightAttributes* identifier;
  TqeHighLightAttributes* key;
  TqeHighLightAttributes* number;
  TqeHighLightAttributes* space;
  TqeHighLightAttributes* string;
  TqeHighLightAttributes* symbol;
  TqeHighLightAttributes* variable;
};

class PhpBlockScanner : public LineScanner<PhpBlockScanner> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkComment = 0,
    tkHeredoc,
    tkIdentifier,
    tkKey,
    tkNull,
    tkNumber,
    tkSpace,
    tkString,
    tkSymbol,
    tkTag,  // "<?php", "<?=" and "?>", which the page scanner reads
    tkVariable,
  };

  explicit PhpBlockScanner(const PhpAttributes& attributes);

  CharSet WordChars() const override;
  RangeValue RangeState() const override { return state_; }
  void SetRangeState(RangeValue value) override { state_ = static_cast<std::uint16_t>(value & kStateMask); }
  void ResetRangeState() override { state_ = 0; }
  void NextToken() override;

 private:
  // The state's bits: 0 to 2 what a line end left open, 3 to 9 the heredoc's identifier: its index in
  // heredocIds_, or kAnyIdentifier once the table is full, when any identifier alone on a line closes it.
  enum Open : unsigned { kCode = 0, kBlockComment, kSingleQuoted, kDoubleQuoted, kHeredocBody };
  static constexpr unsigned kIdShift = 3, kAnyIdentifier = 127;
  static constexpr std::uint16_t kStateMask = 0x3FF;

  unsigned OpenNow() const { return state_ & 7; }
  void SetOpen(unsigned open) { state_ = static_cast<std::uint16_t>((state_ & ~7u) | open); }
  unsigned IdIndex(std::string_view id);

  void CommentFrom(std::size_t from);
  void StringFrom(std::size_t from, unsigned char quote);
  void HeredocLine();
  void Slash();
  void Hash();
  void Quoted() { StringFrom(run_ + 1, At(run_)); }
  void Dollar();
  void Word();
  void Number() { PrefixedNumber(tkNumber); }
  void Dot();
  void Less();
  void Symbol() { Take(tkSymbol, 1); }
  void Minus() { Operator(tkSymbol, {"->", "--", "-="}); }
  void Equal() { Operator(tkSymbol, {"===", "==", "=>"}); }
  void Bang() { Operator(tkSymbol, {"!==", "!="}); }
  void Greater() { Operator(tkSymbol, {">>=", ">>", ">="}); }
  void Question() { Operator(tkSymbol, {"?\?=", "??", "?->"}); }
  void Colon() { Operator(tkSymbol, {"::"}); }
  void Ampersand() { Operator(tkSymbol, {"&&", "&="}); }
  void Bar() { Operator(tkSymbol, {"||", "|="}); }
  void Plus() { Operator(tkSymbol, {"++", "+="}); }
  void Star() { Operator(tkSymbol, {"**=", "**", "*="}); }
  void Percent() { Operator(tkSymbol, {"%="}); }
  // The identifier characters from `from`: letters, digits, '_' and bytes above 127.
  std::size_t IdentifierEnd(std::size_t from) const;

  KeywordTable<TokenKindValue> keywords_;
  std::vector<std::string> heredocIds_;
  std::uint16_t state_ = 0;
};

}  // namespace highlighters
