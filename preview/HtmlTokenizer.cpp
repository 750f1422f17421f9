// Reading a page: the character reader with its comment and include handling, then the tokens.
#include "preview/HtmlTokenizer.h"

#include <charconv>

#include "platform/TextBits.h"

namespace preview {
namespace {

constexpr std::size_t kMaxName = 150;
constexpr std::size_t kMaxTextRun = 100;

// The bytes an entity's character takes in a UTF-8 page.
std::string Utf8Of(char32_t code) {
  std::string bytes;
  platform::AppendUtf8(bytes, code);
  return bytes;
}

int Upper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }
bool IsLetter(int upper) { return upper >= 'A' && upper <= 'Z'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsAlnum(int c) { return IsLetter(Upper(c)) || IsDigit(c); }
bool IsBlank(int c) { return c == ' ' || c == '\r'; }

// Bytes a text run collects: everything but the control characters other than CR, and & < >.
bool IsTextChar(int c) { return !(c <= 12 || (c >= 14 && c <= 31) || c == '&' || c == '<' || c == '>'); }

// The tokens that show something end a run of paragraph marks.
bool EndsParagraphRun(TokenKind kind, Tag tag) {
  if (kind == TokenKind::Text) return true;
  if (kind != TokenKind::StartTag) return false;
  switch (tag) {
    case Tag::Br:
    case Tag::H:
    case Tag::Hr:
    case Tag::Img:
    case Tag::Table:
    case Tag::Input:
    case Tag::Textarea:
    case Tag::Select:
      return true;
    default:
      return false;
  }
}

// A decimal number with an optional sign; 0 when text is not one (or does not fit).
int NumberOr0(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value : 0;
}

}  // namespace

const TAttribute* TAttributeList::Find(Attr kind) const {
  for (const TAttribute& a : items_)
    if (a.kind == kind) return &a;
  return nullptr;
}

THtmlTokenizer::THtmlTokenizer(std::string_view input, TIncludeType include)
    : input_(input), onInclude_(std::move(include)) {}

int THtmlTokenizer::RawGet() {
  if (!pending_.empty()) {
    const Pending p = pending_.back();
    pending_.pop_back();
    rawPos_ = p.at;
    return p.c;
  }
  rawPos_ = std::string_view::npos;
  if (includeActive_) {
    if (includePos_ < include_.size()) return static_cast<unsigned char>(include_[includePos_++]);
    includeActive_ = false;
    include_.clear();
  }
  if (pos_ < input_.size()) {
    rawPos_ = pos_;
    return static_cast<unsigned char>(input_[pos_++]);
  }
  return kEndChar;
}

void THtmlTokenizer::ReadChar() {
  for (;;) {
    int c = RawGet();
    const std::size_t at = rawPos_;
    if (c == '\r' || c == '\n') {
      const int next = RawGet();
      if (!((next == '\r' || next == '\n') && next != c)) RawUnget(next);
      c = '\r';
    } else if (c == '\t') {
      c = ' ';
    } else if (c == '<' && !script) {
      const int next = RawGet();
      if (next == '!') {
        SkipComment();
        continue;
      }
      RawUnget(next);
    }
    ch_ = c;
    chPos_ = at;
    upper_ = Upper(c);
    return;
  }
}

// After "<!": a comment "<!-- ... -->", an include directive "<!--#...-->", or a declaration up to ">".
void THtmlTokenizer::SkipComment() {
  const int first = RawGet();
  if (first == '-') {
    const int second = RawGet();
    if (second == '-') {
      // A directive inside included text, or inside a directive's own attributes, is only a comment.
      if (onInclude_ && !includeActive_ && !inDirective_) {
        const int hash = RawGet();
        if (hash == '#') return ReadIncludeDirective();
        RawUnget(hash);
      }
      return SkipToCommentEnd();
    }
    RawUnget(second);
  }
  RawUnget(first);
  for (;;) {
    const int c = RawGet();
    if (c == kEndChar) return EndInComment();
    if (c == '>') return;
  }
}

void THtmlTokenizer::EndInComment() {
  openComment_ = true;
  RawUnget(kEndChar);
}

// "--", more dashes, blanks and line ends, then ">".
void THtmlTokenizer::SkipToCommentEnd() {
  for (;;) {
    int c = RawGet();
    if (c == kEndChar) return EndInComment();
    if (c != '-') continue;
    c = RawGet();
    if (c != '-') {
      RawUnget(c);
      continue;
    }
    do c = RawGet();
    while (c == '-');
    while (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = RawGet();
    if (c == '>') return;
    RawUnget(c);
  }
}

void THtmlTokenizer::ReadIncludeDirective() {
  inDirective_ = true;
  ReadChar();
  std::string command;
  while (IsLetter(upper_)) {
    if (command.size() < kMaxName) command += static_cast<char>(upper_);
    ReadChar();
  }
  std::vector<std::string> params;
  for (SkipBlanks(); IsLetter(upper_); SkipBlanks()) {
    std::string name;
    const TAttribute attribute = ReadAttribute(name);
    params.push_back(name + "=\"" + attribute.text + "\"");
  }
  // The character in hand was read from the raw input, so the search for the comment's end starts with it.
  RawUnget(ch_, chPos_);
  inDirective_ = false;
  SkipToCommentEnd();
  if (openComment_) return;
  std::string buffer;
  onInclude_(command, params, buffer);
  if (!buffer.empty()) {
    include_ = std::move(buffer);
    includePos_ = 0;
    includeActive_ = true;
  }
}

void THtmlTokenizer::SkipBlanks() {
  while (IsBlank(ch_)) ReadChar();
}

void THtmlTokenizer::SkipPastTagEnd() {
  while (ch_ != '>' && ch_ != kEndChar) ReadChar();
  if (ch_ == '>') ReadChar();
}

TAttribute THtmlTokenizer::ReadAttribute(std::string& name) {
  name.clear();
  while (IsLetter(upper_) || ch_ == '-') {
    if (name.size() < kMaxName) name += static_cast<char>(upper_);
    ReadChar();
  }
  TAttribute attribute{FindAttr(name), 0, {}};
  SkipBlanks();
  if (ch_ == '=') {
    ReadChar();
    SkipBlanks();
    ReadValue(attribute);
  } else if (attribute.kind == Attr::Border) {
    attribute.value = 1;
  }
  return attribute;
}

void THtmlTokenizer::ReadValue(TAttribute& attribute) {
  std::string value;
  if (ch_ == '"' || ch_ == '\'') {
    const int quote = ch_;
    ReadChar();
    while (ch_ != quote && ch_ != kEndChar) {
      if (ch_ == '&') {
        value += ReadEntity();
        continue;
      }
      if (ch_ != '\r') value += static_cast<char>(ch_);
      ReadChar();
    }
    if (ch_ == quote) ReadChar();
    value = platform::Trimmed(value);
    std::string_view number = value;
    if (!number.empty() && number.back() == '%') number.remove_suffix(1);
    attribute.value = NumberOr0(number);
  } else if (ch_ == '+' || ch_ == '-' || IsDigit(ch_)) {
    while (!IsBlank(ch_) && ch_ != '>' && ch_ != '%' && ch_ != kEndChar) {
      value += static_cast<char>(ch_);
      ReadChar();
    }
    attribute.value = NumberOr0(value);
    if (ch_ == '%') {
      value += '%';
      ReadChar();
    }
  } else {
    while (!IsBlank(ch_) && ch_ != '>' && ch_ != kEndChar) {
      value += static_cast<char>(ch_);
      ReadChar();
    }
  }
  attribute.text = std::move(value);
}

std::string THtmlTokenizer::ReadEntity() {
  ReadChar();
  std::string name;
  if (ch_ == '#') {
    ReadChar();
    while (IsDigit(ch_) && name.size() < 6) {
      name += static_cast<char>(ch_);
      ReadChar();
    }
    const bool semicolon = ch_ == ';';
    if (semicolon) ReadChar();
    const int code = name.empty() ? -1 : NumberOr0(name);
    const int highest = encoding == platform::TextEncoding::Utf8 ? 0x10FFFF : 255;
    if (code >= 0 && code <= highest && (code == 9 || code == 10 || code > 31)) {
      if (code == 9) return " ";
      return encoding == platform::TextEncoding::Utf8 ? Utf8Of(static_cast<char32_t>(code))
                                                      : std::string(1, static_cast<char>(code));
    }
    return "&#" + name + (semicolon ? ";" : "");
  }
  while (IsAlnum(ch_) && name.size() < 7) {
    name += static_cast<char>(ch_);
    ReadChar();
  }
  const bool semicolon = ch_ == ';';
  if (semicolon) ReadChar();
  if (const auto c = FindEntity(name)) {
    return encoding == platform::TextEncoding::Utf8 ? Utf8Of(platform::Cp1252ToUnicode(static_cast<unsigned char>(*c)))
                                                    : std::string(1, *c);
  }
  return "&" + name + (semicolon ? ";" : "");
}

void THtmlTokenizer::ReadTag() {
  const std::size_t at = chPos_;
  ReadChar();
  const bool end = ch_ == '/';
  if (end) ReadChar();
  if (!IsLetter(upper_)) {
    kind = TokenKind::Text;
    text = "<";
    return;
  }
  while (IsLetter(upper_)) {
    if (text.size() < kMaxName) text += static_cast<char>(upper_);
    ReadChar();
  }
  tagPos = at;
  closing = end;
  name = platform::AsciiLower(text);
  // A custom element's name goes on with hyphens and digits; only its letters are looked up.
  if (ch_ == '-')
    while (ch_ == '-' || IsAlnum(ch_)) {
      if (name.size() < kMaxName) name += static_cast<char>(IsLetter(upper_) ? upper_ - 'A' + 'a' : ch_);
      ReadChar();
    }
  const auto found = FindTag(text);
  if (!found || (end && !HasEndTag(*found))) {
    kind = TokenKind::UnknownTag;
  } else {
    kind = end ? TokenKind::EndTag : TokenKind::StartTag;
    tag = *found;
  }
  SkipBlanks();
  headingLevel = 0;
  if (kind != TokenKind::UnknownTag && tag == Tag::H && IsDigit(ch_)) {
    if (ch_ >= '1' && ch_ <= '6') {
      headingLevel = ch_ - '0';
      name += static_cast<char>(ch_);
    }
    ReadChar();
  }
  const bool keep = kind == TokenKind::StartTag && KeepsAttributes(tag);
  if (keep) attributes.Clear();
  const bool keepRaw = keepRawAttributes && !end;
  if (keepRaw) rawAttributes.clear();
  for (SkipBlanks(); IsLetter(upper_); SkipBlanks()) {
    std::string attributeName;
    TAttribute attribute = ReadAttribute(attributeName);
    if (keepRaw) rawAttributes.push_back({platform::AsciiLower(attributeName), attribute.text});
    if (keep) attributes.Add(std::move(attribute));
  }
  if (!end && name == "style") return ReadStyleBody();
  SkipPastTagEnd();
}

void THtmlTokenizer::ReadStyleBody() {
  styleText.clear();
  // The body is read as a script is, so that a sheet wrapped in a comment keeps its rules.
  const bool saved = script;
  script = true;
  SkipPastTagEnd();
  static constexpr std::string_view kEnd = "</style";
  while (ch_ != kEndChar) {
    styleText += static_cast<char>(ch_);
    if (styleText.size() >= kEnd.size() &&
        SameText(std::string_view(styleText).substr(styleText.size() - kEnd.size()), kEnd)) {
      styleText.resize(styleText.size() - kEnd.size());
      break;
    }
    ReadChar();
  }
  script = saved;
  SkipPastTagEnd();
}

void THtmlTokenizer::ReadTextRun() {
  kind = TokenKind::Text;
  while (IsTextChar(ch_) && text.size() < kMaxTextRun) {
    if (IsBlank(ch_) && !preformatted) {
      text += ' ';
      do ReadChar();
      while (IsBlank(ch_));
    } else {
      text += static_cast<char>(ch_);
      ReadChar();
    }
  }
}

void THtmlTokenizer::NextHtmlToken() {
  text.clear();
  if (ch_ == kEndChar) {
    kind = TokenKind::EndOfFile;
  } else if (ch_ == '<') {
    ReadTag();
  } else if (ch_ == '&') {
    kind = TokenKind::Text;
    text = ReadEntity();
  } else if (IsTextChar(ch_)) {
    ReadTextRun();
  } else {
    kind = TokenKind::OtherChar;
    text = std::string(1, static_cast<char>(ch_));
    ReadChar();
  }
  if (EndsParagraphRun(kind, tag)) paragraphSpaceSuppressed = false;
}

// The start both body modes share: the end of the input and each line end are tokens of their own.
bool THtmlTokenizer::ReadBodyLineEnd() {
  text.clear();
  if (ch_ == kEndChar) {
    kind = TokenKind::EndOfFile;
    return true;
  }
  if (ch_ != '\r') return false;
  kind = TokenKind::EndOfLine;
  ReadChar();
  return true;
}

// Body text up to a line end, a "<" (and a "&" when entities count), at most 100 bytes.
void THtmlTokenizer::ReadBodyText(bool entities) {
  kind = TokenKind::Text;
  while (ch_ != '\r' && ch_ != '<' && ch_ != kEndChar && !(entities && ch_ == '&') && text.size() < kMaxTextRun) {
    text += static_cast<char>(ch_);
    ReadChar();
  }
}

void THtmlTokenizer::NextTextAreaToken() {
  if (ReadBodyLineEnd()) return;
  if (ch_ == '<') {
    tagPos = chPos_;
    do {
      text += static_cast<char>(ch_);
      ReadChar();
    } while (!IsBlank(ch_) && ch_ != '>' && ch_ != kEndChar);
    kind = SameText(text, "</textarea") ? TokenKind::EndTag : TokenKind::UnknownTag;
    closing = kind == TokenKind::EndTag;
    tag = Tag::Textarea;
  } else if (ch_ == '&') {
    kind = TokenKind::Text;
    text = ReadEntity();
  } else {
    ReadBodyText(true);
  }
}

void THtmlTokenizer::NextScriptToken() {
  if (ReadBodyLineEnd()) return;
  if (ch_ == '<') {
    tagPos = chPos_;
    text = "<";
    ReadChar();
    while ((IsLetter(upper_) || ch_ == '/') && text.size() < 8) {
      text += static_cast<char>(ch_);
      ReadChar();
    }
    if (ch_ == '>') {
      text += '>';
      ReadChar();
    }
    kind = SameText(text, "</script>") ? TokenKind::EndTag : TokenKind::UnknownTag;
    closing = kind == TokenKind::EndTag;
    tag = Tag::Script;
  } else {
    ReadBodyText(false);
  }
}

}  // namespace preview
