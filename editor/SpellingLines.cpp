// Spelling per line: the line's prose bytes kept in place (everything else blanked), split into words,
// each word asked of the check.
#include "editor/SpellingLines.h"

#include <algorithm>
#include <string>

#include "highlighters/HtmlHighlighter.h"
#include "platform/Cp1252.h"
#include "platform/TextBits.h"

namespace editor {
namespace {

using highlighters::TzrHTMLSyn;

enum class CharClass { Blank, Letter, Digit, Apostrophe, Other };

// The class of the character at text[at] and its length in bytes.
CharClass ClassAt(std::string_view text, std::size_t at, platform::TextEncoding encoding, int& length) {
  const auto byte = static_cast<unsigned char>(text[at]);
  length = platform::CharacterLength(text, at, encoding);
  if (byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n' || byte == '\f' || byte == '\v')
    return CharClass::Blank;
  if (byte == '\'') return CharClass::Apostrophe;
  if (byte >= '0' && byte <= '9') return CharClass::Digit;
  if (byte == '_') return CharClass::Digit;  // an identifier's: never a word
  if (byte < 0x80) return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z' ? CharClass::Letter : CharClass::Other;
  if (encoding == platform::TextEncoding::Cp1252) {
    if (byte == 0x92) return CharClass::Apostrophe;
    if (byte == 0xA0) return CharClass::Blank;
    return platform::Cp1252IsAlphaNumeric(byte) ? CharClass::Letter : CharClass::Other;
  }
  const char32_t code = platform::DecodeUtf8At(text, at);
  if (code == 0x2019) return CharClass::Apostrophe;
  if (code == 0xA0 || code == 0x2002 || code == 0x2003 || code == 0x2009 || code == 0x202F || code == 0x3000)
    return CharClass::Blank;
  // Latin-1's signs, general punctuation and the replacement mark are no letters; other scripts are.
  if ((code >= 0x80 && code <= 0xBF) || code == 0xD7 || code == 0xF7 || (code >= 0x2000 && code <= 0x206F) ||
      code == platform::kReplacementCharacter)
    return CharClass::Other;
  return CharClass::Letter;
}

bool IsCapital(std::string_view text, std::size_t at, platform::TextEncoding encoding) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) return byte >= 'A' && byte <= 'Z';
  if (encoding == platform::TextEncoding::Cp1252) return platform::Cp1252Lower(byte) != byte;
  const char32_t code = platform::DecodeUtf8At(text, at);
  return (code >= 0xC0 && code <= 0xDE && code != 0xD7) || (code >= 0x391 && code <= 0x3A9) ||
         (code >= 0x410 && code <= 0x42F) || (code >= 0x100 && code <= 0x17F && code % 2 == 0);
}

// Addresses, and paths (two slashes or more: "/usr/bin/perl", not "and/or").
bool IsAddress(std::string_view run) {
  return run.find("://") != std::string_view::npos || run.find('@') != std::string_view::npos ||
         std::count(run.begin(), run.end(), '/') >= 2 ||
         (run.size() > 4 && platform::AsciiLower(std::string(run.substr(0, 4))) == "www.");
}

// The words of one run without blanks.
void WordsOfRun(std::string_view text, std::size_t from, std::size_t to, platform::TextEncoding encoding,
                std::vector<WordSpan>& out) {
  std::size_t at = from;
  while (at < to) {
    int length;
    CharClass kind = ClassAt(text, at, encoding, length);
    if (kind == CharClass::Other || kind == CharClass::Apostrophe) {
      // A backslash takes the letter after it: "\n" in a string is no word.
      at += text[at] == '\\' && at + 1 < to ? 2 : length;
      continue;
    }
    // A word: letters and digits, with apostrophes between them.
    const std::size_t start = at;
    std::size_t end = at;
    bool digits = false;
    int letters = 0, capitals = 0;
    while (at < to) {
      kind = ClassAt(text, at, encoding, length);
      if (kind == CharClass::Letter) {
        ++letters;
        if (IsCapital(text, at, encoding)) ++capitals;
      } else if (kind == CharClass::Digit) {
        digits = true;
      } else if (kind != CharClass::Apostrophe) {
        break;
      }
      at += length;
      if (kind != CharClass::Apostrophe) end = at;
    }
    if (!digits && letters > 0 && !(capitals >= 2 && capitals == letters))
      out.push_back({static_cast<int>(start), static_cast<int>(end)});
  }
}

// Whether an entity stands for a letter (&eacute;): the word it sits in is then not checked, since its
// bytes are not the letter's.
bool LetterEntity(std::string_view entity) {
  static constexpr std::string_view kPunctuation[] = {"&nbsp;",  "&amp;",   "&lt;",     "&gt;",   "&quot;", "&apos;",
                                                      "&mdash;", "&ndash;", "&hellip;", "&copy;", "&reg;"};
  if (entity.starts_with("&#")) return false;
  for (std::string_view name : kPunctuation)
    if (entity == name) return false;
  return true;
}

bool IsProseAttribute(std::string_view lowerName) {
  return lowerName == "alt" || lowerName == "title" || lowerName == "placeholder";
}

}  // namespace

std::vector<WordSpan> SpellableWords(std::string_view text, platform::TextEncoding encoding) {
  std::vector<WordSpan> words;
  std::size_t at = 0;
  while (at < text.size()) {
    int length;
    if (ClassAt(text, at, encoding, length) == CharClass::Blank) {
      at += length;
      continue;
    }
    const std::size_t start = at;
    while (at < text.size() && ClassAt(text, at, encoding, length) != CharClass::Blank) at += length;
    if (!IsAddress(text.substr(start, at - start))) WordsOfRun(text, start, at, encoding, words);
  }
  return words;
}

void SpellingLines::SetCheck(WordCheck check) {
  check_ = std::move(check);
  Reset();
}

void SpellingLines::Reset() {
  entries_.Clear();
  if (!check_) return;
  entries_.Reset(lines_.Count());
  WorkFrom(0);
}

void SpellingLines::WorkFrom(int index) {
  if (index < nextUnchecked_) nextUnchecked_ = index;
  if (pending_ || !check_) return;
  pending_ = true;
  if (OnWorkAdded) OnWorkAdded();
}

void SpellingLines::LineChanged(int index) {
  if (check_ && entries_.Changed(index)) WorkFrom(index);
}

void SpellingLines::LineInserted(int index) {
  if (check_ && entries_.Inserted(index)) WorkFrom(index);
}

void SpellingLines::LineDeleted(int index) {
  if (check_ && entries_.Deleted(index)) WorkFrom(index);
}

const std::vector<WordSpan>& SpellingLines::Fresh(int index) {
  // A store changed behind our back (a load) is checked again whole.
  if (entries_.Size() != lines_.Count()) Reset();
  return entries_.Fresh(lines_, index, [this](int i, std::vector<WordSpan>& misspelt) { Read(i, misspelt); });
}

const std::vector<WordSpan>& SpellingLines::Misspelt(int index) {
  static const std::vector<WordSpan> kNone;
  if (!check_ || index < 0 || index >= lines_.Count()) return kNone;
  return Fresh(index);
}

bool SpellingLines::CheckSome(std::chrono::microseconds budget) {
  pending_ = false;
  if (!check_) return false;
  const auto until = std::chrono::steady_clock::now() + budget;
  while (nextUnchecked_ < lines_.Count()) {
    Fresh(nextUnchecked_++);
    if ((nextUnchecked_ & 15) == 0 && std::chrono::steady_clock::now() >= until) break;
  }
  pending_ = nextUnchecked_ < lines_.Count();
  return pending_;
}

void SpellingLines::Read(int index, std::vector<WordSpan>& misspelt) {
  misspelt.clear();
  const std::string_view line = lines_.Get(index);
  std::string prose;
  if (!outline_.HasHighlighter()) {
    prose = line;
  } else {
    // The line with what is not prose blanked, so the words keep their places.
    prose.assign(line.size(), ' ');
    const bool markup = outline_.Markup();
    std::string attributeName;  // the attribute a value belongs to, in lower case
    outline_.ForEachToken(index, [&](const DocumentOutline::LineToken& token) {
      bool keep = false;
      if (markup) {
        if (!token.html) return;
        if (token.kind == TzrHTMLSyn::tkIdentifier) attributeName = platform::AsciiLower(std::string(token.text));
        keep =
            token.kind == TzrHTMLSyn::tkText || (token.kind == TzrHTMLSyn::tkValue && IsProseAttribute(attributeName));
        if (token.kind == TzrHTMLSyn::tkAmpersand && LetterEntity(token.text))
          prose.replace(token.from, token.text.size(), token.text.size(), '0');
      } else {
        keep = token.attribute == "Comment" || token.attribute == "String";
      }
      if (keep) prose.replace(token.from, token.text.size(), token.text);
    });
  }
  for (const WordSpan& word : SpellableWords(prose, encoding_))
    if (!check_(std::string_view(prose).substr(word.from, word.to - word.from))) misspelt.push_back(word);
}

}  // namespace editor
