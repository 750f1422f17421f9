// PageScanner: a page read by the HTML scanner with every embedded language handed to its own scanner:
// the content of <style> and of JavaScript <script> elements, the value of style attributes, <% %> blocks
// (VBScript, or JavaScript once <%@ LANGUAGE="JScript" %> says so) and <?php ?> blocks. The HTML scanner
// runs unchanged over the stretches of the line between the regions; each inner scanner gets the stretch
// of its region, so a region ends where HTML ends it (</style, </script, %>, ?>) whatever the inner
// language has open there. Server blocks are cut out first, wherever they stand: in text, tags, values,
// comments, styles or scripts; what they interrupt goes on after them.
//
// The range holds the outer and the inner states in 32 bits: bits 0 to 2 the HTML scanner's range; 3 and 4
// the region (none, style, script); 5 and 6 the style or script tag being read up to its '>'; 7 whether
// <% %> blocks are JavaScript; 8 and 9 the server block open (none, <% %>, <?php ?>); 10 to 20 the
// region's scanner's range; 21 to 31 the server block's scanner's range. A region or block value of 3
// never occurs, so the range is never the editor's "not scanned" mark.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "highlighters/CssHighlighter.h"
#include "highlighters/HtmlHighlighter.h"
#include "highlighters/JavaScriptHighlighter.h"
#include "highlighters/PhpBlockScanner.h"
#include "highlighters/VbsHighlighter.h"

namespace highlighters {

// The scanners a page's HTML, styles and scripts are read with, and whose colours they show.
struct EmbeddedScanners {
  TzrHTMLSyn* html;
  TCssSyn* css;
  TJavaScriptSyn* javascript;
  TpvVbsSyn* vbscript;
};

// A set of those, for a page scanner made on its own (qmtool, the tests).
struct OwnedEmbeddedScanners {
  TzrHTMLSyn html;
  TCssSyn css;
  TJavaScriptSyn javascript;
  TpvVbsSyn vbscript;
  EmbeddedScanners Pointers() { return {&html, &css, &javascript, &vbscript}; }
};

class PageScanner : public TqeCustomHighLighter {
 public:
  ~PageScanner() override;

  enum class Language : std::uint8_t { kHtml, kCss, kJavaScript, kVBScript, kPhp };

  CharSet WordChars() const override { return scanners_.html->WordChars(); }
  int Capabilities() const override { return kUserSettings | kRegistry; }
  bool AtLineEnd() const override { return atEnd_; }
  RangeValue RangeState() const override { return state_; }
  std::string_view TokenText() const override;
  const TqeHighLightAttributes* TokenAttribute() const override { return atEnd_ ? nullptr : token_.attribute; }
  int TokenKind() const override { return token_.kind; }
  int TokenPosition() const override { return static_cast<int>(token_.from); }
  std::string_view TokenLanguage() const override;
  // Which scanner read the current token, also in a PHP file (whose PHP tokens name no language).
  Language TokenRegion() const { return token_.language; }
  void NextToken() override;
  void ScanToLineEnd() override;
  void StartLine(std::string_view text, int lineNumber) override;
  void SetRangeState(RangeValue value) override;
  void ResetRangeState() override;

 protected:
  // phpIsThePage: a PHP file, whose PHP is written without a language as its HTML is.
  explicit PageScanner(bool phpIsThePage);
  // The scanners it reads with, whose colour changes it passes on to its own editors; the PHP scanner and
  // its tags' colours.
  void Bind(const EmbeddedScanners& scanners, PhpBlockScanner& php, const TqeHighLightAttributes* phpTag);

 private:
  // Passes an inner scanner's colour changes on to the page's editors, and forgets a scanner that goes.
  struct InnerLink : HighlighterClient {
    PageScanner* page = nullptr;
    TqeCustomHighLighter* inner = nullptr;
    void HighlighterChanged() override { page->TellClientsChanged(); }
    void HighlighterDestroyed() override { inner = nullptr; }
  };

  enum class Role : std::uint8_t { kHtml, kRegion, kServerBlock, kQuoteTail, kStyleValue };
  enum Region : unsigned { kNoRegion = 0, kStyleRegion, kScriptRegion };
  enum PendingTag : unsigned { kNoTag = 0, kStyleTag, kScriptTag, kOtherScriptTag };
  enum ServerBlock : unsigned { kNoBlock = 0, kAspBlock, kPhpBlock };
  enum Attribute : std::uint8_t { kOtherAttribute, kTypeAttribute, kStyleAttribute };

  // A stretch of the line one scanner reads; its first token is ready once it starts.
  struct Stretch {
    TqeCustomHighLighter* scanner = nullptr;
    std::size_t from = 0, to = 0;
    Language language = Language::kHtml;
    Role role = Role::kHtml;
    bool fresh = false;
  };
  struct Token {
    std::size_t from = 0, to = 0;
    const TqeHighLightAttributes* attribute = nullptr;
    int kind = 0;
    Language language = Language::kHtml;
  };
  // An attribute value, a string or a line comment a server block cut: it goes on after the block.
  struct QuoteTail {
    bool open = false;
    unsigned char quote = 0;  // 0 for a value without quotes, which ends at a blank or '>'
    bool toLineEnd = false;   // a script's line comment, which goes on to the line's end
    bool style = false;       // a style attribute's declarations, read on by the CSS scanner
    RangeValue css = 0;       // their range where the block cut them
    Token shown;              // the attribute, kind and language the rest is shown with
  };

  unsigned Bits(unsigned shift, unsigned width) const { return (state_ >> shift) & ((1u << width) - 1); }
  void SetBits(unsigned shift, unsigned width, unsigned value);

  void Start(Stretch& stretch, TqeCustomHighLighter* scanner, std::size_t from, std::size_t to, Language language,
             Role role, RangeValue range);
  // Takes the stretch's next token into token_; false at its end.
  bool Take(Stretch& stretch);
  void Queue(std::size_t from, std::size_t to, const TqeHighLightAttributes* attribute, int kind, Language language);
  void Resume(std::size_t at);
  void StartHtml(std::size_t at);
  void StartRegion(std::size_t at);
  void StartServerBlock(std::size_t at);
  void StartBlockBody(std::size_t at);
  void StartQuoteTail(std::size_t at);
  void EndQuoteTail(std::size_t at);
  // A server block at `at` cuts the stretch's last token: a value or string left open goes on after it.
  void KeepCutQuote(std::size_t at);
  void EndStretch();
  void EndLine();
  // What the HTML token just taken says about tags, their types and style attributes; false when it was
  // handed on to a style attribute's scanner instead of being shown.
  bool Inspect(int before);
  // The same for the HTML token at [from, to) of this kind: tag names, type and style attributes, and the
  // '>' that opens a region (which starts then); true for a style attribute's value.
  bool Track(int kind, std::size_t from, std::size_t to, int before);
  void ScanHtmlStretch();
  void StartStyleValue();
  void EndStyleValue();
  // Reads the rest of the style value for its end state only.
  void SkipStyleValue();

  std::size_t NextOpener(std::size_t from);
  std::size_t OpenerLength(std::size_t at) const;
  std::size_t RegionEnd(std::size_t from);
  void ReadAspLanguage(std::size_t from);

  EmbeddedScanners scanners_{};
  std::array<InnerLink, 4> links_;
  PhpBlockScanner* php_ = nullptr;
  const TqeHighLightAttributes* phpTag_ = nullptr;
  bool phpIsThePage_;

  std::string line_;
  std::uint32_t state_ = 0;
  Stretch stretch_;
  Stretch styleValue_;               // a style attribute's declarations, read inside the HTML stretch
  std::size_t styleValueClose_ = 0;  // where its closing quote stands, or 0 without one
  std::array<Token, 4> queue_;       // tags and quotes the page scanner shows itself
  std::size_t queued_ = 0, dequeued_ = 0;
  Token token_;
  bool atEnd_ = true;
  QuoteTail tail_;
  Attribute attribute_ = kOtherAttribute;
  Token last_;  // the stretch's last token, which a server block may have cut
  int lastBefore_ = 0;
  bool lastStyle_ = false;
  int htmlBefore_ = 0;  // the HTML range before the HTML scanner's current token
  // The searches' last answers, kept for the line: no opener and no region end in [from, at).
  std::size_t openerFrom_ = 0, openerAt_ = 0, regionFrom_ = 0, regionAt_ = 0;
};

}  // namespace highlighters
