// The page scanner: the stretches of a line and which scanner reads each, the tags that open regions, and
// the server blocks cut out of whatever they interrupt.
#include "highlighters/PageScanner.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/TextBits.h"

namespace highlighters {
namespace {

using Html = TzrHTMLSyn;

constexpr unsigned kHtmlShift = 0, kRegionShift = 3, kTagShift = 5, kAspScriptShift = 7, kBlockShift = 8,
                   kRegionStateShift = 10, kBlockStateShift = 21, kInnerWidth = 11;
constexpr std::size_t kNone = std::string::npos;

bool StartsIgnoringCase(std::string_view text, std::size_t at, std::string_view lower) {
  return text.size() >= at + lower.size() && SameIgnoringAsciiCase(text.substr(at, lower.size()), lower);
}

// A script's type attribute that names JavaScript: none, "module", or a JavaScript media type (with or
// without parameters).
bool IsJavaScriptType(std::string_view value) {
  if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
    const char quote = value.front();
    value.remove_prefix(1);
    if (!value.empty() && value.back() == quote) value.remove_suffix(1);
  }
  const std::string type = platform::Trimmed(value.substr(0, value.find(';')));
  for (std::string_view known :
       {"", "module", "text/javascript", "application/javascript", "text/ecmascript", "application/ecmascript",
        "application/x-javascript", "text/x-javascript", "text/jscript", "text/livescript", "text/babel", "text/jsx"})
    if (SameIgnoringAsciiCase(type, known)) return true;
  return false;
}

}  // namespace

PageScanner::PageScanner(bool phpIsThePage) : phpIsThePage_(phpIsThePage) { ResetRangeState(); }

PageScanner::~PageScanner() {
  for (InnerLink& link : links_)
    if (link.inner) link.inner->RemoveClient(&link);
}

void PageScanner::Bind(const EmbeddedScanners& scanners, PhpBlockScanner& php, const TqeHighLightAttributes* phpTag) {
  scanners_ = scanners;
  php_ = &php;
  phpTag_ = phpTag;
  const std::array<TqeCustomHighLighter*, 4> inner = {scanners.html, scanners.css, scanners.javascript,
                                                      scanners.vbscript};
  for (std::size_t i = 0; i < inner.size(); ++i) {
    links_[i].page = this;
    links_[i].inner = inner[i];
    inner[i]->AddClient(&links_[i]);
  }
}

std::string_view PageScanner::TokenText() const {
  return std::string_view(line_).substr(token_.from, token_.to - token_.from);
}

std::string_view PageScanner::TokenLanguage() const {
  switch (token_.language) {
    case Language::kCss:
      return "css";
    case Language::kJavaScript:
      return "javascript";
    case Language::kVBScript:
      return "vbscript";
    case Language::kPhp:
      return phpIsThePage_ ? "" : "php";
    default:
      return {};
  }
}

void PageScanner::SetBits(unsigned shift, unsigned width, unsigned value) {
  const std::uint32_t mask = ((1u << width) - 1) << shift;
  state_ = (state_ & ~mask) | ((value << shift) & mask);
}

void PageScanner::SetRangeState(RangeValue value) {
  state_ = static_cast<std::uint32_t>(value);
  if (Bits(kRegionShift, 2) == 3) SetBits(kRegionShift, 2, kNoRegion);
  if (Bits(kBlockShift, 2) == 3) SetBits(kBlockShift, 2, kNoBlock);
}

void PageScanner::ResetRangeState() {
  state_ = 0;
  SetBits(kHtmlShift, 3, Html::rsText);
}

void PageScanner::StartLine(std::string_view text, int) {
  line_.assign(text);
  openerFrom_ = regionFrom_ = kNone;
  queued_ = dequeued_ = 0;
  tail_ = {};
  attribute_ = kOtherAttribute;
  styleValue_.scanner = nullptr;
  atEnd_ = false;
  Resume(0);
  NextToken();
}

void PageScanner::NextToken() {
  for (;;) {
    if (dequeued_ < queued_) {
      token_ = queue_[dequeued_++];
      if (dequeued_ == queued_) queued_ = dequeued_ = 0;
      return;
    }
    if (styleValue_.scanner) {
      if (Take(styleValue_)) return;
      EndStyleValue();
      if (styleValueClose_)
        Queue(styleValueClose_, styleValueClose_ + 1, scanners_.html->ValueAttri, Html::tkValue, Language::kHtml);
      continue;
    }
    if (!stretch_.scanner) {
      atEnd_ = true;
      token_ = {line_.size(), line_.size(), nullptr, 0, Language::kHtml};
      return;
    }
    if (!Take(stretch_)) {
      EndStretch();
      continue;
    }
    last_ = token_;
    lastBefore_ = htmlBefore_;
    lastStyle_ = false;
    if (stretch_.role != Role::kHtml || Inspect(htmlBefore_)) return;
  }
}

void PageScanner::Start(Stretch& stretch, TqeCustomHighLighter* scanner, std::size_t from, std::size_t to,
                        Language language, Role role, RangeValue range) {
  stretch = {scanner, from, to, language, role, true};
  scanner->SetRangeState(range);
  scanner->StartLine(std::string_view(line_).substr(from, to - from), 0);
}

bool PageScanner::Take(Stretch& stretch) {
  TqeCustomHighLighter& scanner = *stretch.scanner;
  for (;;) {
    if (stretch.fresh) {
      stretch.fresh = false;
    } else {
      if (stretch.role == Role::kHtml) htmlBefore_ = static_cast<int>(scanner.RangeState());
      scanner.NextToken();
    }
    if (scanner.AtLineEnd()) return false;
    const std::size_t length = scanner.TokenText().size();
    if (length == 0) continue;  // the HTML scanner's empty token after an '&' that starts no entity
    const std::size_t from = stretch.from + static_cast<std::size_t>(scanner.TokenPosition());
    token_ = {from, from + length, scanner.TokenAttribute(), scanner.TokenKind(), stretch.language};
    return true;
  }
}

void PageScanner::Queue(std::size_t from, std::size_t to, const TqeHighLightAttributes* attribute, int kind,
                        Language language) {
  queue_[queued_++] = {from, to, attribute, kind, language};
}

// What runs from `at`: the server block left open, the rest of a value a block cut, the region, or HTML.
void PageScanner::Resume(std::size_t at) {
  if (Bits(kBlockShift, 2) != kNoBlock) return StartBlockBody(at);
  if (tail_.open) return StartQuoteTail(at);
  if (Bits(kRegionShift, 2) != kNoRegion) return StartRegion(at);
  StartHtml(at);
}

void PageScanner::StartHtml(std::size_t at) {
  htmlBefore_ = static_cast<int>(Bits(kHtmlShift, 3));
  Start(stretch_, scanners_.html, at, NextOpener(at), Language::kHtml, Role::kHtml, Bits(kHtmlShift, 3));
}

void PageScanner::StartRegion(std::size_t at) {
  const bool style = Bits(kRegionShift, 2) == kStyleRegion;
  const std::size_t to = std::min(RegionEnd(at), NextOpener(at));
  TqeCustomHighLighter* scanner = style ? static_cast<TqeCustomHighLighter*>(scanners_.css) : scanners_.javascript;
  Start(stretch_, scanner, at, to, style ? Language::kCss : Language::kJavaScript, Role::kRegion,
        Bits(kRegionStateShift, kInnerWidth));
}

// At "<%", "<%=", "<%@", "<?=" or "<?php": the tag, then the block's code.
void PageScanner::StartServerBlock(std::size_t at) {
  const std::size_t length = OpenerLength(at);
  const bool php = line_[at + 1] == '?';
  if (php)
    Queue(at, at + length, phpTag_, PhpBlockScanner::tkTag, Language::kPhp);
  else
    Queue(at, at + length, scanners_.html->ASPAttri, Html::tkASP, Language::kHtml);
  SetBits(kBlockShift, 2, php ? kPhpBlock : kAspBlock);
  SetBits(kBlockStateShift, kInnerWidth, 0);
  if (!php && length == 3 && line_[at + 2] == '@') ReadAspLanguage(at + 3);
  StartBlockBody(at + length);
}

void PageScanner::StartBlockBody(std::size_t at) {
  const bool php = Bits(kBlockShift, 2) == kPhpBlock;
  const std::size_t close = std::min(line_.find(php ? "?>" : "%>", at), line_.size());
  RangeValue range = Bits(kBlockStateShift, kInnerWidth);
  if (php) return Start(stretch_, php_, at, close, Language::kPhp, Role::kServerBlock, range);
  if (Bits(kAspScriptShift, 1))
    return Start(stretch_, scanners_.javascript, at, close, Language::kJavaScript, Role::kServerBlock, range);
  scanners_.vbscript->ResetRangeState();
  range = scanners_.vbscript->RangeState();
  Start(stretch_, scanners_.vbscript, at, close, Language::kVBScript, Role::kServerBlock, range);
}

// The rest of a value or string after the server block that cut it: to its closing quote (or, without
// quotes, a blank or '>'), or to the next block.
void PageScanner::StartQuoteTail(std::size_t at) {
  const std::size_t limit = NextOpener(at);
  const bool escapes = tail_.shown.language != Language::kHtml;
  std::size_t end = at;
  while (end < limit) {
    const unsigned char c = static_cast<unsigned char>(line_[end]);
    if (tail_.quote ? c == tail_.quote : !tail_.toLineEnd && (c <= ' ' || c == '>')) break;
    end += escapes && c == '\\' && end + 1 < limit ? 2 : 1;
  }
  end = std::min(end, limit);
  if (tail_.style) return Start(stretch_, scanners_.css, at, end, Language::kCss, Role::kQuoteTail, tail_.css);
  if (end > at) Queue(at, end, tail_.shown.attribute, tail_.shown.kind, tail_.shown.language);
  EndQuoteTail(end);
}

void PageScanner::EndQuoteTail(std::size_t at) {
  if (at < line_.size() && NextOpener(at) == at) return StartServerBlock(at);  // another block inside it
  tail_.open = false;
  if (tail_.quote && at < line_.size()) {
    Queue(at, at + 1, tail_.shown.attribute, tail_.shown.kind, tail_.shown.language);
    ++at;
  }
  Resume(at);
}

void PageScanner::KeepCutQuote(std::size_t at) {
  if (last_.to != at || last_.from == at) return;
  const std::string_view text = std::string_view(line_).substr(last_.from, at - last_.from);
  const unsigned char first = static_cast<unsigned char>(text.front());
  const unsigned char quote = first == '"' || first == '\'' ? first : 0;
  const bool closed = quote && text.size() > 1 && static_cast<unsigned char>(text.back()) == quote;
  if (closed) return;
  Token shown = last_;
  if (stretch_.role == Role::kHtml) {
    if (last_.kind != Html::tkValue || lastBefore_ != Html::rsValue) return;
    shown = {0, 0, scanners_.html->ValueAttri, Html::tkValue, Language::kHtml};
  } else if (stretch_.language == Language::kJavaScript && last_.kind == TJavaScriptSyn::tkComment &&
             !text.starts_with("/*")) {
    tail_ = {true, 0, true, false, 0, shown};
    return;
  } else {
    const int string = stretch_.language == Language::kCss ? int{TCssSyn::tkString} : int{TJavaScriptSyn::tkString};
    if (!quote || last_.kind != string) return;
  }
  tail_ = {true, quote, false, lastStyle_, tail_.css, shown};
}

void PageScanner::EndStretch() {
  const Stretch& stretch = stretch_;
  const std::size_t to = stretch.to;
  const bool lineEnds = to >= line_.size();
  switch (stretch.role) {
    case Role::kHtml: {
      SetBits(kHtmlShift, 3, static_cast<unsigned>(scanners_.html->RangeState()));
      if (lineEnds) return EndLine();
      KeepCutQuote(to);
      return StartServerBlock(to);
    }
    case Role::kRegion:
      SetBits(kRegionStateShift, kInnerWidth, static_cast<unsigned>(stretch.scanner->RangeState()));
      if (lineEnds) return EndLine();
      if (NextOpener(to) == to) {
        KeepCutQuote(to);
        return StartServerBlock(to);
      }
      SetBits(kRegionShift, 2, kNoRegion);
      SetBits(kRegionStateShift, kInnerWidth, 0);
      SetBits(kHtmlShift, 3, Html::rsText);
      return StartHtml(to);
    case Role::kServerBlock:
      if (lineEnds) {
        if (stretch.language != Language::kVBScript)
          SetBits(kBlockStateShift, kInnerWidth, static_cast<unsigned>(stretch.scanner->RangeState()));
        return EndLine();
      }
      if (stretch.language == Language::kPhp)
        Queue(to, to + 2, phpTag_, PhpBlockScanner::tkTag, Language::kPhp);
      else
        Queue(to, to + 2, scanners_.html->ASPAttri, Html::tkASP, Language::kHtml);
      SetBits(kBlockShift, 2, kNoBlock);
      SetBits(kBlockStateShift, kInnerWidth, 0);
      return Resume(to + 2);
    case Role::kQuoteTail:
      tail_.css = stretch.scanner->RangeState();
      return EndQuoteTail(to);
    case Role::kStyleValue:
      break;
  }
}

void PageScanner::EndLine() { stretch_.scanner = nullptr; }

bool PageScanner::Inspect(int before) {
  if (!Track(token_.kind, token_.from, token_.to, before)) return true;
  lastStyle_ = true;
  StartStyleValue();
  return false;
}

bool PageScanner::Track(int kind, std::size_t from, std::size_t to, int before) {
  const std::string_view text = std::string_view(line_).substr(from, to - from);
  if (kind == Html::tkSymbol) {
    if (text == "<") {
      SetBits(kTagShift, 2, kNoTag);
      attribute_ = kOtherAttribute;
    } else if (text == ">") {
      const unsigned tag = Bits(kTagShift, 2);
      SetBits(kTagShift, 2, kNoTag);
      attribute_ = kOtherAttribute;
      if (tag == kStyleTag || tag == kScriptTag) {
        SetBits(kRegionShift, 2, tag == kStyleTag ? kStyleRegion : kScriptRegion);
        SetBits(kRegionStateShift, kInnerWidth, 0);
        SetBits(kHtmlShift, 3, Html::rsText);
        regionFrom_ = kNone;
        StartRegion(to);
      }
    }
  } else if (before == Html::rsKey && (kind == Html::tkKey || kind == Html::tkUndefKey)) {
    SetBits(kTagShift, 2,
            SameIgnoringAsciiCase(text, "style")    ? kStyleTag
            : SameIgnoringAsciiCase(text, "script") ? kScriptTag
                                                    : kNoTag);
  } else if (kind == Html::tkIdentifier && before == Html::rsParam) {
    attribute_ = SameIgnoringAsciiCase(text, "type")    ? kTypeAttribute
                 : SameIgnoringAsciiCase(text, "style") ? kStyleAttribute
                                                        : kOtherAttribute;
  } else if (kind == Html::tkValue && before == Html::rsValue) {
    const Attribute attribute = std::exchange(attribute_, kOtherAttribute);
    if (attribute == kTypeAttribute && Bits(kTagShift, 2) == kScriptTag && !IsJavaScriptType(text))
      SetBits(kTagShift, 2, kOtherScriptTag);
    return attribute == kStyleAttribute;
  }
  return false;
}

// The rescan's loop, which needs the line's end state and no tokens: each region's and block's scanner
// runs its own loop, the HTML scanner's tokens are only tracked, and a style attribute's value, which
// changes nothing at the line's end, is not read. A stretch a server block cuts is read token by token,
// since what it leaves open goes on after the block.
void PageScanner::ScanToLineEnd() {
  while (!atEnd_) {
    queued_ = dequeued_ = 0;
    if (styleValue_.scanner) SkipStyleValue();
    if (!stretch_.scanner) break;
    if (stretch_.role == Role::kHtml) {
      ScanHtmlStretch();
      continue;
    }
    if (stretch_.role == Role::kRegion && stretch_.to < line_.size() && NextOpener(stretch_.to) == stretch_.to) {
      NextToken();  // a region a server block cuts: its last token may go on after the block
      continue;
    }
    stretch_.scanner->ScanToLineEnd();
    EndStretch();
  }
  NextToken();
}

void PageScanner::ScanHtmlStretch() {
  TzrHTMLSyn& html = *scanners_.html;
  for (;;) {
    if (stretch_.fresh) {
      stretch_.fresh = false;
    } else {
      htmlBefore_ = html.TzrHTMLSyn::RangeState();
      html.TzrHTMLSyn::NextToken();
    }
    if (html.TzrHTMLSyn::AtLineEnd()) return EndStretch();
    const std::size_t length = html.TzrHTMLSyn::TokenText().size();
    if (length == 0) continue;  // skipped as the token loop skips it
    // The last token, which a server block may cut, is kept; a cut style value is read for the state of
    // its declarations there.
    const int kind = html.TzrHTMLSyn::TokenKind();
    const std::size_t from = stretch_.from + static_cast<std::size_t>(html.TzrHTMLSyn::TokenPosition());
    last_.from = from;
    last_.to = from + length;
    last_.kind = kind;
    lastBefore_ = htmlBefore_;
    lastStyle_ = false;
    if (kind == Html::tkText || kind == Html::tkSpace || kind == Html::tkComment) continue;
    if (Track(kind, last_.from, last_.to, htmlBefore_) && last_.to == stretch_.to) {
      lastStyle_ = true;
      token_ = last_;
      StartStyleValue();
      queued_ = dequeued_ = 0;
      SkipStyleValue();
    }
    if (stretch_.role != Role::kHtml) return;  // a region began
  }
}

// A style attribute's value: its quotes are HTML's, what they hold is read as declarations.
void PageScanner::StartStyleValue() {
  const std::size_t from = token_.from, to = token_.to;
  const unsigned char quote = line_[from] == '"' || line_[from] == '\'' ? line_[from] : 0;
  const bool closed = quote && to - from >= 2 && static_cast<unsigned char>(line_[to - 1]) == quote;
  if (quote) Queue(from, from + 1, token_.attribute, token_.kind, Language::kHtml);
  styleValueClose_ = closed ? to - 1 : 0;
  Start(styleValue_, scanners_.css, quote ? from + 1 : from, closed ? to - 1 : to, Language::kCss, Role::kStyleValue,
        TCssSyn::kDeclarationRange);
}

// The declarations' state where the style value ended, which a server block that cut it continues from.
void PageScanner::EndStyleValue() {
  styleValue_.scanner = nullptr;
  tail_.css = scanners_.css->RangeState();
}

void PageScanner::SkipStyleValue() {
  styleValue_.scanner->ScanToLineEnd();
  EndStyleValue();
}

std::size_t PageScanner::NextOpener(std::size_t from) {
  if (openerFrom_ != kNone && from >= openerFrom_ && from <= openerAt_) return openerAt_;
  openerFrom_ = from;
  openerAt_ = line_.size();
  for (std::size_t i = from; i < line_.size(); ++i) {
    const void* found = std::memchr(line_.data() + i, '<', line_.size() - i);
    if (!found) break;
    i = static_cast<std::size_t>(static_cast<const char*>(found) - line_.data());
    if (OpenerLength(i)) {
      openerAt_ = i;
      break;
    }
  }
  return openerAt_;
}

// The length of the server block's opening tag at `at`, or 0 when none stands there.
std::size_t PageScanner::OpenerLength(std::size_t at) const {
  const std::string_view rest = std::string_view(line_).substr(at);
  if (rest.size() < 2 || rest[0] != '<') return 0;
  if (rest[1] == '%') return rest.size() > 2 && (rest[2] == '=' || rest[2] == '@') ? 3 : 2;
  if (rest[1] != '?') return 0;
  if (rest.size() > 2 && rest[2] == '=') return 3;
  if (StartsIgnoringCase(rest, 0, "<?php") && (rest.size() == 5 || IsBlank(static_cast<unsigned char>(rest[5])) ||
                                               EndsLine(static_cast<unsigned char>(rest[5]))))
    return 5;
  return 0;
}

// Where the open region's end tag starts, in any case; the line's length when it does not end here.
std::size_t PageScanner::RegionEnd(std::size_t from) {
  if (regionFrom_ != kNone && from >= regionFrom_ && from <= regionAt_) return regionAt_;
  const std::string_view closer = Bits(kRegionShift, 2) == kStyleRegion ? "</style" : "</script";
  regionFrom_ = from;
  regionAt_ = line_.size();
  for (std::size_t i = from; i < line_.size(); ++i) {
    const void* found = std::memchr(line_.data() + i, '<', line_.size() - i);
    if (!found) break;
    i = static_cast<std::size_t>(static_cast<const char*>(found) - line_.data());
    if (StartsIgnoringCase(line_, i, closer)) {
      regionAt_ = i;
      break;
    }
  }
  return regionAt_;
}

// <%@ LANGUAGE="JScript" %> (or "JavaScript") makes the page's <% %> blocks JavaScript; "VBScript" makes
// them VBScript again.
void PageScanner::ReadAspLanguage(std::size_t from) {
  const std::size_t end = std::min(line_.find("%>", from), line_.size());
  for (std::size_t i = from; i + 8 <= end; ++i) {
    if (!StartsIgnoringCase(line_, i, "language")) continue;
    std::size_t j = i + 8;
    while (j < end && IsBlank(static_cast<unsigned char>(line_[j]))) ++j;
    if (j >= end || line_[j] != '=') return;
    ++j;
    while (j < end && (IsBlank(static_cast<unsigned char>(line_[j])) || line_[j] == '"' || line_[j] == '\'')) ++j;
    std::size_t k = j;
    while (k < end && IsIdentifierChar(static_cast<unsigned char>(line_[k]))) ++k;
    const std::string_view name = std::string_view(line_).substr(j, k - j);
    if (SameIgnoringAsciiCase(name, "jscript") || SameIgnoringAsciiCase(name, "javascript"))
      SetBits(kAspScriptShift, 1, 1);
    if (SameIgnoringAsciiCase(name, "vbscript")) SetBits(kAspScriptShift, 1, 0);
    return;
  }
}

}  // namespace highlighters
