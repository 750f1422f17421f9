// The CSS scanner: one dispatch table, and handlers that read the context to tell a selector from a
// property from a value.
#include "highlighters/CssHighlighter.h"

#include <array>
#include <string_view>

#include "highlighters/KeywordTable.h"

namespace highlighters {
namespace {

constexpr bool IsIdentifierByte(unsigned char c) { return IsIdentifierChar(c) || c == '-' || c >= 128; }
// The same as a table: one load a character in the scanner's commonest loop.
constexpr auto kIdentifierBytes = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = IsIdentifierByte(static_cast<unsigned char>(c));
  return table;
}();

// The at-rules whose block holds declarations rather than rules; the page's margin boxes (@top-left ...)
// are recognised by their first word.
bool OpensDeclarations(std::string_view name) {
  for (std::string_view rule : {"font-face", "page", "counter-style", "property", "font-palette-values", "viewport",
                                "-ms-viewport", "position-try"})
    if (SameIgnoringAsciiCase(name, rule)) return true;
  for (std::string_view box : {"top-", "bottom-", "left-", "right-"})
    if (name.size() > box.size() && SameIgnoringAsciiCase(name.substr(0, box.size()), box)) return true;
  return false;
}

}  // namespace

TCssSyn::TCssSyn() : LineScanner(tkNull, tkSpace, &Call<&TCssSyn::Symbol>) {
  AtRuleAttri = AddAttribute(tkAtRule, "At rule", platform::kBold);
  ColorAttri = AddAttribute(tkColor, "Color");
  CommentAttri = AddAttribute(tkComment, "Comment", platform::kItalic);
  FunctionAttri = AddAttribute(tkFunction, "Function");
  NumberAttri = AddAttribute(tkNumber, "Number");
  PropertyAttri = AddAttribute(tkProperty, "Property");
  SelectorAttri = AddAttribute(tkSelector, "Selector", platform::kBold);
  SpaceAttri = AddAttribute(tkSpace, "Space");
  StringAttri = AddAttribute(tkString, "String");
  SymbolAttri = AddAttribute(tkSymbol, "Symbol");
  ValueAttri = AddAttribute(tkValue, "Value");
  SetAttributeNotifier();

  OnLetters<&TCssSyn::Word>();
  OnNonAscii<&TCssSyn::Word>();
  On<&TCssSyn::Word>("_\\");
  On<&TCssSyn::SignOrSymbol>("-+");
  On<&TCssSyn::Number>("0123456789");
  On<&TCssSyn::Hash>('#');
  On<&TCssSyn::Dot>('.');
  On<&TCssSyn::Colon>(':');
  On<&TCssSyn::AtKeyword>('@');
  On<&TCssSyn::Bang>('!');
  On<&TCssSyn::SelectorCharacter>("*&");
  On<&TCssSyn::Quoted>("\"'");
  On<&TCssSyn::Slash>('/');
  On<&TCssSyn::Less>('<');
  On<&TCssSyn::OpenBrace>('{');
  On<&TCssSyn::CloseBrace>('}');
  On<&TCssSyn::Semicolon>(';');

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

CharSet TCssSyn::WordChars() const { return CharsOf(IsIdentifierByte); }

void TCssSyn::NextToken() {
  tokenStart_ = run_;
  if (state_ & kCommentBit) return ContinueCommentHere();
  if (url_ == kNoUrl) return Dispatch();
  const UrlStep url = url_;
  url_ = kNoUrl;
  const unsigned char c = At(run_);
  if (url == kUrlName && c == '(') {
    url_ = kUrlParen;
    return Symbol();
  }
  if (url == kUrlParen) {
    if (IsBlank(c)) url_ = kUrlParen;  // url( address ): the address follows the blanks
    if (!(IsBlank(c) || EndsLine(c) || c == '"' || c == '\'' || c == ')')) return UnquotedAddress();
  }
  Dispatch();
}

void TCssSyn::OpenBlock() {
  // A nested @media inside a style rule holds declarations, as the rule does.
  const bool declarations = ContextNow() != kRulesPrelude || (Depth() > 0 && LevelHoldsDeclarations(Depth()));
  const unsigned depth = Depth() < kMaxDepth ? Depth() + 1 : kMaxDepth;
  state_ = static_cast<std::uint16_t>((state_ & ~(7u << kDepthShift)) | (depth << kDepthShift));
  if (depth <= kKindLevels) {
    const unsigned bit = 1u << (kKindShift + depth - 1);
    state_ = static_cast<std::uint16_t>(declarations ? state_ | bit : state_ & ~bit);
  }
  SetContext(declarations ? kDeclarations : kSelector);
}

void TCssSyn::CloseBlock() {
  const unsigned depth = Depth() > 0 ? Depth() - 1 : 0;
  state_ = static_cast<std::uint16_t>((state_ & ~(7u << kDepthShift)) | (depth << kDepthShift));
  SetContext(ContextOfLevel(depth));
}

// Inside a comment an earlier line or token left open: a line end is a line end as ever.
void TCssSyn::ContinueCommentHere() {
  if (EndsLine(At(run_))) return Dispatch();
  CommentFrom(run_);
}

void TCssSyn::CommentFrom(std::size_t from) {
  kind_ = tkComment;
  if (CloseSlashStar(from))
    state_ &= ~kCommentBit;
  else
    state_ |= kCommentBit;
}

std::size_t TCssSyn::IdentifierEnd(std::size_t from) const {
  std::size_t i = from;
  for (;;) {
    while (kIdentifierBytes[At(i)]) ++i;
    if (At(i) != '\\' || EndsLine(At(i + 1))) return i;
    i += 2;
  }
}

std::uint8_t TCssSyn::WordKind() const {
  switch (ContextNow()) {
    case kSelector:
      return tkSelector;
    case kDeclarations:
      return tkProperty;
    default:
      return tkValue;
  }
}

// A word: a selector, a property or a value by the context, a function's name before '('.
void TCssSyn::Word() {
  const std::size_t end = IdentifierEnd(run_ + (At(run_) == '\\' ? 0 : 1));
  if (end == run_) return Symbol();  // a backslash before the line's end
  const std::string_view word(line_.data() + run_, end - run_);
  const unsigned context = ContextNow();
  if (At(end) == '(' && context != kSelector && context != kDeclarations) {
    kind_ = tkFunction;
    if (SameIgnoringAsciiCase(word, "url")) url_ = kUrlName;
  } else {
    kind_ = WordKind();
  }
  run_ = end;
}

// Digits with a fraction, an exponent, and a unit or '%'.
void TCssSyn::Number() {
  kind_ = tkNumber;
  if (At(run_) == '-' || At(run_) == '+') ++run_;
  while (IsDigit(At(run_))) ++run_;
  if (At(run_) == '.' && IsDigit(At(run_ + 1))) {
    ++run_;
    while (IsDigit(At(run_))) ++run_;
  }
  if ((At(run_) == 'e' || At(run_) == 'E') &&
      (IsDigit(At(run_ + 1)) || ((At(run_ + 1) == '-' || At(run_ + 1) == '+') && IsDigit(At(run_ + 2)))))
    run_ += 2;
  while (IsDigit(At(run_))) ++run_;
  if (At(run_) == '%')
    ++run_;
  else if (IsIdentifierByte(At(run_)) && At(run_) != '-')
    run_ = IdentifierEnd(run_);
}

// '-' or '+' before a number signs it; "-->" closes an HTML comment around the sheet; a '-' before a
// name starts the name (-webkit-box, --custom).
void TCssSyn::SignOrSymbol() {
  const unsigned char next = At(run_ + 1);
  if (IsDigit(next) || (next == '.' && IsDigit(At(run_ + 2)))) {
    if (ContextNow() != kSelector || At(run_) == '-') return Number();
  }
  if (At(run_) == '-') {
    if (StandsAt(run_, "-->")) return Take(tkSymbol, 3);
    if (IsIdentifierByte(next) || next == '\\') return Word();
  }
  Symbol();
}

// An id in a selector; in a value a colour when 3, 4, 6 or 8 hexadecimal digits follow, else a value.
void TCssSyn::Hash() {
  const std::size_t end = IdentifierEnd(run_ + 1);
  if (end == run_ + 1) return Symbol();
  StartNestedSelector();
  const unsigned context = ContextNow();
  if (context == kSelector) {
    kind_ = tkSelector;
  } else {
    const std::size_t digits = end - run_ - 1;
    bool hex = digits == 3 || digits == 4 || digits == 6 || digits == 8;
    for (std::size_t i = run_ + 1; hex && i < end; ++i) hex = IsHexDigit(At(i));
    kind_ = hex ? tkColor : tkValue;
  }
  run_ = end;
}

// A class in a selector; a number such as .5; otherwise a symbol.
void TCssSyn::Dot() {
  if (IsDigit(At(run_ + 1))) return Number();
  const std::size_t end = IdentifierEnd(run_ + 1);
  if (end == run_ + 1) return Symbol();
  StartNestedSelector();
  if (ContextNow() != kSelector) return Symbol();
  kind_ = tkSelector;
  run_ = end;
}

// A pseudo-class or pseudo-element in a selector; after a property, the colon that starts its value.
void TCssSyn::Colon() {
  const unsigned context = ContextNow();
  if (context == kSelector) {
    const std::size_t from = run_ + (At(run_ + 1) == ':' ? 2 : 1);
    const std::size_t end = IdentifierEnd(from);
    if (end > from) {
      kind_ = tkSelector;
      run_ = end;
      return;
    }
  } else if (context == kDeclarations) {
    SetContext(kValue);
  }
  Symbol();
}

void TCssSyn::AtKeyword() {
  const std::size_t end = IdentifierEnd(run_ + 1);
  if (end == run_ + 1) return Symbol();
  const std::string_view name(line_.data() + run_ + 1, end - run_ - 1);
  SetContext(OpensDeclarations(name) ? kDeclarationsPrelude : kRulesPrelude);
  kind_ = tkAtRule;
  run_ = end;
}

// "!important" (blanks may stand after the '!') is part of the value.
void TCssSyn::Bang() {
  std::size_t i = run_ + 1;
  while (IsBlank(At(i))) ++i;
  const std::size_t end = IdentifierEnd(i);
  if (ContextNow() != kValue || end == i) return Symbol();
  kind_ = tkValue;
  run_ = end;
}

// '*' (any element) and '&' (the parent rule) are selectors where a selector may stand.
void TCssSyn::SelectorCharacter() {
  StartNestedSelector();
  Take(ContextNow() == kSelector ? tkSelector : tkSymbol, 1);
}

// A string ends at its closing quote or the line's end; a backslash keeps the character after it inside.
void TCssSyn::Quoted() { QuotedLiteral(tkString, At(run_), kBackslashQuote); }

// url( address ) without quotes: the address up to ')', a blank or the line's end is one string.
void TCssSyn::UnquotedAddress() {
  kind_ = tkString;
  while (!EndsLine(At(run_)) && !IsBlank(At(run_)) && At(run_) != ')') ++run_;
}

void TCssSyn::Slash() {
  if (At(run_ + 1) == '*') return CommentFrom(run_ + 2);
  Symbol();
}

// "<!--" around a sheet inside a page is one symbol.
void TCssSyn::Less() { Take(tkSymbol, StandsAt(run_, "<!--") ? 4 : 1); }

// A ';' ends a declaration, or an at-rule statement such as @import.
void TCssSyn::Semicolon() {
  const unsigned context = ContextNow();
  if (context == kValue) SetContext(kDeclarations);
  if (context == kRulesPrelude || context == kDeclarationsPrelude) SetContext(ContextOfLevel(Depth()));
  Symbol();
}

}  // namespace highlighters
