// The PHP code scanner: its keywords, dispatch table and the rules for comments, strings and heredocs.
#include "highlighters/PhpBlockScanner.h"

#include <algorithm>
#include <string_view>

namespace highlighters {
namespace {

constexpr std::string_view kKeywords[] = {
    "abstract",   "and",           "array",      "as",         "break",     "callable",   "case",         "catch",
    "class",      "clone",         "const",      "continue",   "declare",   "default",    "do",           "echo",
    "else",       "elseif",        "empty",      "enddeclare", "endfor",    "endforeach", "endif",        "endswitch",
    "endwhile",   "enum",          "eval",       "exit",       "die",       "extends",    "final",        "finally",
    "fn",         "for",           "foreach",    "function",   "global",    "goto",       "if",           "implements",
    "include",    "include_once",  "instanceof", "insteadof",  "interface", "isset",      "list",         "match",
    "namespace",  "new",           "or",         "print",      "private",   "protected",  "public",       "readonly",
    "require",    "require_once",  "return",     "static",     "switch",    "throw",      "trait",        "try",
    "unset",      "use",           "var",        "while",      "xor",       "yield",      "true",         "false",
    "null",       "self",          "parent",     "__CLASS__",  "__DIR__",   "__FILE__",   "__FUNCTION__", "__LINE__",
    "__METHOD__", "__NAMESPACE__", "__TRAIT__",
};

constexpr int kTableSize = 256;

// The caseless hash, with bytes above 127 walked too (they add nothing).
constexpr HashValues kPhpHash = HashTable([](unsigned char c) { return c >= 128 ? 0 : kCaselessHash[c]; });

bool IsPhpIdentifierChar(unsigned char c) { return IsIdentifierChar(c) || c >= 128; }
bool StartsPhpIdentifier(unsigned char c) { return IsLetter(c) || c == '_' || c >= 128; }

}  // namespace

PhpBlockScanner::PhpBlockScanner(const PhpAttributes& attributes)
    : LineScanner(tkNull, tkSpace, &Call<&PhpBlockScanner::Symbol>), keywords_(kTableSize, tkIdentifier, true) {
  PaintWith(tkComment, attributes.comment);
  PaintWith(tkHeredoc, attributes.heredoc);
  PaintWith(tkIdentifier, attributes.identifier);
  PaintWith(tkKey, attributes.key);
  PaintWith(tkNumber, attributes.number);
  PaintWith(tkSpace, attributes.space);
  PaintWith(tkString, attributes.string);
  PaintWith(tkSymbol, attributes.symbol);
  PaintWith(tkVariable, attributes.variable);

  for (std::string_view w : kKeywords) keywords_.Add(HashOf(kPhpHash, w), w, tkKey);

  OnLetters<&PhpBlockScanner::Word>();
  OnNonAscii<&PhpBlockScanner::Word>();
  On<&PhpBlockScanner::Word>('_');
  On<&PhpBlockScanner::Number>("0123456789");
  On<&PhpBlockScanner::Dollar>('$');
  On<&PhpBlockScanner::Slash>('/');
  On<&PhpBlockScanner::Hash>('#');
  On<&PhpBlockScanner::Quoted>("\"'");
  On<&PhpBlockScanner::Dot>('.');
  On<&PhpBlockScanner::Less>('<');
  On<&PhpBlockScanner::Minus>('-');
  On<&PhpBlockScanner::Equal>('=');
  On<&PhpBlockScanner::Bang>('!');
  On<&PhpBlockScanner::Greater>('>');
  On<&PhpBlockScanner::Question>('?');
  On<&PhpBlockScanner::Colon>(':');
  On<&PhpBlockScanner::Ampersand>('&');
  On<&PhpBlockScanner::Bar>('|');
  On<&PhpBlockScanner::Plus>('+');
  On<&PhpBlockScanner::Star>('*');
  On<&PhpBlockScanner::Percent>('%');
  ResetRangeState();
}

CharSet PhpBlockScanner::WordChars() const { return CharsOf(IsPhpIdentifierChar); }

void PhpBlockScanner::NextToken() {
  tokenStart_ = run_;
  if (EndsLine(At(run_))) return Dispatch();
  switch (OpenNow()) {
    case kBlockComment:
      return CommentFrom(run_);
    case kSingleQuoted:
      return StringFrom(run_, '\'');
    case kDoubleQuoted:
      return StringFrom(run_, '"');
    case kHeredocBody:
      return HeredocLine();
    default:
      return Dispatch();
  }
}

unsigned PhpBlockScanner::IdIndex(std::string_view id) {
  const auto found = std::find(heredocIds_.begin(), heredocIds_.end(), id);
  if (found != heredocIds_.end()) return static_cast<unsigned>(found - heredocIds_.begin());
  if (heredocIds_.size() >= kAnyIdentifier) return kAnyIdentifier;
  heredocIds_.emplace_back(id);
  return static_cast<unsigned>(heredocIds_.size() - 1);
}

std::size_t PhpBlockScanner::IdentifierEnd(std::size_t from) const {
  while (IsPhpIdentifierChar(At(from))) ++from;
  return from;
}

void PhpBlockScanner::CommentFrom(std::size_t from) {
  kind_ = tkComment;
  SetOpen(CloseSlashStar(from) ? kCode : kBlockComment);
}

// A string from `from` to its closing quote, over lines; a backslash keeps the character after it inside.
// "${...}" and "{$...}" inside double quotes are part of the string.
void PhpBlockScanner::StringFrom(std::size_t from, unsigned char quote) {
  kind_ = tkString;
  run_ = from;
  SetOpen(quote == '"' ? kDoubleQuoted : kSingleQuoted);
  for (;;) {
    const unsigned char c = At(run_);
    if (EndsLine(c)) return;
    ++run_;
    if (c == quote) {
      SetOpen(kCode);
      return;
    }
    if (c == '\\' && !EndsLine(At(run_))) ++run_;
  }
}

// A line of a heredoc's body, or the line that closes it: blanks and the identifier, not followed by
// another identifier character.
void PhpBlockScanner::HeredocLine() {
  kind_ = tkHeredoc;
  const bool lineStart = run_ == 0 || At(run_ - 1) == 10 || At(run_ - 1) == 13;
  if (lineStart) {
    std::size_t i = run_;
    while (IsBlank(At(i))) ++i;
    const std::size_t end = IdentifierEnd(i);
    if (end > i && StartsPhpIdentifier(At(i))) {
      const unsigned index = (state_ >> kIdShift) & kAnyIdentifier;
      const std::string_view id(line_.data() + i, end - i);
      if (index == kAnyIdentifier || (index < heredocIds_.size() && heredocIds_[index] == id)) {
        run_ = end;
        state_ = kCode;
        return;
      }
    }
  }
  while (!EndsLine(At(run_))) ++run_;
}

// "//" comments run to the line's end (the page scanner ends them at "?>"); "/*" opens a block comment.
void PhpBlockScanner::Slash() {
  if (At(run_ + 1) == '/') return ToLineEnd(tkComment);
  if (At(run_ + 1) == '*') return CommentFrom(run_ + 2);
  Operator(tkSymbol, {"/="});
}

// '#' starts a comment, but "#[" an attribute.
void PhpBlockScanner::Hash() {
  if (At(run_ + 1) == '[') return Take(tkSymbol, 2);
  ToLineEnd(tkComment);
}

// $name and $$name; a '$' before anything else is a symbol.
void PhpBlockScanner::Dollar() {
  std::size_t i = run_ + 1;
  while (At(i) == '$') ++i;
  if (!StartsPhpIdentifier(At(i))) return Symbol();
  kind_ = tkVariable;
  run_ = IdentifierEnd(i);
}

void PhpBlockScanner::Word() {
  int hash = 0;
  const std::size_t end = WalkWord(kPhpHash, hash);
  kind_ = keywords_.Lookup(line_.data() + run_, static_cast<int>(end - run_), hash);
  run_ = end;
}

// ".5" is a number; "...", ".=" and '.' are symbols.
void PhpBlockScanner::Dot() {
  if (IsDigit(At(run_ + 1))) return Number();
  Operator(tkSymbol, {"...", ".="});
}

// "<<<ID", "<<<'ID'" and "<<<\"ID\"" open a heredoc (a nowdoc in single quotes) that runs to the line
// holding ID alone; the rest of the opening line belongs to it.
void PhpBlockScanner::Less() {
  if (StandsAt(run_, "<<<")) {
    std::size_t i = run_ + 3;
    while (IsBlank(At(i))) ++i;
    const unsigned char quote = At(i) == '\'' || At(i) == '"' ? At(i) : 0;
    if (quote) ++i;
    const std::size_t end = IdentifierEnd(i);
    if (end > i && StartsPhpIdentifier(At(i)) && (!quote || At(end) == quote)) {
      const unsigned index = IdIndex(std::string_view(line_.data() + i, end - i));
      state_ = static_cast<std::uint16_t>(kHeredocBody | index << kIdShift);
      Take(tkHeredoc, end + (quote ? 1 : 0) - run_);
      return;
    }
  }
  Operator(tkSymbol, {"<=>", "<<=", "<<", "<=", "<>"});
}

}  // namespace highlighters
