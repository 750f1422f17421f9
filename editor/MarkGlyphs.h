// Glyphs drawn in the gutter for marks: the editor's own ten bookmark glyphs ("MARK_0" to "MARK_9"), and
// image lists a host gives the editor as its BookmarkImages.
#pragma once

#include "platform/Canvas.h"

namespace editor {

// A list of small glyphs, each at most 11 pixels wide and one row tall.
class MarkImages {
 public:
  virtual ~MarkImages() = default;
  virtual int Count() const = 0;
  // font: the editor's base font, for glyphs that carry a character.
  virtual void Draw(platform::Canvas& canvas, int index, platform::Point topLeft, int rowHeight,
                    platform::FontHandle font, int cellWidth) const = 0;
};

// "MARK_0" ... "MARK_9": a blue tab carrying the bookmark's digit.
class InternalMarkGlyphs : public MarkImages {
 public:
  int Count() const override { return 10; }
  void Draw(platform::Canvas& canvas, int index, platform::Point topLeft, int rowHeight, platform::FontHandle font,
            int cellWidth) const override;
};

// The main window's ImageList1: bookmark glyphs 0 and 1, then the three line-status images "Incorrect" (2,
// a red cross), "Unknown" (3, a question mark) and "Not Ready" (4, an amber exclamation mark).
class LineStatusImages : public MarkImages {
 public:
  int Count() const override { return 5; }
  void Draw(platform::Canvas& canvas, int index, platform::Point topLeft, int rowHeight, platform::FontHandle font,
            int cellWidth) const override;
};

}  // namespace editor
