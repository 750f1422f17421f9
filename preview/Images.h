// Images of a previewed page: the shared picture cache, image occurrences with their sizing, drawing and
// animation, the placeholder pictures, and client-side maps.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"
#include "platform/Canvas.h"
#include "preview/HtmlTokenizer.h"
#include "preview/PreviewFonts.h"

namespace preview {

class TSectionList;

// Pictures by key, shared by every viewer of the program. An item ages by one at every page load and is
// freed once it is older than the limit and no image uses it.
class TStringBitmapList {
 public:
  static TStringBitmapList& Shared();
  std::shared_ptr<const imaging::Picture> Find(const std::string& key);
  void Add(const std::string& key, std::shared_ptr<const imaging::Picture> picture);
  void Release(const std::string& key);
  void NewPage();
  // 0..20; lowering it frees at once the unused items older than the new limit.
  void SetLimit(int limit);
  int Limit() const { return limit_; }
  void FreeUnused();
  std::size_t Count() const { return items_.size(); }
  void Clear() { items_.clear(); }

 private:
  struct Item {
    std::shared_ptr<const imaging::Picture> picture;
    int age = 0;
    int usage = 0;
  };
  void FreeOlderThan(int limit);
  std::map<std::string, Item> items_;
  int limit_ = 4;  // until a viewer sets its ImageCacheCount
};

enum class ImageAlign { Top, Middle, Bottom, Left, Right };

// One IMG (or INPUT TYPE=image) at a position in a section's text.
class TImageObj {
 public:
  TImageObj(TSectionList* owner, int pos, const TAttributeList& attributes, bool inLink);
  ~TImageObj();
  TImageObj(const TImageObj&) = delete;
  TImageObj& operator=(const TImageObj&) = delete;

  bool Floats() const { return align == ImageAlign::Left || align == ImageAlign::Right; }
  // Sizes the image for the width available beside it; fetches the picture the first time.
  void Size(int availableWidth);
  void Draw(platform::Canvas& canvas, int x, int y, std::optional<platform::Color> linkColor);
  // The link at a point inside the picture (x, y relative to the box), by map, ISMAP or the run's link.
  std::optional<TUrlTarget> LinkAt(int x, int y, const TUrlTarget& runLink) const;
  // Shows the next frame of an animation when its delay has passed; true when the picture changed.
  bool Advance(int elapsedMs);
  // Advance for a picture drawn since its last change: one that is not drawn again (scrolled out of sight)
  // waits and costs nothing. True when the picture changed; it is then due to be drawn again.
  bool AdvanceDrawn(int elapsedMs);
  // Where Draw last put the box, in document coordinates.
  const platform::Rect& DrawnBox() const { return drawnBox_; }
  void ResetAnimation();
  bool Animated() const;
  // The picture when it is a still one that could be read (for the page background).
  const imaging::Bitmap* StillPicture() const;

  int pos;
  std::string src;
  std::string alt;
  ImageAlign align = ImageAlign::Bottom;
  int givenHeight = 0;
  int givenWidth = 0;  // pixels, or a percentage when widthPercent
  bool widthPercent = false;
  bool border = false;       // a 1-pixel border: inside a link without BORDER 0
  bool transparent = false;  // TRANSP: the lower-left pixel's colour shows the background
  bool isMap = false;
  std::string useMap;  // upper-cased
  int hspace = 5;
  int width = 0;  // the picture's shown size and the box around it
  int height = 0;
  int boxWidth = 0;
  int boxHeight = 0;
  platform::Point placed;  // where layout put the box, in its cell's coordinates
  // Set for an image input: a click inside the picture, at x, y within it.
  std::function<void(int x, int y)> onClick;

 private:
  enum class Kind { None, Picture, NotAvailable, Error };
  void Fetch();
  const imaging::Bitmap& Shown();

  TSectionList* owner_;
  Kind kind_ = Kind::None;
  std::shared_ptr<const imaging::Picture> picture_;
  std::string cacheKey_;
  bool sizeFinal_ = false;
  std::unique_ptr<imaging::FrameCompositor> animation_;
  std::size_t frame_ = 0;
  int frameElapsed_ = 0;
  int loopsDone_ = 0;
  platform::Rect drawnBox_;
  bool drawn_ = false;
};

// A client-side map: areas in the order given, the first holding a point decides.
struct TMapItem {
  enum class Shape { Rect, Circle, Poly };
  struct Area {
    TUrlTarget link;  // empty for NOHREF
    Shape shape = Shape::Rect;
    std::vector<int> coords;
    bool Contains(int x, int y) const;
  };
  std::string name;  // upper-cased
  std::vector<Area> areas;
  // Reads an AREA's attributes; nothing when it has too few coordinates for its shape.
  static std::optional<Area> ReadArea(const TAttributeList& attributes);
};

}  // namespace preview
