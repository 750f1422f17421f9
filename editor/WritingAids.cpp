// The writing aids of a view: tags closed and quotes paired as they are typed (each one undo step with the
// typed character), typing over what was completed, the partner of the tag or bracket at the caret, and
// selecting an element.
#include <algorithm>
#include <cctype>
#include <utility>

#include "editor/CustomEdit.h"
#include "highlighters/HtmlHighlighter.h"

namespace editor {
namespace {

using highlighters::TzrHTMLSyn;

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(start[i])))
      return false;
  return true;
}

bool IsHtmlSymbol(const TokenAtByte& token) { return token.html && token.kind == TzrHTMLSyn::tkSymbol; }

}  // namespace

// A completion after the caret is moved over as it is typed again; one before it (the name after "</")
// swallows the same characters typed next, since people type on out of habit.
bool TqeCustomEdit::TypeOverCompletion(char character) {
  if (typedOver_.empty()) return false;
  const std::string_view line = lines_.Get(caret_.line - 1);
  const int at = caret_.column - 1;
  const int textAt = typedOverAhead_ ? at : at - static_cast<int>(typedOver_.size());
  const bool inPlace = caret_ == typedOverAt_ && !HasSelection() && textAt >= 0 &&
                       textAt <= static_cast<int>(line.size()) && line.substr(textAt, typedOver_.size()) == typedOver_;
  if (!inPlace) {
    typedOver_.clear();
    return false;
  }
  // Other text typed before a completion after the caret pushes it on (the value inside `""`).
  if (character != typedOver_[0]) {
    if (!typedOverAhead_) typedOver_.clear();
    return false;
  }
  typedOver_.erase(0, 1);
  if (typedOverAhead_) SetCaretXY({caret_.column + 1, caret_.line});
  typedOverAt_ = caret_;
  return true;
}

void TqeCustomEdit::MarkCompleted(std::string_view text, bool ahead) {
  typedOver_ = std::string(text);
  typedOverAt_ = caret_;
  typedOverAhead_ = ahead;
}

std::optional<std::string> TqeCustomEdit::StartTagEndingAt(int line, int end) {
  DocumentOutline& outline = document_.Outline();
  const auto& events = outline.Events(line - 1);
  for (int i = 0; i < static_cast<int>(events.size()); ++i)
    if (events[i].kind == OutlineKind::StartTag && events[i].to == end) return outline.WrittenName({line, i});
  // A tag begun on an earlier line, ended by this '>' (not "/>").
  if (outline.CarriedTagEnd(line - 1) != end - 1 || (end >= 2 && lines_.Get(line - 1)[end - 2] == '/'))
    return std::nullopt;
  const auto start = outline.TagOpenAtLineStart(line - 1);
  if (!start) return std::nullopt;
  return outline.WrittenName(*start);
}

void TqeCustomEdit::CompleteTyped(char character, TextPoint before) {
  if (!typedOver_.empty() && typedOverAt_ == before && caret_.line == before.line && caret_.column == before.column + 1)
    typedOverAt_ = caret_;
  DocumentOutline& outline = document_.Outline();
  if (!autoCloseTags_ || readOnly_ || HasSelection() || !outline.Markup()) return;
  const std::string_view line = lines_.Get(caret_.line - 1);
  const int at = caret_.column - 1;  // the bytes up to the caret, the typed one last
  if (at < 1 || at > static_cast<int>(line.size()) || line[at - 1] != character) return;
  switch (character) {
    case '>': {
      const auto name = StartTagEndingAt(caret_.line, at);
      if (!name) return;
      const std::string end = "</" + *name + ">";
      if (StartsWithIgnoringCase(line.substr(at), end)) return;
      CompleteWith(end, true);
      // A '<' typed next may start a tag inside: the end tag is not typed over, "</" before it is.
      typedOver_.clear();
      return;
    }
    case '/': {
      if (at < 2 || line[at - 2] != '<') return;
      const TokenAtByte open = outline.TokenAt(caret_.line - 1, at - 2);
      std::optional<std::string> name;
      if (IsHtmlSymbol(open)) {
        name = outline.InnermostOpenElement({at - 1, caret_.line});
      } else if (open.language == "javascript" || open.language == "css") {
        // Inside a script or style "</" is the language's own until the element's name follows; just
        // before the element's end tag it can only be the start of that end tag.
        const std::string element = open.language == "css" ? "style" : "script";
        if (StartsWithIgnoringCase(line.substr(at), "</" + element + ">")) name = element;
      }
      if (!name) return;
      const std::string end = "</" + *name + ">";
      if (StartsWithIgnoringCase(line.substr(at), end)) {
        // "</" typed just before the element's end tag (one put in as its start tag was closed): the
        // caret moves past that end tag instead of writing a second one.
        JoinEndTag(end);
        MarkCompleted(end.substr(2), false);
      } else {
        CompleteWith(*name + ">", false);
      }
      return;
    }
    case '"': {
      int p = at - 2;
      while (p >= 0 && (line[p] == ' ' || line[p] == '\t')) --p;
      if (p < 0 || line[p] != '=' || !IsHtmlSymbol(outline.TokenAt(caret_.line - 1, p))) return;
      CompleteWith("\"", true);
      return;
    }
    default:
      return;
  }
}

void TqeCustomEdit::CompleteWith(std::string_view text, bool caretStays) {
  const TextPoint from = caret_;
  IncPaintLock();
  const TextPoint end = ReplaceSelectionRaw(smNormal, text);
  if (!undoList_.ExtendLastInsert(from, end)) undoList_.AddRecord(UndoInsert, from, smNormal, {}, end);
  if (caretStays) {
    SetCaretXY(from);
    SetSelectionStart(from);
    SetSelectionEnd(from);
  }
  MarkCompleted(text, caretStays);
  DecPaintLock();
}

void TqeCustomEdit::JoinEndTag(const std::string& end) {
  const TextPoint slash{caret_.column - 1, caret_.line};
  IncPaintLock();
  // The typed "/" joins this step: undo puts back the text as it was before it, the end tag after the '<'.
  if (undoList_.LastKind() == UndoInsert) undoList_.TakeRecord();
  undoList_.AddRecord(UndoSelectionReplaced, slash, smNormal, end,
                      {slash.column + static_cast<int>(end.size()), slash.line});
  SetCaretXY(slash);
  SetSelectionStart(slash);
  SetSelectionEnd({slash.column + 1 + static_cast<int>(end.size()), slash.line});
  const TextPoint after = ReplaceSelectionRaw(smNormal, end.substr(1));
  undoList_.AddRecord(UndoInsert, slash, smNormal, {}, after);
  DecPaintLock();
}

TextPoint TqeCustomEdit::ReplaceRange(TextPoint from, TextPoint to, std::string_view text) {
  Activate();
  IncPaintLock();
  selectionMode_ = smNormal;
  SetCaretXY(to);
  SetSelectionStart(from);
  SetSelectionEnd(to);
  const TextPoint end = ReplaceSelectionRecorded(text, UndoSelectionReplaced);
  DecPaintLock();
  return end;
}

void TqeCustomEdit::SetShowMatches(bool on) {
  if (on == showMatches_) return;
  showMatches_ = on;
  shownMatch_.clear();
  InvalidateAll();
  RefreshMatchFrames();
}

TqeCustomEdit::TagMatch TqeCustomEdit::CaretMatch() {
  DocumentOutline& outline = document_.Outline();
  if (!showMatches_ || !outline.HasHighlighter()) return {};
  if (matchCache_.caret == caret_ && matchCache_.generation == outline.Generation()) return matchCache_.match;
  TagMatch match;
  if (const auto place = outline.EventAt(caret_)) {
    match.spans.push_back(outline.Span(*place));
    if (const auto partner = outline.Partner(*place)) {
      match.spans.push_back(outline.Span(*partner));
      match.partner = *partner;
      match.matched = true;
    }
  }
  matchCache_ = {caret_, outline.Generation(), match};
  return match;
}

void TqeCustomEdit::RefreshMatchFrames() {
  if (!showMatches_ || !window_) return;
  const std::vector<TextSpan> before = shownMatch_;
  shownMatch_ = CaretMatch().spans;
  if (before == shownMatch_) return;
  for (const std::vector<TextSpan>* spans : {&before, &std::as_const(shownMatch_)})
    for (const TextSpan& span : *spans) InvalidateLines(span.line, span.line, Area::Text);
}

bool TqeCustomEdit::GoToMatching() {
  const TagMatch match = CaretMatch();
  if (!match.matched) return false;
  DocumentOutline& outline = document_.Outline();
  const OutlineEvent& e = outline.At(match.partner);
  // After a bracket, where the caret names it whatever stands before it; on a tag's name.
  const int column = e.kind == OutlineKind::Bracket ? e.from + 2 : e.nameFrom + 1;
  SetCaretXY({column, match.partner.line});
  SetSelectionStart(caret_);
  SetSelectionEnd(caret_);
  return true;
}

bool TqeCustomEdit::SelectElement() {
  DocumentOutline& outline = document_.Outline();
  std::optional<OutlinePlace> start = outline.EventAt(caret_);
  if (start && outline.At(*start).kind == OutlineKind::EndTag) start = outline.Partner(*start);
  if (!start || outline.At(*start).kind != OutlineKind::StartTag) start = outline.InnermostOpenPlace(caret_);
  // An element left open (a <p> without its end) is not one to select; the one around it may be.
  while (start) {
    const auto end = outline.Partner(*start);
    if (end) {
      const OutlineEvent& last = outline.At(*end);
      const TextPoint from{outline.At(*start).from + 1, start->line};
      const TextPoint to{(last.to >= 0 ? last.to : last.nameTo) + 1, end->line};
      selectionMode_ = smNormal;
      SetCaretXY(to);
      SetSelectionStart(from);
      SetSelectionEnd(to);
      return true;
    }
    start = outline.InnermostOpenPlace({outline.At(*start).from + 1, start->line});
  }
  return false;
}

}  // namespace editor
