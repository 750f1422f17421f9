// SpellingLines: the misspelt words of each line of a document, for the wavy underlines. What counts as
// prose depends on the bound highlighter: in a page, its text, its title and the values of alt, title and
// placeholder (not tags, attribute names, entities, comments, scripts, styles or server blocks); in a
// script language, its comments and strings; without a highlighter, every line. Lines are checked again
// only when they or their start states changed: what is painted is checked as it is painted, the rest in
// the background by CheckSome, a slice at a time.
#pragma once

#include <chrono>
#include <functional>
#include <string_view>
#include <vector>

#include "editor/DocumentOutline.h"
#include "editor/EditList.h"
#include "editor/LineCache.h"
#include "platform/TextEncoding.h"

namespace editor {

// Bytes [from, to) of a line.
struct WordSpan {
  int from = 0, to = 0;
  friend bool operator==(const WordSpan&, const WordSpan&) = default;
};

// The words of a text worth checking, in order: runs of letters (with apostrophes inside), skipping words
// with digits or underscores, words of two or more capitals only, and addresses (a run without blanks
// holding "://", "@" or two slashes, or starting with "www.").
std::vector<WordSpan> SpellableWords(std::string_view text, platform::TextEncoding encoding);

class SpellingLines {
 public:
  // Whether a word (the document's bytes) is spelt right.
  using WordCheck = std::function<bool(std::string_view word)>;

  SpellingLines(const TqeEditList& lines, DocumentOutline& outline, const platform::TextEncoding& encoding)
      : lines_(lines), outline_(outline), encoding_(encoding) {}

  // No check: spelling is off and nothing is underlined. Every line is checked again either way.
  void SetCheck(WordCheck check);
  bool Enabled() const { return static_cast<bool>(check_); }

  // What the document changed.
  void Reset();
  void LineChanged(int index);
  void LineInserted(int index);
  void LineDeleted(int index);

  // The misspelt words of a line (0-based), checked now when stale.
  const std::vector<WordSpan>& Misspelt(int index);
  // Checks stale lines in order for about budget; true while lines are left unchecked.
  bool CheckSome(std::chrono::microseconds budget);
  // Fires when a line needs checking while none did: a background pass should be started.
  std::function<void()> OnWorkAdded;

 private:
  const std::vector<WordSpan>& Fresh(int index);
  void Read(int index, std::vector<WordSpan>& misspelt);
  void WorkFrom(int index);

  const TqeEditList& lines_;
  DocumentOutline& outline_;
  const platform::TextEncoding& encoding_;
  WordCheck check_;
  LineCache<std::vector<WordSpan>> entries_;
  int nextUnchecked_ = 0;  // lines before it were checked in the background, or since
  bool pending_ = false;
};

}  // namespace editor
