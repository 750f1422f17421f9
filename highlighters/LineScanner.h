// LineScanner: what the table-driven scanners share. The current line is kept with a terminating zero, so
// handlers read past a token's last character and stop at the zero; a 256-entry table maps each character
// to the handler of the token it starts. The handlers every language reads alike (end of line, line feed,
// carriage return, runs of blanks, single characters, operators) live here. Derived is the scanner class:
// the per-token loop calls its NextToken directly, without a virtual call, since the editor's rescans spend
// most of their time there.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "highlighters/CustomHighlighter.h"
#include "highlighters/ScanChars.h"

namespace highlighters {

// An attribute with its name and style and the framework's colours.
std::unique_ptr<TqeHighLightAttributes> NewAttribute(std::string name, platform::FontStyle style = 0);

template <typename Derived>
class LineScanner : public TqeCustomHighLighter {
 public:
  bool AtLineEnd() const override { return kind_ == endKind_; }
  RangeValue RangeState() const override { return range_; }
  std::string_view TokenText() const override {
    return std::string_view(line_).substr(tokenStart_, run_ - tokenStart_);
  }
  int TokenKind() const override { return kind_; }
  const TqeHighLightAttributes* TokenAttribute() const override { return attributeOf_[kind_]; }
  int TokenPosition() const override { return static_cast<int>(tokenStart_); }
  void StartLine(std::string_view text, int) override {
    BeginLine(text);
    Self().Derived::NextToken();
  }
  void SetRangeState(RangeValue value) override { range_ = static_cast<std::uint8_t>(value & 0xFF); }
  void ScanToLineEnd() override {
    while (kind_ != endKind_) Self().Derived::NextToken();
  }

 protected:
  // A handler is a plain function, so a call through the table needs none of a member pointer's
  // adjustments; Call<&Derived::Method> makes one of a member function.
  using Handler = void (*)(Derived&);
  template <auto Method>
  static void Call(Derived& scanner) {
    (scanner.*Method)();
  }

  // endKind and spaceKind: the scanner's end-of-line and space token kinds. The table starts with the end
  // of line at 0, line feed, carriage return and blank runs in place and `other` everywhere else.
  LineScanner(std::uint8_t endKind, std::uint8_t spaceKind, Handler other) : endKind_(endKind), spaceKind_(spaceKind) {
    dispatch_.fill(other);
    for (int c = 1; c <= 32; ++c) dispatch_[c] = &Call<&LineScanner::Blanks>;
    dispatch_[0] = &Call<&LineScanner::EndOfLine>;
    dispatch_[10] = &Call<&LineScanner::LineFeed>;
    dispatch_[13] = &Call<&LineScanner::CarriageReturn>;
  }
  // The characters' tokens start with Method.
  template <auto Method>
  void On(std::string_view characters) {
    for (char c : characters) dispatch_[static_cast<unsigned char>(c)] = &Call<Method>;
  }
  template <auto Method>
  void On(unsigned char c) {
    dispatch_[c] = &Call<Method>;
  }
  template <auto Method>
  void OnLetters() {
    for (int c = 0; c < 256; ++c)
      if (IsLetter(static_cast<unsigned char>(c))) dispatch_[c] = &Call<Method>;
  }
  // DEL and the bytes above it: what the older languages read as stray characters.
  template <auto Method>
  void OnHighBytes() {
    for (int c = 127; c < 256; ++c) dispatch_[c] = &Call<Method>;
  }
  // The bytes above 127 alone, which the newer languages take into their words (DEL stays `other`).
  template <auto Method>
  void OnNonAscii() {
    for (int c = 128; c < 256; ++c) dispatch_[c] = &Call<Method>;
  }

  // Registers an attribute under its name and paints the tokens of kind with it.
  TqeHighLightAttributes* AddAttribute(std::uint8_t kind, std::string name, platform::FontStyle style = 0) {
    return attributeOf_[kind] = RegisterAttribute(NewAttribute(std::move(name), style));
  }
  // Paints the tokens of kind with an attribute already registered.
  void PaintWith(std::uint8_t kind, TqeHighLightAttributes* attribute) { attributeOf_[kind] = attribute; }
  const TqeHighLightAttributes* AttributeOf(std::uint8_t kind) const { return attributeOf_[kind]; }

  void BeginLine(std::string_view text) {
    line_.assign(text);
    line_.push_back('\0');
    run_ = 0;
  }
  unsigned char At(std::size_t i) const { return static_cast<unsigned char>(line_[i]); }
  // Runs the handler of the character at run.
  void Dispatch() { dispatch_[At(run_)](Self()); }

  void EndOfLine() { kind_ = endKind_; }
  void LineFeed() { Take(spaceKind_, 1); }
  void CarriageReturn() { Take(spaceKind_, At(run_ + 1) == 10 ? 2 : 1); }
  // The longest run of the codes 1 to 9, 11, 12 and 14 to 32.
  void Blanks() {
    kind_ = spaceKind_;
    ++run_;
    while (IsBlank(At(run_))) ++run_;
  }
  // A token of kind, `length` characters long.
  void Take(std::uint8_t kind, std::size_t length) {
    kind_ = kind;
    run_ += length;
  }
  // Everything to the end of the line.
  void ToLineEnd(std::uint8_t kind) {
    kind_ = kind;
    while (!EndsLine(At(run_))) ++run_;
  }
  // The first of the operators that stands at run, else the character at run alone.
  void Operator(std::uint8_t kind, std::initializer_list<std::string_view> operators) {
    for (std::string_view op : operators) {
      if (StandsAt(run_, op)) {
        Take(kind, op.size());
        return;
      }
    }
    Take(kind, 1);
  }
  // A comment closed by "*/": from position `from` to the line's end, where it stays open, or past the
  // first "*/", which sets the range to `closed`.
  void SlashStarComment(std::uint8_t kind, std::size_t from, std::uint8_t closed) {
    kind_ = kind;
    if (CloseSlashStar(from)) range_ = closed;
  }
  // Moves run from `from` past the first "*/" (true) or to the line's end (false).
  bool CloseSlashStar(std::size_t from) {
    run_ = from;
    while (!EndsLine(At(run_))) {
      if (At(run_) == '*' && At(run_ + 1) == '/') {
        run_ += 2;
        return true;
      }
      ++run_;
    }
    return false;
  }
  // Inside a comment that an earlier line opened: a line end inside it is a line end as ever; otherwise the
  // comment goes on from run.
  void ContinueComment(std::uint8_t kind, std::uint8_t closed) {
    if (EndsLine(At(run_)))
      Dispatch();
    else
      SlashStarComment(kind, run_, closed);
  }
  // A literal from the quote at run to the next `quote` before the line's end, which is taken with it.
  // Rules: kTripleOpens, three quotes open the literal as one; kBackslashQuote, a backslash keeps the quote
  // after it inside; kBackslashLineFeed, a backslash keeps a line feed inside too.
  enum LiteralRule : unsigned { kPlainLiteral = 0, kTripleOpens = 1, kBackslashQuote = 2, kBackslashLineFeed = 4 };
  void QuotedLiteral(std::uint8_t kind, unsigned char quote, unsigned rules) {
    kind_ = kind;
    if ((rules & kTripleOpens) && At(run_ + 1) == quote && At(run_ + 2) == quote) run_ += 2;
    do {
      if (EndsLine(At(run_))) break;
      if (At(run_) == '\\' && (((rules & kBackslashQuote) && At(run_ + 1) == quote) ||
                               ((rules & kBackslashLineFeed) && At(run_ + 1) == 10)))
        ++run_;
      ++run_;
    } while (At(run_) != quote);
    if (!EndsLine(At(run_))) ++run_;
  }
  // At '.': "...", ".." and ".=" are symbols, and so is a '.' before a letter or '_'; anything else is a
  // number starting with the dot.
  void DotsOrNumber(std::uint8_t symbolKind, std::uint8_t numberKind) {
    if (StandsAt(run_, "...")) return Take(symbolKind, 3);
    if (StandsAt(run_, "..") || StandsAt(run_, ".=")) return Take(symbolKind, 2);
    if (IsLetter(At(run_ + 1)) || At(run_ + 1) == '_') return Take(symbolKind, 1);
    ScriptNumber(numberKind);
  }
  // Decimal, hexadecimal and exponent notations as the script languages read them: after the first
  // character, digits, A to F, a to f, 'X', 'x', '_', '.' and '-'; a '-' only before 'e' or 'E', and a '.'
  // not before another '.', where a range operator begins.
  void ScriptNumber(std::uint8_t kind) {
    kind_ = kind;
    ++run_;
    for (;;) {
      const unsigned char c = At(run_);
      if (c == '-') {
        if (At(run_ + 1) != 'e' && At(run_ + 1) != 'E') return;
      } else if (c == '.') {
        if (At(run_ + 1) == '.') return;
      } else if (!(IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == 'X' || c == 'x' ||
                   c == '_')) {
        return;
      }
      ++run_;
    }
  }
  // The numbers of the C-like script languages: 0x, 0o and 0b forms, decimals with a fraction and an
  // exponent, and '_' between digits.
  void PrefixedNumber(std::uint8_t kind) {
    kind_ = kind;
    const unsigned char base = At(run_ + 1) | 0x20;
    if (At(run_) == '0' && (base == 'x' || base == 'o' || base == 'b')) {
      run_ += 2;
      while (IsHexDigit(At(run_)) || At(run_) == '_') ++run_;
      return;
    }
    while (IsDigit(At(run_)) || At(run_) == '_') ++run_;
    if (At(run_) == '.') {
      ++run_;
      while (IsDigit(At(run_)) || At(run_) == '_') ++run_;
    }
    if ((At(run_) | 0x20) == 'e') {
      const std::size_t sign = At(run_ + 1) == '+' || At(run_ + 1) == '-' ? 1 : 0;
      if (IsDigit(At(run_ + 1 + sign))) {
        run_ += 1 + sign;
        while (IsDigit(At(run_)) || At(run_) == '_') ++run_;
      }
    }
  }
  // Where the word at run ends as the hash walks it, and its hash.
  std::size_t WalkWord(const HashValues& values, int& hash) const {
    hash = 0;
    std::size_t i = run_;
    for (int value; (value = values[At(i)]) >= 0; ++i) hash += value;
    return i;
  }
  // Whether text stands at position i; the terminating zero never matches, so nothing past it is read.
  bool StandsAt(std::size_t i, std::string_view text) const {
    for (char c : text)
      if (At(i++) != static_cast<unsigned char>(c)) return false;
    return true;
  }

  std::string line_;  // the line's bytes and a terminating zero
  std::size_t run_ = 0;
  std::size_t tokenStart_ = 0;
  std::uint8_t kind_ = 0;
  std::uint8_t range_ = 0;

 private:
  Derived& Self() { return static_cast<Derived&>(*this); }
  std::array<Handler, 256> dispatch_{};
  // Each token kind's attribute; none for the end of the line.
  std::array<TqeHighLightAttributes*, 256> attributeOf_{};
  std::uint8_t endKind_;
  std::uint8_t spaceKind_;
};

}  // namespace highlighters
