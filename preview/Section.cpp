// Sections: their text and font runs, line breaking, drawing, and the questions the viewer asks of them
// (the character or link at a point, where a position is, finding text, copying the selection).
#include "preview/Section.h"

#include <algorithm>
#include <climits>

#include "preview/SectionList.h"

namespace preview {
namespace {

bool IsMark(char c) { return c == kImageMark || c == kControlMark; }

// Upper case for ASCII and the Latin-1 letters, for case-insensitive finding.
unsigned char Folded(char c) {
  const auto b = static_cast<unsigned char>(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return static_cast<unsigned char>(b - 32);
  return b;
}

// A run's font after the viewer's defaults changed: the default or preformatted face, the character set
// and scaling of now, and the default colours (colours the page gave are not kept).
void Rederive(TFontObj& run, const PreviewSettings& settings, platform::Color color) {
  run.font.name = run.font.fixedPitch ? settings.defPreFontName : settings.defFontName;
  run.font.charSet = settings.charSet;
  run.font.SetNominalSize(run.font.nominalSize, settings.defFontSize);
  run.font.color = color;
  run.Forget();
}

std::string Roman(int number) {
  static constexpr const char* kOnes[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
  return std::string(number / 10, 'X') + kOnes[number % 10];
}

}  // namespace

TSection::TSection(TSectionList* owner, int level, Alignment align, const TMyFont& font, SubSup subSup,
                   const TUrlTarget& link)
    : TSectionBase(owner), level_(level), align_(align == Alignment::None ? Alignment::Left : align) {
  ChangeFont(font, subSup, link.Empty() ? LinkChange::Keep : LinkChange::Start, link);
}

void TSection::AppendText(std::string_view text) {
  if (text.empty()) return;
  const bool onlyFloats = std::all_of(Images().begin(), Images().end(), [](const auto& i) { return i->Floats(); }) &&
                          Images().size() == text_.size();
  if (text.front() == ' ' && (text_.empty() || text_.back() == ' ' || onlyFloats)) text.remove_prefix(1);
  text_ += text;
}

const std::vector<std::unique_ptr<TImageObj>>& TSection::Images() const {
  static const std::vector<std::unique_ptr<TImageObj>> kNone;
  return objects_ ? objects_->images : kNone;
}

const std::vector<TFormControlObj*>& TSection::Controls() const {
  static const std::vector<TFormControlObj*> kNone;
  return objects_ ? objects_->controls : kNone;
}

TSection::Objects& TSection::MakeObjects() {
  if (!objects_) objects_ = std::make_unique<Objects>();
  return *objects_;
}

void TSection::AddImage(const TAttributeList& attributes) {
  const bool inLink = !fonts_.back().Link().Empty();
  MakeObjects().images.push_back(
      std::make_unique<TImageObj>(owner_, static_cast<int>(text_.size()), attributes, inLink));
  text_ += kImageMark;
}

TImageObj* TSection::ImageAt(int index) const {
  if (text_[index] != kImageMark) return nullptr;
  const auto found = std::lower_bound(Images().begin(), Images().end(), index,
                                      [](const auto& image, int i) { return image->pos < i; });
  return found != Images().end() && (*found)->pos == index ? found->get() : nullptr;
}

TImageObj* TSection::FloatAt(int index) const {
  TImageObj* image = ImageAt(index);
  return image && image->Floats() ? image : nullptr;
}

void TSection::AddControl(TFormControlObj* control) {
  control->pos = static_cast<int>(text_.size());
  MakeObjects().controls.push_back(control);
  text_ += kControlMark;
}

TFormControlObj* TSection::ControlAt(int index) const {
  if (text_[index] != kControlMark) return nullptr;
  const auto found = std::lower_bound(Controls().begin(), Controls().end(), index,
                                      [](const TFormControlObj* control, int i) { return control->pos < i; });
  return found != Controls().end() && (*found)->pos == index ? *found : nullptr;
}

int TSection::ObjectWidth(int index) const {
  if (const TImageObj* image = ImageAt(index)) return image->Floats() ? 0 : image->boxWidth;
  if (const TFormControlObj* control = ControlAt(index)) return control->width;
  return -1;
}

void TPreFormated::AppendText(std::string_view text) { text_ += text; }

void TSection::ChangeFont(const TMyFont& font, SubSup subSup, LinkChange change, const TUrlTarget& link) {
  const int end = static_cast<int>(text_.size());
  if (fonts_.empty() || fonts_.back().pos != end) {
    TFontObj run;
    run.pos = end;
    if (!fonts_.empty()) run.ShareLink(fonts_.back());
    fonts_.push_back(std::move(run));
  }
  TFontObj& run = fonts_.back();
  run.font = font;
  run.Forget();
  run.subSup = subSup;
  if (subSup != SubSup::None) run.font.SetNominalSize(font.nominalSize * 3 / 4, owner_->Settings().defFontSize);
  if (change == LinkChange::Start) run.SetLink(link);
  if (change == LinkChange::End) run.SetLink({});
}

std::size_t TSection::RunAt(int index) const {
  const auto after =
      std::upper_bound(fonts_.begin(), fonts_.end(), index, [](int i, const TFontObj& run) { return i < run.pos; });
  return after == fonts_.begin() ? 0 : static_cast<std::size_t>(after - fonts_.begin() - 1);
}

int TSection::RunEnd(std::size_t run) const { return run + 1 < fonts_.size() ? fonts_[run + 1].pos : INT_MAX; }

int TSection::CharacterEnd(int index) const {
  if (index <= 0 || index >= static_cast<int>(text_.size())) return index;
  const int start = static_cast<int>(platform::Utf8CharacterStart(text_, index));
  return start == index ? index : start + platform::Utf8SequenceLength(text_, start);
}

int TSection::TextWidth(int from, int to) const {
  // A UTF-8 character is measured whole with its first byte; its other bytes measure nothing.
  if (owner_->encoding == platform::TextEncoding::Utf8) {
    from = CharacterEnd(from);
    to = CharacterEnd(to);
  }
  int width = 0;
  for (std::size_t r = RunAt(from); from < to; ++r) {
    const int end = std::min(RunEnd(r), to);
    const TFontObj& run = fonts_[r];
    int piece = from;  // the text between objects is measured in one go
    for (int i = from; i <= end; ++i) {
      const int object = i < end && IsMark(text_[i]) ? ObjectWidth(i) : -1;
      if (i < end && object < 0) continue;
      if (i > piece)
        width +=
            owner_->Fonts().TextWidth(run.handle, std::string_view(text_).substr(piece, i - piece), owner_->encoding) -
            run.metrics.overhang;
      if (i < end) width += object;
      piece = i + 1;
    }
    from = end;
  }
  return width;
}

// The most characters from `from` that fit in avail, run by run; at least one. Within a run the count is
// found by doubling probes and then halving, so a line costs about its own length in measuring however
// long the run is.
int TSection::FitCount(int from, int avail) const {
  const int length = static_cast<int>(text_.size());
  int used = 0;
  int k = from;
  for (std::size_t r = RunAt(from); k < length; ++r) {
    const int remaining = std::min(RunEnd(r), length) - k;
    int fits = 0, fails = 0, fitWidth = 0;  // fits characters fit; fails do not, when above 0
    for (int probe = std::min(64, remaining); fails == 0; probe = std::min(probe * 2, remaining)) {
      const int width = TextWidth(k, k + probe);
      if (used + width > avail) {
        fails = probe;
      } else {
        fits = probe;
        fitWidth = width;
        if (probe == remaining) break;
      }
    }
    if (fails == 0) {
      used += fitWidth;
      k += remaining;
      continue;
    }
    while (fails - fits > 1) {
      const int middle = (fits + fails) / 2;
      (used + TextWidth(k, k + middle) <= avail ? fits : fails) = middle;
    }
    k += fits;
    break;
  }
  // A line never ends inside a UTF-8 character.
  if (owner_->encoding == platform::TextEncoding::Utf8 && k > from && k < length) {
    const int start = static_cast<int>(platform::Utf8CharacterStart(text_, k));
    k = start > from ? start : CharacterEnd(k);
  }
  return std::max(1, k - from);
}

// Where a line of count fitting characters breaks: after a run of blanks, before an object, after the
// last blank or object in it, or, for a word wider than the line, after the word and its blanks.
int TSection::BreakCount(int from, int count) const {
  const int length = static_cast<int>(text_.size());
  int end = from + count;
  if (text_[end - 1] == ' ') {
    while (end < length && text_[end] == ' ') ++end;
    return end - from;
  }
  if (IsMark(text_[end])) return count;
  for (int j = end - 1; j >= from; --j)
    if (text_[j] == ' ' || IsMark(text_[j])) return j + 1 - from;
  while (end < length && text_[end] != ' ' && !IsMark(text_[end])) ++end;
  while (end < length && text_[end] == ' ') ++end;
  return end - from;
}

int TSection::TrimmedEnd(const LineRec& line) const {
  int end = line.start + line.count;
  while (end > line.start && text_[end - 1] == ' ') --end;
  return end;
}

LineRec TSection::FinishLine(int from, int count, int left, int right, int y) const {
  LineRec line;
  line.start = from;
  line.count = count;
  line.y = y;
  bool onlyFloats = !Images().empty();
  for (int i = from; i < from + count && onlyFloats; ++i) onlyFloats = FloatAt(i) != nullptr;
  for (std::size_t r = RunAt(from); !onlyFloats && r < fonts_.size() && fonts_[r].pos < from + count; ++r) {
    line.lineHeight = std::max(line.lineHeight, fonts_[r].LineHeight());
    line.descent = std::max(line.descent, fonts_[r].metrics.descent);
  }
  // Controls stand on the baseline (check boxes, radio buttons) or on the bottom of the line.
  for (int i = from; !Controls().empty() && i < from + count; ++i)
    if (const TFormControlObj* control = ControlAt(i))
      line.spaceAbove =
          std::max(line.spaceAbove,
                   control->height - (control->OnBaseline() ? line.lineHeight - line.descent : line.lineHeight));
  // Inline images stand on the baseline, centre on the line or hang from its top.
  for (int i = from; !Images().empty() && i < from + count; ++i) {
    const TImageObj* image = ImageAt(i);
    if (!image || image->Floats()) continue;
    if (image->align == ImageAlign::Bottom) {
      line.spaceAbove = std::max(line.spaceAbove, image->boxHeight - (line.lineHeight - line.descent));
    } else if (image->align == ImageAlign::Middle) {
      const int excess = image->boxHeight - line.lineHeight;
      line.spaceAbove = std::max(line.spaceAbove, excess / 2);
      line.spaceBelow = std::max(line.spaceBelow, excess - excess / 2);
    } else {
      line.spaceBelow = std::max(line.spaceBelow, image->boxHeight - line.lineHeight);
    }
  }
  // Preformatted lines do not wrap, but they are centred or set right within the cell's real width.
  const int avail = right - left;
  const int width = align_ == Alignment::Left ? 0 : TextWidth(from, TrimmedEnd(line));
  switch (align_) {
    case Alignment::Center:
      line.x = std::max(left, left + (avail - width) / 2);
      break;
    case Alignment::Right:
      line.x = std::max(left, right - width - 1);
      break;
    default:
      line.x = left;
  }
  line.drawHeight = line.Height();
  return line;
}

int TSection::Clearance(const IndentManager& indents, int y) const {
  int bottom = kNoFloats;
  if (clearMode_ & 1) bottom = indents.LeftFloatBottom();
  if (clearMode_ & 2) bottom = std::max(bottom, indents.RightFloatBottom());
  return bottom >= y ? bottom + 1 - y : 0;
}

void TSection::PlaceFloat(TImageObj& image, int y, IndentManager& indents) const {
  if (image.align == ImageAlign::Left) {
    image.placed = {indents.LeftIndent(y), y};
    indents.AddLeftFloat(image.boxWidth + image.hspace, y, y + image.boxHeight - 1);
  } else {
    image.placed = {indents.RightSide(y) - image.boxWidth, y};
    indents.AddRightFloat(image.boxWidth + image.hspace, y, y + image.boxHeight - 1);
  }
}

void TSection::PlaceInlineImages(const LineRec& line) const {
  for (int i = line.start; !Images().empty() && i < line.start + line.count; ++i) {
    TImageObj* image = ImageAt(i);
    if (!image || image->Floats()) continue;
    const int baseline = line.y + line.spaceAbove + line.lineHeight - line.descent;
    const int top = image->align == ImageAlign::Bottom   ? baseline - image->boxHeight
                    : image->align == ImageAlign::Middle ? line.y + (line.Height() - image->boxHeight) / 2
                                                         : line.y + line.spaceAbove;
    image->placed = {line.x + TextWidth(line.start, i), top};
  }
}

int TSection::Layout(int y, int& position, int& maxWidth, IndentManager& indents) {
  yValue_ = y;
  startPosition_ = position;
  lines_.clear();
  indents.SetLevel(level_, y);
  PlaceBackground(y, indents);
  for (TFontObj& run : fonts_) run.Measure(owner_->Fonts());
  const int indent = indents.LeftIndent(y);
  for (auto& image : Images()) {
    image->Size(indents.RightSide(y) - indent);
    maxWidth = std::max(maxWidth, image->boxWidth + level_ * kListIndent);
  }
  for (const TFormControlObj* control : Controls())
    maxWidth = std::max(maxWidth, control->width + level_ * kListIndent);
  int bottom = y;
  if (const int clearance = Clearance(indents, y); clearance > 0) {
    LineRec blank;
    blank.y = y;
    blank.lineHeight = blank.drawHeight = clearance;
    lines_.push_back(blank);
    bottom += clearance;
  }
  const int length = static_cast<int>(text_.size());
  for (int from = 0; from < length;) {
    // Floats before anything else of the line stand at its top, and the line is fitted beside them.
    const int lineStart = from;
    for (; from < length && FloatAt(from); ++from) PlaceFloat(*FloatAt(from), bottom, indents);
    int left = indents.LeftIndent(bottom), right = indents.RightSide(bottom);
    FitBox(TextBox(), left, right);
    int count = 0;
    if (from < length) {
      count = FitCount(from, AvailableWidth(left, right));
      if (from + count < length) count = BreakCount(from, count);
    }
    LineRec line = FinishLine(lineStart, from - lineStart + count, left, right, bottom);
    // Floats met later in the line stand just below it.
    for (int i = from; !Images().empty() && i < from + count; ++i)
      if (TImageObj* image = FloatAt(i)) PlaceFloat(*image, bottom + line.Height(), indents);
    for (int i = lineStart; !Images().empty() && i < from + count; ++i)
      if (const TImageObj* image = FloatAt(i))
        line.drawHeight = std::max(line.drawHeight, image->placed.y + image->boxHeight - line.y);
    PlaceInlineImages(line);
    maxWidth = std::max(maxWidth, line.x + TextWidth(line.start, TrimmedEnd(line)));
    bottom += line.Height();
    lines_.push_back(line);
    from += count;
  }
  height_ = bottom - y;
  position += length;
  if (Kind() == BlockKind::OListItem || Kind() == BlockKind::UListItem || Kind() == BlockKind::DListItem) {
    const int floatBottom = indents.LeftFloatBottomBeyond(level_, y);
    if (floatBottom >= y) height_ = std::max(height_, floatBottom + 1 - y);
  }
  const int floats = std::max(indents.LeftFloatBottom(), indents.RightFloatBottom());
  drawHeight_ = std::max(height_, floats + 1 - y);
  return height_;
}

void TSection::DrawLine(platform::Canvas& canvas, const LineRec& line, platform::Point offset, int baseline) {
  const platform::Color background = owner_->Background();
  const int selStart = owner_->SelStart() - startPosition_, selEnd = owner_->SelEnd() - startPosition_;
  int x = line.x + offset.x;
  const int end = line.start + line.count;
  for (std::size_t r = RunAt(line.start); r < fonts_.size() && fonts_[r].pos < end; ++r) {
    const TFontObj& run = fonts_[r];
    const int from = std::max(run.pos, line.start), to = std::min(RunEnd(r), end);
    int top = baseline - run.metrics.ascent;
    if (run.subSup == SubSup::Sup) top -= run.LineHeight() / 3;
    if (run.subSup == SubSup::Sub) top += run.metrics.descent / 2 + 1;
    const auto drawText = [&](int a, int b) {
      // Before, inside and after the selection.
      const int cuts[] = {a, std::clamp(selStart, a, b), std::clamp(selEnd, a, b), b};
      for (int part = 0; part < 3; ++part) {
        if (cuts[part] >= cuts[part + 1]) continue;
        const std::string_view bytes = std::string_view(text_).substr(cuts[part], cuts[part + 1] - cuts[part]);
        const bool selected = part == 1;
        if (!run.font.invisible)
          canvas.DrawTextRun({x, top}, run.handle, selected ? background : run.font.color, bytes,
                             selected ? std::optional(run.font.color) : run.font.background, owner_->encoding);
        x += TextWidth(cuts[part], cuts[part + 1]);
      }
    };
    int piece = from;
    for (int i = from; i < to; ++i) {
      if (!IsMark(text_[i])) continue;
      if (TFormControlObj* control = ControlAt(i)) {
        drawText(piece, i);
        piece = i + 1;
        control->Place(x, baseline, baseline + line.descent);
        x += control->width;
        continue;
      }
      TImageObj* image = ImageAt(i);
      if (!image) continue;
      drawText(piece, i);
      piece = i + 1;
      if (image->Floats()) continue;  // floats are drawn with the section
      const auto linkColor = run.Link().Empty() ? std::nullopt : std::optional(run.font.color);
      image->Draw(canvas, image->placed.x + offset.x, image->placed.y + offset.y, linkColor);
      x += image->boxWidth;
    }
    drawText(piece, to);
  }
}

void TSection::Draw(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset) {
  DrawBackground(canvas, clip, offset);
  const bool clipLines = Kind() == BlockKind::PreFormated;
  for (const LineRec& line : lines_) {
    const int top = line.y + offset.y;
    if (top >= clip.bottom) break;
    if (top + line.drawHeight < clip.top) continue;
    const int baseline = top + line.spaceAbove + line.lineHeight - line.descent;
    if (&line == &lines_.front()) DrawMarker(canvas, line.x + offset.x, baseline, line);
    if (clipLines) canvas.SetClip(platform::Rect{clip.left, top, clip.right, top + line.Height()}.Intersected(clip));
    DrawLine(canvas, line, offset, baseline);
    if (clipLines) canvas.SetClip(clip);
  }
  for (auto& image : Images()) {
    const int top = image->placed.y + offset.y;
    if (!image->Floats() || top >= clip.bottom || top + image->boxHeight < clip.top) continue;
    const TUrlTarget& link = fonts_[RunAt(image->pos)].Link();
    image->Draw(canvas, image->placed.x + offset.x, top,
                link.Empty() ? std::nullopt : std::optional(fonts_[RunAt(image->pos)].font.color));
  }
}

// The character whose left half holds x, or the one after when x is in its right half.
int TSection::CharIndexAt(const LineRec& line, int x) const {
  int left = line.x;
  const int end = line.start + line.count;
  for (int i = line.start; i < end; ++i) {
    const int width = TextWidth(i, i + 1);
    if (x < left + width / 2) return i;
    left += width;
  }
  return end;
}

int TSection::CursorAt(int x, int y) const {
  for (const LineRec& line : lines_)
    if (y >= line.y && y < line.y + line.Height()) return startPosition_ + CharIndexAt(line, x);
  return -1;
}

TImageObj* TSection::ImageAtPoint(int x, int y, platform::Point& inside) const {
  for (const auto& image : Images()) {
    const int border = image->border ? 1 : 0;
    const int px = x - image->placed.x - border, py = y - image->placed.y - border;
    if (px >= 0 && py >= 0 && px < image->width && py < image->height) {
      inside = {px, py};
      return image.get();
    }
  }
  return nullptr;
}

std::optional<TUrlTarget> TSection::UrlAt(int x, int y) const {
  for (const auto& image : Images()) {
    const int dx = x - image->placed.x, dy = y - image->placed.y;
    if (dx >= 0 && dy >= 0 && dx < image->boxWidth && dy < image->boxHeight)
      return image->LinkAt(dx, dy, fonts_[RunAt(image->pos)].Link());
  }
  const int i = CharUnder(x, y);
  if (i < 0 || fonts_[RunAt(i)].Link().Empty()) return std::nullopt;
  return fonts_[RunAt(i)].Link();
}

bool TSection::OverText(int x, int y) const {
  const int i = CharUnder(x, y);
  return i >= 0 && !IsMark(text_[i]);
}

int TSection::CharUnder(int x, int y) const {
  for (const LineRec& line : lines_) {
    if (y < line.y || y >= line.y + line.Height() || x < line.x) continue;
    int left = line.x;
    for (int i = line.start; i < line.start + line.count; ++i) {
      left += TextWidth(i, i + 1);
      if (x < left) return i;
    }
  }
  return -1;
}

// A position is a character's: the end of a section is the next section's start, so it is not found here.
bool TSection::PositionToXY(int position, int& x, int& y) const {
  const int index = position - startPosition_;
  if (index < 0 || index >= static_cast<int>(text_.size())) return false;
  for (const LineRec& line : lines_) {
    if (index < line.start || index >= line.start + line.count) continue;
    x = line.x + TextWidth(line.start, index);
    y = line.y;
    return true;
  }
  return false;
}

bool TSection::WordAt(int position, int& start, int& end) const {
  const int length = static_cast<int>(text_.size());
  const int index = position - startPosition_;
  if (index < 0 || index >= length) return false;
  const auto word = [this](int i) {
    const auto b = static_cast<unsigned char>(text_[i]);
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_' || b >= 0xC0;
  };
  int a = index, b = index;
  while (b < length && word(b)) ++b;
  while (a > 0 && word(a - 1)) --a;
  start = startPosition_ + a;
  end = startPosition_ + b;
  return true;
}

bool TSection::CharAt(int position, char& ch) const {
  const int index = position - startPosition_;
  if (index < 0 || index >= static_cast<int>(text_.size())) return false;
  ch = text_[index];
  return true;
}

int TSection::FindText(int from, std::string_view text, bool matchCase) const {
  const int length = static_cast<int>(text_.size());
  const int start = std::max(0, from - startPosition_);
  if (text.empty() || start >= length) return -1;
  if (matchCase) {
    const auto found = text_.find(text, start);
    return found == std::string::npos ? -1 : startPosition_ + static_cast<int>(found);
  }
  const auto same = [](char a, char b) { return Folded(a) == Folded(b); };
  const auto found = std::search(text_.begin() + start, text_.end(), text.begin(), text.end(), same);
  return found == text_.end() ? -1 : startPosition_ + static_cast<int>(found - text_.begin());
}

void TSection::CopyToBuffer(std::string& buffer) const {
  const int selStart = owner_->SelStart(), selEnd = owner_->SelEnd();
  for (const LineRec& line : lines_) {
    const int lineStart = startPosition_ + line.start, lineEnd = lineStart + line.count;
    if (line.count == 0 || selEnd <= lineStart || selStart >= lineEnd) continue;
    // A list's lines are indented by their level; a line a float pushed left of the page has none.
    if (selStart <= lineStart) buffer.append(3 * (std::max(0, line.x) / kListIndent), ' ');
    for (int p = std::max(selStart, lineStart); p < std::min(selEnd, lineEnd); ++p)
      if (!IsMark(text_[p - startPosition_])) buffer += text_[p - startPosition_];
    if (selEnd >= lineEnd) buffer += "\r\n";
  }
}

void TSection::RefreshFonts() {
  const PreviewSettings& settings = owner_->Settings();
  for (TFontObj& run : fonts_)
    Rederive(run, settings, run.Link().Empty() ? settings.defFontColor : settings.defHotSpotColor);
  UpdateSpacing();
}

void TOListItem::RefreshFonts() {
  TSection::RefreshFonts();
  Rederive(markerFont_, owner_->Settings(), owner_->Settings().defFontColor);
}

void TSection::WidthRange(int& min, int& max) {
  for (TFontObj& run : fonts_) run.Measure(owner_->Fonts());
  const int length = static_cast<int>(text_.size());
  min = 0;
  for (int i = 0; i < length;) {
    while (i < length && (text_[i] == ' ' || IsMark(text_[i]))) ++i;
    int end = i;
    while (end < length && text_[end] != ' ' && !IsMark(text_[end])) ++end;
    if (end > i) min = std::max(min, TextWidth(i, end));
    i = end;
  }
  const int indent = level_ * kListIndent;
  min += indent;
  max = TextWidth(0, length) + indent;
}

void TPreFormated::WidthRange(int& min, int& max) {
  TSection::WidthRange(min, max);
  min = std::min(500, max);
}

std::string TOListItem::MarkerText() const {
  switch (type_) {
    case 'A':
    case 'a':
      return std::string(1, static_cast<char>(type_ + std::clamp(number_ - 1, 0, 25))) + ".";
    case 'I':
      return Roman(std::clamp(number_, 1, 20)) + ".";
    case 'i': {
      std::string numeral = Roman(std::clamp(number_, 1, 20));
      for (char& c : numeral) c = static_cast<char>(c - 'A' + 'a');
      return numeral + ".";
    }
    default:
      return std::to_string(number_) + ".";
  }
}

void TOListItem::DrawMarker(platform::Canvas& canvas, int textX, int baseline, const LineRec&) {
  markerFont_.Measure(owner_->Fonts());
  const TFontObj& font = markerFont_;
  const std::string marker = MarkerText();
  const int width = owner_->Fonts().TextWidth(font.handle, marker) - font.metrics.overhang;
  canvas.DrawTextRun({textX - 5 - width, baseline - font.metrics.ascent}, font.handle, font.font.color, marker,
                     std::nullopt);
}

std::string TUListItem::MarkerText() const {
  if (plain_) return {};
  return DrawsFilledDiscs(owner_->Background()) ? "disc" : "circle";
}

void TUListItem::DrawMarker(platform::Canvas& canvas, int textX, int baseline, const LineRec& line) {
  if (plain_) return;
  const int cx = textX - 8, cy = baseline - line.lineHeight / 2;
  const platform::Rect box{cx - 2, cy - 2, cx + 3, cy + 3};
  if (!DrawsFilledDiscs(owner_->Background())) {
    canvas.DrawEllipse(box, owner_->Settings().defFontColor, std::nullopt);
    return;
  }
  const int level = Level();
  const platform::Color fill = level == 1 || level == 4   ? platform::Rgb(0x00, 0x00, 0x80)
                               : level == 2 || level == 5 ? platform::Rgb(0x80, 0x00, 0x00)
                                                          : platform::Rgb(0xFF, 0x00, 0x00);
  canvas.DrawEllipse(box, fill, fill);
}

}  // namespace preview
