// DocumentOutline: what the writing aids read from a document: per line, the start and end tags, the
// comments and server blocks that open or close there, and the brackets of scripts and styles, taken
// from the bound highlighter's tokens (so a tag inside a comment, a script or a value is no tag, exactly
// as the colours show it). Lines are read again only when they or their start states changed; tags are
// matched, the innermost open element found and fold regions gathered over those cached lines.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/EditList.h"
#include "editor/EditTypes.h"
#include "editor/LineCache.h"
#include "highlighters/CustomHighlighter.h"

namespace editor {

enum class OutlineKind : std::uint8_t { StartTag, EndTag, CommentStart, CommentEnd, BlockStart, BlockEnd, Bracket };

// One thing on a line. Columns are 0-based bytes of the line.
struct OutlineEvent {
  OutlineKind kind = OutlineKind::StartTag;
  char bracket = 0;              // for Bracket: one of ()[]{}
  int from = 0;                  // the '<', the comment's or block's first byte, the bracket
  int nameFrom = 0, nameTo = 0;  // a tag's name
  int to = -1;                   // after the tag's '>' (or the bracket), -1 while the tag goes on past the line
  std::string name;              // a tag's name in lower case
};

// A place in the text: a line (1-based) and an event of it.
struct OutlinePlace {
  int line = 0;
  int index = 0;
};

// A span of the text for showing: 1-based line, [from, to) 1-based columns.
struct TextSpan {
  int line = 0;
  int from = 0, to = 0;
  friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// The token of a line that holds a byte: whether the markup scanner read it itself (not an embedded
// language), its kind as that scanner numbers them, its language and its bytes [from, to).
struct TokenAtByte {
  bool html = false;
  int kind = -1;
  std::string language;
  int from = 0, to = 0;
};

struct FoldRegion {
  int first = 0, last = 0;  // 1-based lines: the one that stays shown, and the last one hidden
};

class DocumentOutline {
 public:
  explicit DocumentOutline(const TqeEditList& lines) : lines_(lines) {}

  // The scanner read by; a markup scanner (HTML, a page) gives tags, comments and server blocks, any other
  // only brackets. None: nothing at all.
  void SetHighlighter(highlighters::TqeCustomHighLighter* highlighter);
  bool Markup() const { return markup_; }
  bool HasHighlighter() const { return highlighter_ != nullptr; }

  // What the document changed; lines are read again when next asked for.
  void Reset();
  void LineChanged(int index);
  void LineInserted(int index);
  void LineDeleted(int index);

  // The events of a line (0-based index).
  const std::vector<OutlineEvent>& Events(int index);
  // The '>' on a line that ends a start tag opened on an earlier line: its byte, or -1.
  int CarriedTagEnd(int index);
  // The start tag begun on an earlier line that is still open where a line (0-based) starts.
  std::optional<OutlinePlace> TagOpenAtLineStart(int index);
  // A tag's name as the text writes it.
  std::string WrittenName(OutlinePlace place);

  TokenAtByte TokenAt(int index, int byte);
  // One token of a line as the colours read it: whether the markup scanner read it itself, its kind as
  // that scanner numbers them, and the name of the attribute it is painted with.
  struct LineToken {
    std::string_view text;
    int from = 0;
    int kind = -1;
    bool html = false;
    std::string_view attribute;
  };
  void ForEachToken(int index, const std::function<void(const LineToken&)>& visit);
  // A change counter: equal counts, equal text.
  unsigned Generation() const { return generation_; }

  // The innermost element still open before a point (1-based), by its name as written; none when every
  // element before it is closed.
  std::optional<std::string> InnermostOpenElement(TextPoint before);
  // Its start tag.
  std::optional<OutlinePlace> InnermostOpenPlace(TextPoint before);
  // The tag or bracket at a point: the event whose name the point is on or just after, or the bracket just
  // before or at it.
  std::optional<OutlinePlace> EventAt(TextPoint point);
  // The partner of a start or end tag, a bracket or a comment's or block's start or end; none when it has
  // none (an unclosed element, a stray end tag, a lone bracket).
  std::optional<OutlinePlace> Partner(OutlinePlace place);
  const OutlineEvent& At(OutlinePlace place) { return Events(place.line - 1)[place.index]; }
  // The span an event covers on its line (a tag's name, a bracket).
  TextSpan Span(OutlinePlace place);

  // Every region over lines, in order of first line (the outer before the inner).
  const std::vector<FoldRegion>& Regions();
  // The regions as last gathered, and whether the text changed since.
  const std::vector<FoldRegion>& LastRegions() const { return regions_; }
  bool RegionsStale() const { return regionsGeneration_ != generation_ || entries_.Size() != lines_.Count(); }

 private:
  struct Entry {
    int carriedTagEnd = -1;
    std::vector<OutlineEvent> events;
  };
  Entry& Fresh(int index);
  void StartScan(int index, RangeSlot slot);
  // The current token's language: empty for the markup scanner's own, "php" also in a PHP file.
  std::string_view TokenLanguage() const;
  void Read(int index, Entry& entry);

  const TqeEditList& lines_;
  highlighters::TqeCustomHighLighter* highlighter_ = nullptr;
  bool markup_ = false;
  bool pageScanner_ = false;
  LineCache<Entry> entries_;
  // Bumped by every change; the regions are gathered again when it moved on.
  unsigned generation_ = 1;
  unsigned regionsGeneration_ = 0;
  std::vector<FoldRegion> regions_;
};

// Elements that never have an end tag.
bool IsVoidElement(std::string_view lowerName);

}  // namespace editor
