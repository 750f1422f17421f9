// Reading a line's outline from the highlighter's tokens, and the walks over the cached lines.
#include "editor/DocumentOutline.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "highlighters/HtmlHighlighter.h"
#include "highlighters/PageScanner.h"
#include "platform/TextBits.h"

namespace editor {
namespace {

using highlighters::TzrHTMLSyn;

constexpr std::array<std::string_view, 16> kVoidElements = {"area",  "base",  "br",       "col",  "embed", "hr",
                                                            "img",   "input", "link",     "meta", "param", "source",
                                                            "track", "wbr",   "basefont", "frame"};

bool IsBracket(char c) { return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}'; }
bool OpensBracket(char c) { return c == '(' || c == '[' || c == '{'; }
char PartnerOf(char c) {
  switch (c) {
    case '(':
      return ')';
    case ')':
      return '(';
    case '[':
      return ']';
    case ']':
      return '[';
    case '{':
      return '}';
    default:
      return '{';
  }
}

OutlineEvent Mark(OutlineKind kind, int from) {
  OutlineEvent event;
  event.kind = kind;
  event.from = from;
  return event;
}

OutlineEvent Bracket(char bracket, int at) {
  OutlineEvent event = Mark(OutlineKind::Bracket, at);
  event.bracket = bracket;
  event.to = at + 1;
  return event;
}

// The kind that ends what a comment's or block's start begins, and the other way round.
OutlineKind PartnerKind(OutlineKind kind) {
  switch (kind) {
    case OutlineKind::CommentStart:
      return OutlineKind::CommentEnd;
    case OutlineKind::CommentEnd:
      return OutlineKind::CommentStart;
    case OutlineKind::BlockStart:
      return OutlineKind::BlockEnd;
    case OutlineKind::BlockEnd:
      return OutlineKind::BlockStart;
    default:
      return kind;
  }
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

bool IsVoidElement(std::string_view lowerName) {
  return std::find(kVoidElements.begin(), kVoidElements.end(), lowerName) != kVoidElements.end();
}

void DocumentOutline::SetHighlighter(highlighters::TqeCustomHighLighter* highlighter) {
  highlighter_ = highlighter;
  pageScanner_ = dynamic_cast<highlighters::PageScanner*>(highlighter) != nullptr;
  markup_ = pageScanner_ || dynamic_cast<TzrHTMLSyn*>(highlighter) != nullptr;
  Reset();
}

void DocumentOutline::Reset() {
  entries_.Reset(lines_.Count());
  ++generation_;
}

void DocumentOutline::LineChanged(int index) {
  if (!entries_.Changed(index)) return Reset();
  ++generation_;
}

void DocumentOutline::LineInserted(int index) {
  if (!entries_.Inserted(index)) return Reset();
  ++generation_;
}

void DocumentOutline::LineDeleted(int index) {
  if (!entries_.Deleted(index)) return Reset();
  ++generation_;
}

DocumentOutline::Entry& DocumentOutline::Fresh(int index) {
  // A store changed behind the outline's back (a load) is read again whole.
  if (entries_.Size() != lines_.Count()) Reset();
  return entries_.Fresh(lines_, index, [this](int i, Entry& entry) { Read(i, entry); });
}

const std::vector<OutlineEvent>& DocumentOutline::Events(int index) { return Fresh(index).events; }
int DocumentOutline::CarriedTagEnd(int index) { return Fresh(index).carriedTagEnd; }

std::optional<OutlinePlace> DocumentOutline::TagOpenAtLineStart(int index) {
  // Walking back, the nearest line with a tag decides, unless a line between ends a tag first.
  for (int l = index - 1; l >= 0; --l) {
    const auto& events = Events(l);
    if (!events.empty()) {
      const OutlineEvent& last = events.back();
      if (last.kind != OutlineKind::StartTag || last.to != -1) return std::nullopt;
      return OutlinePlace{l + 1, static_cast<int>(events.size()) - 1};
    }
    if (CarriedTagEnd(l) >= 0) return std::nullopt;
  }
  return std::nullopt;
}

std::string DocumentOutline::WrittenName(OutlinePlace place) {
  const OutlineEvent& e = At(place);
  return std::string(lines_.Get(place.line - 1).substr(e.nameFrom, e.nameTo - e.nameFrom));
}

std::string_view DocumentOutline::TokenLanguage() const {
  if (pageScanner_) {
    const auto region = static_cast<const highlighters::PageScanner*>(highlighter_)->TokenRegion();
    if (region == highlighters::PageScanner::Language::kPhp) return "php";
  }
  return highlighter_->TokenLanguage();
}

void DocumentOutline::StartScan(int index, RangeSlot slot) {
  if (slot == kUnscannedSlot)
    highlighter_->ResetRangeState();
  else
    highlighter_->SetRangeState(slot);
  highlighter_->StartLine(lines_.Get(index), index);
}

TokenAtByte DocumentOutline::TokenAt(int index, int byte) {
  TokenAtByte found;
  if (!highlighter_ || index < 0 || index >= lines_.Count()) return found;
  StartScan(index, lines_.Slot(index));
  for (auto& scanner = *highlighter_; !scanner.AtLineEnd(); scanner.NextToken()) {
    const int from = scanner.TokenPosition(), to = from + static_cast<int>(scanner.TokenText().size());
    if (byte < from || byte >= to) continue;
    found.language = TokenLanguage();
    found.html = markup_ && (!pageScanner_ || found.language.empty());
    found.kind = scanner.TokenKind();
    break;
  }
  return found;
}

void DocumentOutline::ForEachToken(int index, const std::function<void(const LineToken&)>& visit) {
  if (!highlighter_ || index < 0 || index >= lines_.Count()) return;
  StartScan(index, lines_.Slot(index));
  for (auto& scanner = *highlighter_; !scanner.AtLineEnd(); scanner.NextToken()) {
    const highlighters::TqeHighLightAttributes* attribute = scanner.TokenAttribute();
    visit({scanner.TokenText(), scanner.TokenPosition(), scanner.TokenKind(),
           markup_ && (!pageScanner_ || TokenLanguage().empty()),
           attribute ? std::string_view(attribute->Name()) : std::string_view()});
  }
}

void DocumentOutline::Read(int index, Entry& entry) {
  entry.events.clear();
  entry.carriedTagEnd = -1;
  if (!highlighter_) return;
  auto& scanner = *highlighter_;
  StartScan(index, lines_.Slot(index));

  int tagStart = -1;  // the '<' of the tag being read on this line
  int openTag = -1;   // its event, when it has a name
  bool sawTagOnLine = false;
  bool slashBeforeEnd = false;  // the last token inside the tag ended with '/'
  auto push = [&](OutlineEvent event) { entry.events.push_back(std::move(event)); };
  for (; !scanner.AtLineEnd(); scanner.NextToken()) {
    const std::string_view token = scanner.TokenText();
    const int at = scanner.TokenPosition();
    const std::string_view language = TokenLanguage();
    const int kind = scanner.TokenKind();
    if (token.empty()) continue;
    const bool html = markup_ && (!pageScanner_ || language.empty());
    if (html && kind == TzrHTMLSyn::tkSymbol && token == "<") {
      tagStart = at;
      openTag = -1;
      slashBeforeEnd = false;
      sawTagOnLine = true;
    } else if (html && (kind == TzrHTMLSyn::tkKey || kind == TzrHTMLSyn::tkUndefKey) && tagStart >= 0 &&
               at == tagStart + 1) {
      std::string_view name = token;
      const bool end = !name.empty() && name.front() == '/';
      if (end) name.remove_prefix(1);
      const bool selfClosing = !name.empty() && name.back() == '/';
      if (selfClosing) name.remove_suffix(1);
      if (name.empty() || !std::isalpha(static_cast<unsigned char>(name.front()))) continue;
      std::string lower = platform::AsciiLower(std::string(name));
      if (IsVoidElement(lower) && !end) continue;
      OutlineEvent event = Mark(end ? OutlineKind::EndTag : OutlineKind::StartTag, tagStart);
      event.nameFrom = at + (end ? 1 : 0);
      event.nameTo = event.nameFrom + static_cast<int>(name.size());
      event.name = std::move(lower);
      openTag = static_cast<int>(entry.events.size());
      slashBeforeEnd = selfClosing;
      push(std::move(event));
    } else if (html && kind == TzrHTMLSyn::tkSymbol && token == ">") {
      if (openTag >= 0) {
        OutlineEvent& event = entry.events[openTag];
        event.to = at + 1;
        // <div/> opens nothing.
        if (slashBeforeEnd && event.kind == OutlineKind::StartTag) entry.events.erase(entry.events.begin() + openTag);
      } else if (!sawTagOnLine && entry.carriedTagEnd < 0) {
        entry.carriedTagEnd = at;
      }
      tagStart = openTag = -1;
    } else if (html && kind == TzrHTMLSyn::tkComment) {
      if (token == "<!--") {
        push(Mark(OutlineKind::CommentStart, at));
      } else if (EndsWith(token, "-->")) {
        if (!entry.events.empty() && entry.events.back().kind == OutlineKind::CommentStart)
          entry.events.pop_back();
        else
          push(Mark(OutlineKind::CommentEnd, at + static_cast<int>(token.size()) - 3));
      }
    } else if ((html && kind == TzrHTMLSyn::tkASP) || language == "php") {
      const bool opens = token.substr(0, 2) == "<%" || token.substr(0, 2) == "<?";
      const bool closes = token.size() >= 2 && (EndsWith(token, "%>") || EndsWith(token, "?>"));
      if (opens && !(closes && token.size() >= 4)) push(Mark(OutlineKind::BlockStart, at));
      if (closes && !opens) {
        if (!entry.events.empty() && entry.events.back().kind == OutlineKind::BlockStart)
          entry.events.pop_back();
        else
          push(Mark(OutlineKind::BlockEnd, at));
      }
      if (!opens && !closes && token.size() == 1 && IsBracket(token[0]) && language == "php")
        push(Bracket(token[0], at));
    } else if (html && tagStart >= 0) {
      // Inside a tag: remember whether it is about to end with "/>" (values keep their slashes).
      slashBeforeEnd = kind != TzrHTMLSyn::tkSpace && kind != TzrHTMLSyn::tkValue && token.back() == '/';
    } else if (!html && token.size() == 1 && IsBracket(token[0])) {
      push(Bracket(token[0], at));
    }
  }
}

std::optional<std::string> DocumentOutline::InnermostOpenElement(TextPoint before) {
  const auto place = InnermostOpenPlace(before);
  if (!place) return std::nullopt;
  return WrittenName(*place);
}

std::optional<OutlinePlace> DocumentOutline::InnermostOpenPlace(TextPoint before) {
  if (!markup_) return std::nullopt;
  std::vector<std::string_view> closed;  // end tags met walking back, the nearest last
  const int lastLine = std::min(before.line, lines_.Count());
  for (int line = lastLine; line >= 1; --line) {
    const auto& events = Events(line - 1);
    for (int i = static_cast<int>(events.size()) - 1; i >= 0; --i) {
      const OutlineEvent& e = events[i];
      if (line == before.line && e.from >= before.column - 1) continue;
      if (e.kind == OutlineKind::EndTag) {
        closed.push_back(e.name);
      } else if (e.kind == OutlineKind::StartTag) {
        const auto match = std::find(closed.rbegin(), closed.rend(), e.name);
        if (match == closed.rend()) return OutlinePlace{line, i};
        // An element closed later; those opened inside it without their end tags were closed with it.
        closed.erase(std::prev(match.base()), closed.end());
      }
    }
  }
  return std::nullopt;
}

std::optional<OutlinePlace> DocumentOutline::EventAt(TextPoint point) {
  if (point.line < 1 || point.line > lines_.Count()) return std::nullopt;
  const auto& events = Events(point.line - 1);
  const int byte = point.column - 1;
  std::optional<OutlinePlace> found;
  for (int i = 0; i < static_cast<int>(events.size()); ++i) {
    const OutlineEvent& e = events[i];
    if (e.kind == OutlineKind::StartTag || e.kind == OutlineKind::EndTag) {
      if (byte >= e.from && byte <= e.nameTo) return OutlinePlace{point.line, i};
    } else if (e.kind == OutlineKind::Bracket) {
      // The bracket before the caret wins over the one after it, as the caret just passed it.
      if (byte == e.from + 1) return OutlinePlace{point.line, i};
      if (byte == e.from) found = OutlinePlace{point.line, i};
    }
  }
  return found;
}

TextSpan DocumentOutline::Span(OutlinePlace place) {
  const OutlineEvent& e = At(place);
  if (e.kind == OutlineKind::StartTag || e.kind == OutlineKind::EndTag)
    return {place.line, e.nameFrom + 1, e.nameTo + 1};
  const int length = e.kind == OutlineKind::Bracket ? 1 : e.kind == OutlineKind::CommentStart ? 4 : 2;
  return {place.line, e.from + 1, e.from + 1 + length};
}

std::optional<OutlinePlace> DocumentOutline::Partner(OutlinePlace place) {
  const OutlineEvent start = At(place);
  const bool forward = start.kind == OutlineKind::StartTag || start.kind == OutlineKind::CommentStart ||
                       start.kind == OutlineKind::BlockStart ||
                       (start.kind == OutlineKind::Bracket && OpensBracket(start.bracket));
  // Tags: a stack of the elements open since the start (walking forward) or closed since it (walking back);
  // the start's own name at the bottom. An element closing one below it on the stack closes the unclosed
  // ones above it too; the start is matched when its own entry goes.
  std::vector<std::string_view> stack{start.name};
  std::string pending;  // brackets met on the way, still to be closed
  const int count = lines_.Count();
  for (int line = place.line; line >= 1 && line <= count; line += forward ? 1 : -1) {
    const auto& events = Events(line - 1);
    const int n = static_cast<int>(events.size());
    int i = line == place.line ? place.index + (forward ? 1 : -1) : (forward ? 0 : n - 1);
    for (; i >= 0 && i < n; i += forward ? 1 : -1) {
      const OutlineEvent& e = events[i];
      switch (start.kind) {
        case OutlineKind::StartTag:
        case OutlineKind::EndTag: {
          const OutlineKind same = start.kind, other = forward ? OutlineKind::EndTag : OutlineKind::StartTag;
          if (e.kind == same) {
            stack.push_back(e.name);
          } else if (e.kind == other) {
            const auto match = std::find(stack.rbegin(), stack.rend(), e.name);
            // Walking forward, an end tag of none of them closes an element around the start, which was
            // left open; walking back, a start tag of none of them is an element left open inside.
            if (match == stack.rend()) {
              if (forward) return std::nullopt;
              continue;
            }
            if (match == std::prev(stack.rend())) return OutlinePlace{line, i};
            // The unclosed elements above the one found close with it.
            stack.erase(std::prev(match.base()), stack.end());
          }
          break;
        }
        case OutlineKind::Bracket:
          // Brackets opened on the way close on the way; a pair that does not fit is a mismatch.
          if (e.kind != OutlineKind::Bracket) break;
          if (OpensBracket(e.bracket) == OpensBracket(start.bracket)) {
            pending.push_back(e.bracket);
          } else if (!pending.empty()) {
            if (PartnerOf(e.bracket) != pending.back()) return std::nullopt;
            pending.pop_back();
          } else {
            if (e.bracket != PartnerOf(start.bracket)) return std::nullopt;
            return OutlinePlace{line, i};
          }
          break;
        default:  // a comment's or block's start or end: the nearest of the other
          if (e.kind == PartnerKind(start.kind)) return OutlinePlace{line, i};
          break;
      }
    }
  }
  return std::nullopt;
}

const std::vector<FoldRegion>& DocumentOutline::Regions() {
  if (!RegionsStale()) return regions_;
  regions_.clear();
  // One walk with a stack of what is open: tags by name (an end tag closes the unclosed ones inside it),
  // brackets, comments and blocks. A region is kept when it ends on a later line than it starts.
  struct Open {
    OutlineKind kind;
    char bracket;
    int line;
    std::string_view name;
  };
  std::vector<Open> open;
  // Closes the nearest open entry that fits, and whatever was opened after it.
  auto closeNearest = [&](int line, auto fits) {
    for (std::size_t at = open.size(); at-- > 0;) {
      if (!fits(open[at])) continue;
      if (line > open[at].line) regions_.push_back({open[at].line, line});
      open.resize(at);
      return;
    }
  };
  const int count = lines_.Count();
  for (int line = 1; line <= count; ++line) {
    for (const OutlineEvent& e : Events(line - 1)) {
      switch (e.kind) {
        case OutlineKind::StartTag:
        case OutlineKind::CommentStart:
        case OutlineKind::BlockStart:
          open.push_back({e.kind, 0, line, e.name});
          break;
        case OutlineKind::Bracket:
          if (OpensBracket(e.bracket)) {
            open.push_back({e.kind, e.bracket, line, {}});
          } else if (!open.empty() && open.back().kind == OutlineKind::Bracket &&
                     open.back().bracket == PartnerOf(e.bracket)) {
            closeNearest(line, [](const Open&) { return true; });
          }
          break;
        case OutlineKind::EndTag:
          // Whatever is still open inside the element (unclosed elements, a brace without its partner)
          // ends with it.
          closeNearest(line, [&](const Open& o) { return o.kind == OutlineKind::StartTag && o.name == e.name; });
          break;
        case OutlineKind::CommentEnd:
        case OutlineKind::BlockEnd:
          closeNearest(line, [&](const Open& o) { return o.kind == PartnerKind(e.kind); });
          break;
      }
    }
  }
  std::sort(regions_.begin(), regions_.end(), [](const FoldRegion& a, const FoldRegion& b) {
    return a.first != b.first ? a.first < b.first : a.last > b.last;
  });
  regionsGeneration_ = generation_;
  return regions_;
}

}  // namespace editor
