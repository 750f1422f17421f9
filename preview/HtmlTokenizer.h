// The page reader: characters from a page (line ends folded to CR, tabs to spaces, comments stripped,
// include directives expanded) and the tokens made of them (tags with attributes, text runs, entities).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"
#include "preview/HtmlNames.h"

namespace preview {

struct TAttribute {
  Attr kind = Attr::Unknown;
  int value = 0;
  std::string text;
};

// The attributes of the last tag that keeps them; lookups answer the first of a kind.
class TAttributeList {
 public:
  const TAttribute* Find(Attr kind) const;
  const std::vector<TAttribute>& Items() const { return items_; }
  void Add(TAttribute attribute) { items_.push_back(std::move(attribute)); }
  void Clear() { items_.clear(); }

 private:
  std::vector<TAttribute> items_;
};

// Called for an include directive "<!--#COMMAND NAME="value" ... -->" with the upper-cased command and
// the NAME="value" strings; text it leaves in buffer is read before the rest of the page.
using TIncludeType =
    std::function<void(const std::string& command, const std::vector<std::string>& params, std::string& buffer)>;

enum class TokenKind { StartTag, EndTag, Text, OtherChar, UnknownTag, EndOfFile, EndOfLine };

constexpr int kEndChar = 26;  // what the reader returns at the end of the input, for ever

class THtmlTokenizer {
 public:
  // input must outlive the tokenizer.
  explicit THtmlTokenizer(std::string_view input, TIncludeType include = {});
  void Start() { ReadChar(); }
  // True once a comment was found open at the end of the input. The input ends where that comment
  // starts, so everything before it, up to the last character, is still read and shown.
  bool OpenCommentAtEnd() const { return openComment_; }

  void NextHtmlToken();
  // The reading modes inside TEXTAREA and SCRIPT bodies: CR is EndOfLine, and only the body's own end
  // tag ends it.
  void NextTextAreaToken();
  void NextScriptToken();

  // The token just read.
  TokenKind kind = TokenKind::EndOfFile;
  Tag tag = Tag::Html;  // for StartTag and EndTag
  std::string text;     // at most 150 bytes for a name, 100 for a text run
  int headingLevel = 0;
  TAttributeList attributes;
  // For every tag token, known or not: the name in lower case ("h1" for a heading), whether it is an end
  // tag, and the offset of its "<" in the input (npos inside included text).
  std::string name;
  bool closing = false;
  std::size_t tagPos = std::string_view::npos;
  // With keepRawAttributes set, every start tag's attributes as written, names in lower case.
  bool keepRawAttributes = false;
  std::vector<std::pair<std::string, std::string>> rawAttributes;
  // A STYLE start tag's body, read up to its end tag as it stands (comments kept): the sheet never shows.
  std::string styleText;

  bool IsStart(Tag t) const { return kind == TokenKind::StartTag && tag == t; }
  bool IsEnd(Tag t) const { return kind == TokenKind::EndTag && tag == t; }

  // Set by the parser: white space kept as written inside PRE; comments kept inside a script.
  bool preformatted = false;
  bool script = false;
  // The page's encoding: entities become its bytes (in UTF-8 any code point, in Windows-1252 one byte).
  platform::TextEncoding encoding = platform::TextEncoding::Cp1252;
  // Owned by the parser's paragraph rule; the tokens that show something clear it.
  bool paragraphSpaceSuppressed = false;

  // Character level, for the parser's PRE and plain-text readers.
  int Ch() const { return ch_; }
  void ReadChar();
  // With "&" current: the entity's text; the character after it becomes current.
  std::string ReadEntity();
  // Skips to and past the next ">" (or to the end).
  void SkipPastTagEnd();

 private:
  int RawGet();
  void RawUnget(int c, std::size_t at) { pending_.push_back({c, at}); }
  void RawUnget(int c) { RawUnget(c, rawPos_); }
  void SkipComment();
  void SkipToCommentEnd();
  void EndInComment();
  void ReadIncludeDirective();
  void SkipBlanks();
  // With a letter current: one attribute "NAME[=VALUE]"; name gets the upper-cased name.
  TAttribute ReadAttribute(std::string& name);
  void ReadValue(TAttribute& attribute);
  void ReadTag();
  void ReadStyleBody();
  void ReadTextRun();
  bool ReadBodyLineEnd();
  void ReadBodyText(bool entities);

  std::string_view input_;
  std::size_t pos_ = 0;
  std::string include_;
  std::size_t includePos_ = 0;
  bool includeActive_ = false;
  bool inDirective_ = false;
  bool openComment_ = false;
  TIncludeType onInclude_;
  struct Pending {
    int c;
    std::size_t at;
  };
  std::vector<Pending> pending_;                 // raw characters read ahead, the last to be read again first
  std::size_t rawPos_ = std::string_view::npos;  // where the raw character just got stands
  std::size_t chPos_ = std::string_view::npos;   // and where the current one does
  int ch_ = kEndChar;
  int upper_ = kEndChar;
};

}  // namespace preview
