// A paragraph of formatted text, and its kinds: a line of preformatted text and the three list items.
// Inside the text, byte 4 marks where an image stands and byte 2 a form control.
#pragma once

#include <string>
#include <vector>

#include "preview/FormControls.h"
#include "preview/Images.h"
#include "preview/PreviewBlocks.h"

namespace preview {

constexpr char kImageMark = 4;
constexpr char kControlMark = 2;
// The parser goes on in a new section once one holds this many bytes.
constexpr int kMaxSectionText = 20000;
constexpr int kPreformattedWidth = 32000;

enum class Alignment { None = 0, Left = 1, Center = 2, Right = 3 };
// How a font change treats the run's link: kept from the run before, started, or ended.
enum class LinkChange { Keep, Start, End };

struct LineRec {
  int start = 0;  // index in the section's text
  int count = 0;
  int lineHeight = 0;  // the tallest font of the line
  int spaceAbove = 0;
  int spaceBelow = 0;
  int descent = 0;  // the deepest font of the line, for the baseline
  int x = 0;        // left end after alignment
  int y = 0;        // top, space above included
  int drawHeight = 0;
  int Height() const { return spaceAbove + lineHeight + spaceBelow; }
};

class TSection : public TSectionBase {
 public:
  TSection(TSectionList* owner, int level, Alignment align, const TMyFont& font, SubSup subSup, const TUrlTarget& link);

  BlockKind Kind() const override { return BlockKind::Section; }
  // Drops a leading blank that would double one already there.
  virtual void AppendText(std::string_view text);
  // An image at the end of the text (its mark and the object).
  void AddImage(const TAttributeList& attributes);
  const std::vector<std::unique_ptr<TImageObj>>& Images() const;
  // A form control's mark at the end of the text; the document owns the control.
  void AddControl(TFormControlObj* control);
  int End() const { return static_cast<int>(text_.size()); }
  const std::vector<TFormControlObj*>& Controls() const;
  // The text from here on takes font (and its link, when one starts).
  void ChangeFont(const TMyFont& font, SubSup subSup, LinkChange change, const TUrlTarget& link = {});

  void CopyToBuffer(std::string& buffer) const override;
  int Layout(int y, int& position, int& maxWidth, IndentManager& indents) override;
  void Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) override;
  std::optional<TUrlTarget> UrlAt(int x, int y) const override;
  TImageObj* ImageAtPoint(int x, int y, platform::Point& inside) const override;
  bool OverText(int x, int y) const override;
  int CursorAt(int x, int y) const override;
  int FindText(int from, std::string_view text, bool matchCase) const override;
  bool PositionToXY(int position, int& x, int& y) const override;
  bool CharAt(int position, char& ch) const override;
  bool WordAt(int position, int& start, int& end) const override;
  void RefreshFonts() override;
  void WidthRange(int& min, int& max) override;
  void CollectImages(std::vector<TImageObj*>& images) const override {
    for (const auto& image : Images()) images.push_back(image.get());
  }

  const std::string& Text() const { return text_; }
  const std::vector<TFontObj>& Fonts() const { return fonts_; }
  const std::vector<LineRec>& Lines() const { return lines_; }
  int Level() const { return level_; }
  Alignment Align() const { return align_; }
  // An empty section gets one blank, so that its line keeps the height of its font.
  void KeepLineHeight() {
    if (text_.empty()) text_.push_back(' ');
  }
  void SetClearMode(int mode) { clearMode_ = mode; }
  // An anchor name points here, so the section stays even when it holds nothing.
  void SetAnchored() { anchored_ = true; }
  // Nothing to show, no clearance to make and no anchor: appending it would only cost memory.
  bool Vacant() const { return Kind() == BlockKind::Section && text_.empty() && clearMode_ == 0 && !anchored_; }
  // Gives back the room kept for growth, once the section is complete.
  void Compact() { fonts_.shrink_to_fit(); }
  // The marker drawn before the first line ("A.", "disc"), empty for none.
  virtual std::string MarkerText() const { return {}; }

 protected:
  virtual int AvailableWidth(int left, int right) const { return right - left; }
  // Draws the list marker of the first line, baseline at y.
  virtual void DrawMarker(platform::Canvas&, int /*textX*/, int /*baseline*/, const LineRec&) {}

  std::string text_;

 private:
  std::size_t RunAt(int index) const;
  int RunEnd(std::size_t run) const;
  TImageObj* ImageAt(int index) const;
  TImageObj* FloatAt(int index) const;
  TFormControlObj* ControlAt(int index) const;
  // The index of the character (or object) drawn under a point, -1 for none.
  int CharUnder(int x, int y) const;
  // The width an object mark takes in a line (0 for a floating image), or -1 when index holds text.
  int ObjectWidth(int index) const;
  // The width of text_[from, to): each run's extent less its overhang, and the objects' widths.
  int TextWidth(int from, int to) const;
  // The index itself when it starts a character or ends the text, else where its UTF-8 character ends.
  int CharacterEnd(int index) const;
  void PlaceFloat(TImageObj& image, int y, IndentManager& indents) const;
  void PlaceInlineImages(const LineRec& line) const;
  int FitCount(int from, int avail) const;
  int BreakCount(int from, int count) const;
  LineRec FinishLine(int from, int count, int left, int right, int y) const;
  int Clearance(const IndentManager& indents, int y) const;
  int TrimmedEnd(const LineRec& line) const;
  int CharIndexAt(const LineRec& line, int x) const;
  void DrawLine(platform::Canvas& canvas, const LineRec& line, platform::Point offset, int baseline);

  std::vector<TFontObj> fonts_;
  std::vector<LineRec> lines_;
  int level_;
  Alignment align_;
  int clearMode_ = 0;  // from BR CLEAR: 1 left, 2 right, 3 both
  bool anchored_ = false;
  // Images and controls, in text order; most sections have none, so the lists come only with the first.
  struct Objects {
    std::vector<std::unique_ptr<TImageObj>> images;
    std::vector<TFormControlObj*> controls;
  };
  Objects& MakeObjects();
  std::unique_ptr<Objects> objects_;
};

// One line of PRE text or of a plain text file: blanks kept, never wrapped.
class TPreFormated : public TSection {
 public:
  using TSection::TSection;
  BlockKind Kind() const override { return BlockKind::PreFormated; }
  void AppendText(std::string_view text) override;
  void WidthRange(int& min, int& max) override;

 protected:
  int AvailableWidth(int, int) const override { return kPreformattedWidth; }
};

class TOListItem : public TSection {
 public:
  TOListItem(TSectionList* owner, int level, const TMyFont& font, SubSup subSup, const TUrlTarget& link, int number,
             char type)
      : TSection(owner, level, Alignment::Left, font, subSup, link), number_(number), type_(type) {
    markerFont_.font = Fonts().front().font;
  }
  BlockKind Kind() const override { return BlockKind::OListItem; }
  std::string MarkerText() const override;
  void RefreshFonts() override;

 protected:
  void DrawMarker(platform::Canvas& canvas, int textX, int baseline, const LineRec& line) override;

 private:
  int number_;
  char type_;
  TFontObj markerFont_;  // the item's first font, kept as it was when the item opened
};

class TUListItem : public TSection {
 public:
  TUListItem(TSectionList* owner, int level, const TMyFont& font, SubSup subSup, const TUrlTarget& link, bool plain)
      : TSection(owner, level, Alignment::Left, font, subSup, link), plain_(plain) {}
  BlockKind Kind() const override { return BlockKind::UListItem; }
  std::string MarkerText() const override;

 protected:
  void DrawMarker(platform::Canvas& canvas, int textX, int baseline, const LineRec& line) override;

 private:
  bool plain_;
};

class TDListItem : public TSection {
 public:
  TDListItem(TSectionList* owner, int level, const TMyFont& font, SubSup subSup, const TUrlTarget& link)
      : TSection(owner, level, Alignment::Left, font, subSup, link) {}
  BlockKind Kind() const override { return BlockKind::DListItem; }
};

}  // namespace preview
