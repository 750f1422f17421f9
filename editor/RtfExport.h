// TqeRtfExport: the editor's selection, as its highlighter colours it, as Rich Text Format on the clipboard.
// TqeCustomExport owns the output and the loop over the selected lines and their tokens; the RTF class
// writes the header, the colour table, each token's formatting and the footer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "highlighters/CustomHighlighter.h"
#include "platform/Clipboard.h"
#include "platform/Color.h"

namespace editor {

class TqeCustomEdit;

// RTF on this desktop's clipboard, as word processors and mail programs read it.
inline constexpr std::string_view kRtfFormat = "text/rtf";

class TqeCustomExport : public highlighters::TokenExporter {
 public:
  const std::string& Title() const { return title_; }
  // An empty title is stored as "(Untitled)".
  void SetTitle(std::string title) { title_ = title.empty() ? "(Untitled)" : std::move(title); }

  // Exports the editor's selection as highlighted by highlighter. "Invalid Parameter" without a
  // highlighter; an error, and nothing exported, without a selection.
  std::string Export(const TqeCustomEdit& editor, highlighters::TqeCustomHighLighter* highlighter);
  // Exports and puts the result on the clipboard under format, with the selection's plain text beside it.
  void ExportToClipboardAs(const TqeCustomEdit& editor, highlighters::TqeCustomHighLighter* highlighter,
                           platform::Clipboard& clipboard, std::string_view format);

 protected:
  virtual void Reset(const TqeCustomEdit& editor) = 0;
  virtual std::string Header() const = 0;
  virtual std::string Footer() const = 0;
  // What ends a line in the output, taken off again after the last line.
  virtual std::string_view LineEnd() const = 0;
  // Writes what is held back of a character cut by the end of a token (the line or the export ended).
  virtual void FlushPending() {}
  std::string output_;
  // The encoding of the document being exported.
  platform::TextEncoding encoding_ = platform::TextEncoding::Cp1252;

 private:
  std::string title_ = "(Untitled)";
};

class TqeRtfExport : public TqeCustomExport {
 public:
  // Whether tokens' backgrounds are exported too.
  bool UseBackGround = false;

  void ExportToClipboard(const TqeCustomEdit& editor, highlighters::TqeCustomHighLighter* highlighter,
                         platform::Clipboard& clipboard) {
    ExportToClipboardAs(editor, highlighter, clipboard, kRtfFormat);
  }
  void ExportToken(std::string_view text, const highlighters::TqeHighLightAttributes* attribute, bool isSpace,
                   bool escape) override;

 protected:
  void Reset(const TqeCustomEdit& editor) override;
  std::string Header() const override;
  std::string Footer() const override { return "}"; }
  std::string_view LineEnd() const override { return "\r\n\\par "; }
  void FlushPending() override;

 private:
  // The colour's number in the colour table, which it joins at its first use.
  int ColorNumber(platform::Color color);

  struct Look {
    platform::Color foreground = 0, background = 0;
    platform::FontStyle style = 0;
    friend bool operator==(const Look&, const Look&) = default;
  };
  Look last_;
  std::vector<platform::Color> colors_;
  std::string fontSize_ = "\\fs10";
  std::string fontName_;
  std::string pending_;  // the start of a UTF-8 character the last token cut short
};

}  // namespace editor
