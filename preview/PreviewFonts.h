// Fonts of a previewed page: the font a run is drawn in, the runs of a section, the parser's font stack,
// and the size tables of FONT, BIG, SMALL and the headings. Nominal sizes are points on a base of 12;
// the viewer's DefFontSize scales every one of them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Color.h"
#include "platform/Font.h"

namespace preview {

// a * b / c with a 64-bit intermediate, rounded to the nearest integer, halves away from zero.
int MulDivRound(long long a, long long b, long long c);

struct TUrlTarget {
  std::string url;
  std::string target;
  bool Empty() const { return url.empty() && target.empty(); }
};

struct TMyFont {
  std::string name = "Times New Roman";
  int size = 12;  // real points, after scaling
  platform::FontStyle style = 0;
  platform::Color color = 0;
  int charSet = 1;
  int nominalSize = 12;
  bool fixedPitch = false;                    // takes the preformatted face whenever fonts are re-derived
  std::optional<platform::Color> background;  // behind the text, from the page's CSS
  bool invisible = false;                     // laid out but not drawn (visibility: hidden)

  void SetNominalSize(int points, int defFontSize) {
    nominalSize = points;
    size = MulDivRound(points, defFontSize, 12);
  }
  platform::FontDesc Desc() const { return {name, size, style, 0, charSet}; }
};

enum class SubSup { None = 0, Sub = 1, Sup = 2 };

// What layout needs of a run's font, taken from the font engine.
struct RunMetrics {
  int lineHeight = 0;  // height plus external leading
  int ascent = 0;
  int descent = 0;
  int overhang = 0;
};

// One font run of a section: from character index pos up to the next run's start. Pages hold hundreds of
// thousands of runs, so the link is shared between the runs it spans and absent when there is none.
struct TFontObj {
  int pos = 0;
  TMyFont font;
  SubSup subSup = SubSup::None;
  // Taken from the font engine when the run is first measured, and again after the font changed.
  platform::FontHandle handle;
  RunMetrics metrics;

  const TUrlTarget& Link() const {
    static const TUrlTarget kNone;
    return link_ ? *link_ : kNone;
  }
  void SetLink(const TUrlTarget& link) { link_ = link.Empty() ? nullptr : std::make_shared<const TUrlTarget>(link); }
  void ShareLink(const TFontObj& other) { link_ = other.link_; }
  int LineHeight() const { return metrics.lineHeight; }
  void Measure(platform::FontEngine& engine) {
    if (handle.id != 0) return;
    handle = engine.CreateFont(font.Desc());
    const platform::FontMetrics m = engine.Metrics(handle);
    metrics = {m.cellHeight + m.externalLeading, m.ascent, m.descent, m.overhang};
  }
  void Forget() { handle = {}; }

 private:
  std::shared_ptr<const TUrlTarget> link_;
};

// The points of FONT SIZE 1..7, in normal text and inside PRE.
int SizeOfIndex(int index, bool preformatted);
// The index (1..7) of a nominal size in the normal table, or nothing when it is not one of the seven.
std::optional<int> IndexOfSize(int points);
// The nominal size of a heading level (1..6, 0 for an H with any other digit).
int HeadingPoints(int level);

// The parser's fonts: entry 0 is the base font and is never popped; at most 25 entries.
class TFontStack {
 public:
  static constexpr int kCapacity = 25;
  explicit TFontStack(TMyFont base) { fonts_.push_back(std::move(base)); }
  TMyFont& Top() { return fonts_.back(); }
  TMyFont& Base() { return fonts_.front(); }
  bool HasRoom() const { return fonts_.size() < kCapacity; }
  // A copy of the top, made the new top; false (and no change) on a full stack.
  bool Push() {
    if (!HasRoom()) return false;
    fonts_.push_back(fonts_.back());
    return true;
  }
  void Pop() {
    if (fonts_.size() > 1) fonts_.pop_back();
  }
  int Depth() const { return static_cast<int>(fonts_.size()); }

 private:
  std::vector<TMyFont> fonts_;
};

}  // namespace preview
