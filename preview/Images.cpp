// Fetching, caching, sizing, drawing and animating images, and the regions of client-side maps.
#include "preview/Images.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "imaging/Decoders.h"
#include "platform/FileIO.h"
#include "platform/TextBits.h"
#include "preview/SectionList.h"

namespace preview {
namespace {

constexpr int kPlaceholderSize = 16;
constexpr int kAltFontPoints = 8;

// The two pictures of the program: a grey frame for "not available" (images off or delayed) and a red
// cross for an image that failed, whose white corners are transparent.
const imaging::Picture& PlaceholderPicture(bool error) {
  static const auto make = [](bool failed) {
    imaging::Picture picture;
    picture.width = picture.height = kPlaceholderSize;
    imaging::Frame frame;
    frame.image = imaging::Bitmap(kPlaceholderSize, kPlaceholderSize, failed ? 0 : imaging::Opaque(0xE0, 0xE0, 0xE0));
    for (int i = 0; i < kPlaceholderSize; ++i) {
      const uint32_t edge = failed ? imaging::Opaque(0x80, 0x80, 0x80) : imaging::Opaque(0x60, 0x60, 0x60);
      frame.image.At(i, 0) = frame.image.At(i, kPlaceholderSize - 1) = edge;
      frame.image.At(0, i) = frame.image.At(kPlaceholderSize - 1, i) = edge;
    }
    if (failed)
      for (int i = 3; i < kPlaceholderSize - 3; ++i) {
        frame.image.At(i, i) = frame.image.At(i, kPlaceholderSize - 1 - i) = imaging::Opaque(0xFF, 0, 0);
        frame.image.At(i + 1, i) = frame.image.At(i + 1, kPlaceholderSize - 1 - i) = imaging::Opaque(0xFF, 0, 0);
      }
    picture.frames.push_back(std::move(frame));
    return picture;
  };
  static const imaging::Picture notAvailable = make(false), failed = make(true);
  return error ? failed : notAvailable;
}

// A picture from bytes by their signature; nothing for other formats or bytes that do not decode.
std::shared_ptr<const imaging::Picture> DecodeBytes(const std::string& bytes, bool transparent) {
  const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const imaging::PictureKind kind = imaging::KindBySignature(data);
  if (kind == imaging::PictureKind::Unknown || (kind != imaging::PictureKind::Gif && bytes.size() < 20)) return {};
  try {
    auto picture = std::make_shared<imaging::Picture>(imaging::Decode(kind, data));
    // TRANSP: the colour of the lower-left pixel becomes transparent (JPEG never is).
    if (transparent && kind == imaging::PictureKind::Bmp && !picture->frames.empty()) {
      imaging::Bitmap& image = picture->frames[0].image;
      const uint32_t key = image.At(0, image.height - 1);
      for (uint32_t& pixel : image.pixels)
        if (pixel == key) pixel &= 0x00FFFFFF;
    }
    return picture;
  } catch (const imaging::EInvalidGraphic&) {
    return {};
  }
}

}  // namespace

TStringBitmapList& TStringBitmapList::Shared() {
  static TStringBitmapList cache;
  return cache;
}

std::shared_ptr<const imaging::Picture> TStringBitmapList::Find(const std::string& key) {
  const auto found = items_.find(key);
  if (found == items_.end()) return {};
  found->second.age = 0;
  ++found->second.usage;
  return found->second.picture;
}

void TStringBitmapList::Add(const std::string& key, std::shared_ptr<const imaging::Picture> picture) {
  items_[key] = Item{std::move(picture), 0, 1};
}

void TStringBitmapList::Release(const std::string& key) {
  if (const auto found = items_.find(key); found != items_.end() && found->second.usage > 0) --found->second.usage;
}

void TStringBitmapList::FreeOlderThan(int limit) {
  std::erase_if(items_, [limit](const auto& item) { return item.second.usage == 0 && item.second.age > limit; });
}

void TStringBitmapList::NewPage() {
  for (auto& [key, item] : items_) ++item.age;
  FreeOlderThan(limit_);
}

void TStringBitmapList::SetLimit(int limit) {
  limit = std::clamp(limit, 0, 20);
  if (limit < limit_) FreeOlderThan(limit);
  limit_ = limit;
}

void TStringBitmapList::FreeUnused() {
  std::erase_if(items_, [](const auto& item) { return item.second.usage == 0; });
}

TImageObj::TImageObj(TSectionList* owner, int position, const TAttributeList& attributes, bool inLink)
    : pos(position), owner_(owner) {
  for (const TAttribute& a : attributes.Items()) {
    switch (a.kind) {
      case Attr::Src:
        src = a.text;
        break;
      case Attr::Alt:
        alt = a.text;
        break;
      case Attr::Align: {
        const std::string value = platform::AsciiUpper(a.text);
        if (value == "TOP") align = ImageAlign::Top;
        if (value == "MIDDLE" || value == "ABSMIDDLE") align = ImageAlign::Middle;
        if (value == "BOTTOM") align = ImageAlign::Bottom;
        if (value == "LEFT") align = ImageAlign::Left;
        if (value == "RIGHT") align = ImageAlign::Right;
        break;
      }
      case Attr::Height:
        givenHeight = std::max(a.value, 1);
        break;
      case Attr::Width:
        widthPercent = a.text.find('%') != std::string::npos;
        givenWidth = widthPercent ? std::clamp(a.value, 1, 100) : std::max(a.value, 0);
        break;
      case Attr::Border:
        inLink = inLink && a.value != 0;
        break;
      case Attr::Transp:
        transparent = true;
        break;
      case Attr::IsMap:
        isMap = true;
        break;
      case Attr::UseMap: {
        useMap = platform::AsciiUpper(platform::Trimmed(a.text));
        if (useMap.size() > 1 && useMap.front() == '#') useMap.erase(0, 1);
        break;
      }
      case Attr::HSpace:
        hspace = std::min(20, std::abs(a.value));
        break;
      default:
        break;
    }
  }
  border = inLink;
}

TImageObj::~TImageObj() {
  if (!cacheKey_.empty()) TStringBitmapList::Shared().Release(cacheKey_);
}

void TImageObj::Fetch() {
  TStringBitmapList& cache = TStringBitmapList::Shared();
  const std::string source = platform::Trimmed(src);
  const bool requested = static_cast<bool>(owner_->onImageRequest);
  // Sources read from files are cached by their full path, so that two pages' "logo.gif" stay apart.
  const std::string key = requested ? platform::AsciiUpper(source) : owner_->ExpandSource(source);
  if (auto cached = cache.Find(key)) {
    cacheKey_ = key;
    picture_ = std::move(cached);
    kind_ = Kind::Picture;
    return;
  }
  auto& delayed = owner_->delayedImages;
  if (std::find(delayed.begin(), delayed.end(), source) != delayed.end()) {
    kind_ = Kind::NotAvailable;
    return;
  }
  std::string bytes;
  if (requested) {
    ImageReply reply = owner_->onImageRequest(source);
    if (reply.kind == ImageReply::Kind::Wait) {
      delayed.push_back(source);
      kind_ = Kind::NotAvailable;
      return;
    }
    if (reply.kind == ImageReply::Kind::Data) bytes = std::move(reply.bytes);
  } else {
    try {
      bytes = platform::ReadFileBytes(key);
    } catch (const platform::EFileError&) {
      // An image that cannot be read shows the error picture.
    }
  }
  std::shared_ptr<const imaging::Picture> picture = DecodeBytes(bytes, transparent);
  if (!picture) {
    // A GIF that does not decode may have failed for want of memory: give back what no image uses.
    if (bytes.rfind("GIF8", 0) == 0) cache.FreeUnused();
    kind_ = Kind::Error;
    return;
  }
  cache.Add(key, picture);
  cacheKey_ = key;
  picture_ = std::move(picture);
  kind_ = Kind::Picture;
}

void TImageObj::Size(int availableWidth) {
  if (!owner_->viewImages)
    kind_ = Kind::NotAvailable;
  else if (kind_ == Kind::None || (kind_ == Kind::NotAvailable && !sizeFinal_))
    Fetch();
  if (sizeFinal_ && !(kind_ == Kind::Picture && widthPercent)) return;
  if (kind_ != Kind::Picture) {
    if (givenWidth > 0 && !widthPercent && givenHeight > 0) {
      width = givenWidth;
      height = givenHeight;
      sizeFinal_ = true;
    } else {
      width = height = kPlaceholderSize;
      if (!alt.empty()) {
        platform::FontEngine& fonts = owner_->Fonts();
        const platform::FontHandle font = fonts.CreateFont({"Arial", kAltFontPoints, 0, 0, owner_->Settings().charSet});
        width = std::max(width, fonts.TextWidth(font, alt, owner_->encoding) + 2 + 24);
        height = std::max({height, 24, fonts.Metrics(font).cellHeight});
      }
    }
  } else {
    const int pw = std::max(picture_->width, 1), ph = std::max(picture_->height, 1);
    if (widthPercent) {
      width = std::max(availableWidth, 0) * givenWidth / 100;
      height = givenHeight > 0 ? givenHeight : ph;
    } else if (givenWidth > 0 && givenHeight > 0) {
      width = givenWidth;
      height = givenHeight;
    } else if (givenHeight > 0) {
      width = MulDivRound(pw, givenHeight, ph);
      height = givenHeight;
    } else if (givenWidth > 0) {
      width = givenWidth;
      height = MulDivRound(ph, givenWidth, pw);
    } else {
      width = pw;
      height = ph;
    }
    sizeFinal_ = true;
  }
  boxWidth = width + (border ? 2 : 0);
  boxHeight = height + (border ? 2 : 0);
}

bool TImageObj::Animated() const { return kind_ == Kind::Picture && picture_->IsAnimated(); }

const imaging::Bitmap* TImageObj::StillPicture() const {
  return kind_ == Kind::Picture && !Animated() && !picture_->frames.empty() ? &picture_->frames[0].image : nullptr;
}

const imaging::Bitmap& TImageObj::Shown() {
  if (kind_ != Kind::Picture) return PlaceholderPicture(kind_ == Kind::Error).frames[0].image;
  if (!Animated()) return picture_->frames[0].image;
  if (!animation_) animation_ = std::make_unique<imaging::FrameCompositor>(*picture_);
  return animation_->Show(frame_);
}

void TImageObj::ResetAnimation() {
  frame_ = 0;
  frameElapsed_ = 0;
  loopsDone_ = 0;
}

bool TImageObj::Advance(int elapsedMs) {
  if (!Animated()) return false;
  const int loops = picture_->loopCount;
  if (loops > 0 && loopsDone_ >= loops) return false;
  frameElapsed_ += elapsedMs;
  const int delay = std::max(picture_->frames[frame_].delayMs, 10);
  if (frameElapsed_ < delay) return false;
  frameElapsed_ = 0;
  if (++frame_ >= picture_->frames.size()) {
    frame_ = 0;
    ++loopsDone_;
  }
  return true;
}

bool TImageObj::AdvanceDrawn(int elapsedMs) {
  if (!drawn_ || !Advance(elapsedMs)) return false;
  drawn_ = false;
  return true;
}

void TImageObj::Draw(platform::Canvas& canvas, int x, int y, std::optional<platform::Color> linkColor) {
  const platform::Rect box{x, y, x + boxWidth, y + boxHeight};
  const int inset = border ? 1 : 0;
  const platform::Rect inner{box.left + inset, box.top + inset, box.right - inset, box.bottom - inset};
  drawnBox_ = box.Translated(-owner_->PaintOrigin().x, -owner_->PaintOrigin().y);
  drawn_ = true;
  const imaging::Bitmap& shown = Shown();
  if (kind_ == Kind::Picture) {
    canvas.DrawImage(inner, {shown.width, shown.height, shown.pixels.data()});
  } else {
    if (boxWidth > 23 && boxHeight > 23)
      canvas.DrawImage(
          {inner.left + 4, inner.top + 4, inner.left + 4 + kPlaceholderSize, inner.top + 4 + kPlaceholderSize},
          {shown.width, shown.height, shown.pixels.data()});
    if (!alt.empty()) {
      platform::FontEngine& fonts = owner_->Fonts();
      const platform::FontHandle font = fonts.CreateFont({"Arial", kAltFontPoints, 0, 0, owner_->Settings().charSet});
      const int lineHeight = fonts.Metrics(font).cellHeight;
      canvas.SetClip(inner);
      // The text wraps at blanks to the box, a line at a time while a whole line still fits.
      std::string_view rest = alt;
      for (int top = inner.top; !rest.empty() && top + lineHeight <= inner.bottom; top += lineHeight) {
        std::size_t take = rest.size();
        while (take > 0 && fonts.TextWidth(font, rest.substr(0, take), owner_->encoding) > inner.Width() - 24) {
          const auto blank = rest.substr(0, take).find_last_of(' ');
          if (blank == std::string_view::npos || blank == 0) break;
          take = blank;
        }
        canvas.DrawTextRun({inner.left + 24, top}, font, linkColor.value_or(platform::Rgb(0, 0, 0)),
                           rest.substr(0, take), std::nullopt, owner_->encoding);
        rest.remove_prefix(std::min(rest.size(), take + 1));
      }
      canvas.SetClip(std::nullopt);
    }
    if (!border) {
      canvas.DrawLine({box.left, box.top}, {box.right - 1, box.top}, platform::kColorButtonShadow);
      canvas.DrawLine({box.left, box.top}, {box.left, box.bottom - 1}, platform::kColorButtonShadow);
      canvas.DrawLine({box.left, box.bottom - 1}, {box.right - 1, box.bottom - 1}, platform::kColorButtonHighlight);
      canvas.DrawLine({box.right - 1, box.top}, {box.right - 1, box.bottom - 1}, platform::kColorButtonHighlight);
    }
  }
  if (border) {
    const platform::Color ink = linkColor.value_or(owner_->Settings().defHotSpotColor);
    canvas.DrawLine({box.left, box.top}, {box.right - 1, box.top}, ink);
    canvas.DrawLine({box.left, box.bottom - 1}, {box.right - 1, box.bottom - 1}, ink);
    canvas.DrawLine({box.left, box.top}, {box.left, box.bottom - 1}, ink);
    canvas.DrawLine({box.right - 1, box.top}, {box.right - 1, box.bottom - 1}, ink);
  }
}

std::optional<TUrlTarget> TImageObj::LinkAt(int x, int y, const TUrlTarget& runLink) const {
  const int inset = border ? 1 : 0;
  x -= inset;
  y -= inset;
  if (x < 0 || y < 0 || x >= width || y >= height) return std::nullopt;
  if (!useMap.empty()) {
    if (const TMapItem* map = owner_->FindMap(useMap)) {
      for (const TMapItem::Area& area : map->areas)
        if (area.Contains(x, y)) {
          if (area.link.url.empty()) return std::nullopt;
          return area.link;
        }
      return std::nullopt;
    }
  }
  if (runLink.Empty()) return std::nullopt;
  TUrlTarget link = runLink;
  if (isMap) link.url += "?" + std::to_string(x) + "," + std::to_string(y);
  return link;
}

bool TMapItem::Area::Contains(int x, int y) const {
  switch (shape) {
    case Shape::Rect:
      return x >= coords[0] && y >= coords[1] && x <= coords[2] && y <= coords[3];
    case Shape::Circle: {
      const long long dx = x - coords[0], dy = y - coords[1], r = coords[2];
      return dx * dx + dy * dy <= r * r;
    }
    case Shape::Poly: {
      // Winding rule: a point is inside when the edges wind around it.
      int winding = 0;
      const std::size_t n = coords.size() / 2;
      for (std::size_t i = 0; i < n; ++i) {
        const long long x1 = coords[2 * i], y1 = coords[2 * i + 1];
        const long long x2 = coords[2 * ((i + 1) % n)], y2 = coords[2 * ((i + 1) % n) + 1];
        const long long side = (x2 - x1) * (y - y1) - (x - x1) * (y2 - y1);
        if (y1 <= y && y2 > y && side > 0) ++winding;
        if (y1 > y && y2 <= y && side < 0) --winding;
      }
      return winding != 0;
    }
  }
  return false;
}

std::optional<TMapItem::Area> TMapItem::ReadArea(const TAttributeList& attributes) {
  Area area;
  bool noHref = false;
  std::string coords;
  for (const TAttribute& a : attributes.Items()) {
    if (a.kind == Attr::Href) area.link.url = a.text;
    if (a.kind == Attr::Target) area.link.target = a.text;
    if (a.kind == Attr::NoHref) noHref = true;
    if (a.kind == Attr::Coords) coords = a.text;
    if (a.kind == Attr::Shape) {
      std::string shape = platform::AsciiUpper(a.text.substr(0, 4));
      area.shape = shape == "CIRC" ? Shape::Circle : shape == "POLY" ? Shape::Poly : Shape::Rect;
    }
  }
  if (noHref) area.link = {};
  for (std::size_t start = 0; start <= coords.size() && area.coords.size() < 201;) {
    const std::size_t comma = std::min(coords.find(',', start), coords.size());
    const std::string number = platform::Trimmed(std::string_view(coords).substr(start, comma - start));
    int value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    if (!coords.empty()) area.coords.push_back(value);
    start = comma + 1;
  }
  const std::size_t needed = area.shape == Shape::Rect ? 4 : area.shape == Shape::Circle ? 3 : 6;
  if (area.coords.size() < needed) return std::nullopt;
  if (area.shape == Shape::Poly && area.coords.size() % 2) area.coords.pop_back();
  return area;
}

}  // namespace preview
