// The JavaScript scanner: the reserved words, the dispatch table, and the rules for comments, strings,
// templates, regular expressions and numbers.
#include "highlighters/JavaScriptHighlighter.h"

#include <string_view>

namespace highlighters {
namespace {

constexpr std::string_view kKeywords[] = {
    "await", "break", "case",   "catch",      "class",   "const",   "continue", "debugger", "default", "delete",
    "do",    "else",  "enum",   "export",     "extends", "finally", "for",      "function", "if",      "import",
    "in",    "new",   "return", "instanceof", "switch",  "throw",   "try",      "typeof",   "var",     "void",
    "while", "with",  "yield",  "let",        "static",  "async",   "of",       "get",      "set",
};
constexpr std::string_view kValueKeywords[] = {"true", "false", "null", "undefined", "this", "super"};

constexpr int kTableSize = 211;

// The hash walks '$', '_', digits, letters and bytes above 127: A to Z count 1 to 26, a to z 2 to 27,
// the others nothing.
constexpr auto kHash = HashTable([](unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  if (c >= 'a' && c <= 'z') return c - 'a' + 2;
  return IsDigit(c) || c == '_' || c == '$' || c >= 128 ? 0 : -1;
});

}  // namespace

TJavaScriptSyn::TJavaScriptSyn()
    : LineScanner(tkNull, tkSpace, &Call<&TJavaScriptSyn::Symbol>), keywords_(kTableSize, tkIdentifier, false) {
  CommentAttri = AddAttribute(tkComment, "Comment", platform::kItalic);
  IdentifierAttri = AddAttribute(tkIdentifier, "Identifier");
  KeyAttri = AddAttribute(tkKey, "Reserved word", platform::kBold);
  NumberAttri = AddAttribute(tkNumber, "Number");
  RegexpAttri = AddAttribute(tkRegexp, "Regexp");
  SpaceAttri = AddAttribute(tkSpace, "Space");
  StringAttri = AddAttribute(tkString, "String");
  SymbolAttri = AddAttribute(tkSymbol, "Symbol");
  TemplateAttri = AddAttribute(tkTemplate, "Template");
  PaintWith(tkValueKey, KeyAttri);
  SetAttributeNotifier();

  for (std::string_view w : kKeywords) keywords_.Add(HashOf(kHash, w), w, tkKey);
  for (std::string_view w : kValueKeywords) keywords_.Add(HashOf(kHash, w), w, tkValueKey);

  OnLetters<&TJavaScriptSyn::Word>();
  OnNonAscii<&TJavaScriptSyn::Word>();
  On<&TJavaScriptSyn::Word>("$_");
  On<&TJavaScriptSyn::Number>("0123456789");
  On<&TJavaScriptSyn::Dot>('.');
  On<&TJavaScriptSyn::PrivateName>('#');
  On<&TJavaScriptSyn::Slash>('/');
  On<&TJavaScriptSyn::Quoted>("\"'");
  On<&TJavaScriptSyn::Backquote>('`');
  On<&TJavaScriptSyn::OpenBrace>('{');
  On<&TJavaScriptSyn::CloseBrace>('}');
  On<&TJavaScriptSyn::Less>('<');
  On<&TJavaScriptSyn::Minus>('-');
  On<&TJavaScriptSyn::Bang>('!');
  On<&TJavaScriptSyn::Percent>('%');
  On<&TJavaScriptSyn::Ampersand>('&');
  On<&TJavaScriptSyn::Star>('*');
  On<&TJavaScriptSyn::Plus>('+');
  On<&TJavaScriptSyn::Equal>('=');
  On<&TJavaScriptSyn::Greater>('>');
  On<&TJavaScriptSyn::Question>('?');
  On<&TJavaScriptSyn::Caret>('^');
  On<&TJavaScriptSyn::Bar>('|');

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

CharSet TJavaScriptSyn::WordChars() const {
  return CharsOf([](unsigned char c) { return IsIdentifierChar(c) || c == '$' || c >= 128; });
}

void TJavaScriptSyn::NextToken() {
  tokenStart_ = run_;
  if (OpenNow() == kCode && TemplateDepth() == 0) {  // plain code, nothing open: the common case
    Dispatch();
  } else if (EndsLine(At(run_))) {
    return Dispatch();
  } else {
    switch (OpenNow()) {
      case kBlockComment:
        return CommentFrom(run_);
      case kSingleQuoted:
        StringFrom(run_, '\'');
        break;
      case kDoubleQuoted:
        StringFrom(run_, '"');
        break;
      default:
        if (TemplateDepth() > 0 && (state_ & kInTextBit))
          TemplateTextFrom(run_);
        else
          Dispatch();
        break;
    }
  }
  if (run_ > tokenStart_ && kind_ != tkSpace && kind_ != tkComment) regexpMayStart_ = AllowsRegexpAfter();
}

// After an operator or punctuation but ')', ']', "++" and "--"; after a reserved word that is no value;
// after a template's text that opens a substitution.
bool TJavaScriptSyn::AllowsRegexpAfter() const {
  const unsigned char last = At(run_ - 1);
  switch (kind_) {
    case tkKey:
      return true;
    case tkSymbol:
      if (last == ')' || last == ']') return false;
      return !((last == '+' || last == '-') && run_ - tokenStart_ == 2 && At(tokenStart_) == last);
    case tkTemplate:
      return last == '{';
    default:
      return false;
  }
}

// A block comment from `from`, closed on this line or left open for the next.
void TJavaScriptSyn::CommentFrom(std::size_t from) {
  kind_ = tkComment;
  SetOpen(CloseSlashStar(from) ? kCode : kBlockComment);
}

// A string's characters from `from` to its closing quote. A line end ends it, unless a backslash stands
// before it: then the string goes on after it, or on the next line.
void TJavaScriptSyn::StringFrom(std::size_t from, unsigned char quote) {
  kind_ = tkString;
  run_ = from;
  SetOpen(kCode);
  for (;;) {
    const unsigned char c = At(run_);
    if (c == quote) {
      ++run_;
      return;
    }
    if (EndsLine(c)) return;
    if (c == '\\') {
      const unsigned char next = At(run_ + 1);
      if (next == 0) {
        ++run_;
        SetOpen(quote == '"' ? kDoubleQuoted : kSingleQuoted);
        return;
      }
      run_ += next == 13 && At(run_ + 2) == 10 ? 3 : 2;
      continue;
    }
    ++run_;
  }
}

// A template's text from `from`: to its closing backquote, or through the "${" that opens a substitution,
// or to the line's end, where it goes on.
void TJavaScriptSyn::TemplateTextFrom(std::size_t from) {
  kind_ = tkTemplate;
  run_ = from;
  state_ |= kInTextBit;
  for (;;) {
    const unsigned char c = At(run_);
    if (EndsLine(c)) return;
    if (c == '\\' && !EndsLine(At(run_ + 1))) {
      run_ += 2;
    } else if (c == '`') {
      ++run_;
      SetTemplateDepth(TemplateDepth() - 1);
      state_ &= ~kInTextBit;
      return;
    } else if (c == '$' && At(run_ + 1) == '{') {
      run_ += 2;
      state_ &= ~kInTextBit;
      SetBraces(0);
      return;
    } else {
      ++run_;
    }
  }
}

// A backquote opens a template inside the ones already open; past three the innermost is reused.
void TJavaScriptSyn::Backquote() {
  if (TemplateDepth() < kMaxDepth) SetTemplateDepth(TemplateDepth() + 1);
  TemplateTextFrom(run_ + 1);
}

void TJavaScriptSyn::OpenBrace() {
  if (TemplateDepth() > 0 && Braces() < kMaxBraces) SetBraces(Braces() + 1);
  Symbol();
}

// The '}' that closes a substitution goes back to the template's text.
void TJavaScriptSyn::CloseBrace() {
  if (TemplateDepth() == 0) return Symbol();
  if (Braces() > 0) {
    SetBraces(Braces() - 1);
    return Symbol();
  }
  TemplateTextFrom(run_ + 1);
}

// "//" and "/*" comments; a regular expression where an expression may start; else division.
void TJavaScriptSyn::Slash() {
  if (At(run_ + 1) == '/') return ToLineEnd(tkComment);
  if (At(run_ + 1) == '*') return CommentFrom(run_ + 2);
  if (regexpMayStart_) {
    bool inClass = false;
    for (std::size_t i = run_ + 1; !EndsLine(At(i)); ++i) {
      const unsigned char c = At(i);
      if (c == '\\') {
        if (EndsLine(At(i + 1))) break;
        ++i;
      } else if (c == '[') {
        inClass = true;
      } else if (c == ']') {
        inClass = false;
      } else if (c == '/' && !inClass) {
        kind_ = tkRegexp;
        run_ = i + 1;
        while (IsIdentifierChar(At(run_))) ++run_;
        return;
      }
    }
  }
  Operator(tkSymbol, {"/="});
}

// The C-like notations and the BigInt 'n'.
void TJavaScriptSyn::Number() {
  PrefixedNumber(tkNumber);
  if (At(run_) == 'n') ++run_;
}

// ".5" is a number, "..." spread, and any other '.' a symbol.
void TJavaScriptSyn::Dot() {
  if (IsDigit(At(run_ + 1))) return Number();
  Take(tkSymbol, StandsAt(run_, "...") ? 3 : 1);
}

void TJavaScriptSyn::Word() {
  int hash = 0;
  const std::size_t end = WalkWord(kHash, hash);
  kind_ = keywords_.Lookup(line_.data() + run_, static_cast<int>(end - run_), hash);
  run_ = end;
}

// A class's private name, #field.
void TJavaScriptSyn::PrivateName() {
  int hash = 0;
  ++run_;
  const std::size_t end = WalkWord(kHash, hash);
  --run_;
  Take(end > run_ + 1 ? tkIdentifier : tkSymbol, end - run_);
}

// "<!--" starts a comment to the line's end, as browsers read old pages' scripts.
void TJavaScriptSyn::Less() {
  if (StandsAt(run_, "<!--")) return ToLineEnd(tkComment);
  Operator(tkSymbol, {"<<=", "<<", "<="});
}

// "-->" where a line's code begins is a comment to its end, as "<!--" is.
void TJavaScriptSyn::Minus() {
  if (StandsAt(run_, "-->")) {
    bool lineStart = true;
    for (std::size_t i = 0; i < run_ && lineStart; ++i) lineStart = IsBlank(At(i));
    if (lineStart) return ToLineEnd(tkComment);
  }
  Operator(tkSymbol, {"--", "-="});
}

}  // namespace highlighters
