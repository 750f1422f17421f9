// The viewer control's logic without a window: loading HTML, text and image files, layout for the
// window's width with its scroll-bar rules, painting, scrolling, selection, copying, finding, anchors,
// link following, history with going back and forward, META refresh and deferred form submission. The
// widget that shows it turns window events into these calls.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/ControlWindow.h"
#include "platform/EventLoop.h"
#include "preview/PreviewParser.h"

namespace preview {

// A file the viewer was asked to show that is not there ("Can't locate file: NAME").
class EViewerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class FileType { Html = 0, Text = 1, Image = 2 };
// The mouse pointer over the page: the hand over links, the text cursor over text, else the arrow.
enum class PointerShape { Arrow, Text, Hand };
enum class BorderStyle { Focused, None, Single };
enum class ScrollBars { None, Horizontal, Vertical, Both };

struct HistoryEntry {
  std::string file;
  std::string title;
  FileType type = FileType::Html;
  std::int64_t position = 0;  // a ViewPosition
};

class TPagePreview {
 public:
  static constexpr int kScrollBarWidth = 16;
  static constexpr int kMaxDocumentWidth = 2000;
  static constexpr int kLineStep = 16;
  static constexpr int kAnimationTickMs = 50;

  TPagePreview(platform::FontEngine& fonts, platform::ControlWindow& window, platform::EventLoop& loop);
  ~TPagePreview();
  TPagePreview(const TPagePreview&) = delete;
  TPagePreview& operator=(const TPagePreview&) = delete;

  // Properties; the main window's values are set by its preview page.
  PreviewSettings settings;
  int marginWidth = 10;
  int marginHeight = 5;
  ScrollBars scrollBars = ScrollBars::Both;
  BorderStyle borderStyle = BorderStyle::Focused;
  int historyMaxCount = 0;
  bool noSelect = false;
  std::string serverRoot;

  // Events.
  std::function<void(const std::string& url)> onHotSpotCovered;
  // The pointer's shape changed as the mouse moved.
  std::function<void(PointerShape shape)> onPointerShape;
  std::function<void(const std::string& url, bool& handled)> onHotSpotClick;
  std::function<void()> onHistoryChange;
  std::function<void(bool on)> onProcessing;
  std::function<void(int delay, const std::string& url)> onMetaRefresh;
  std::function<void(const std::string& action, const std::string& target, const std::string& encType,
                     const std::string& method, const std::vector<std::string>& entries)>
      onFormSubmit;
  // A block that layout had to drop ("Table has too many Columns"): told once a load is over, the first
  // such message of the load only. The live preview's renderings tell it when it newly appears.
  std::function<void(const std::string& message)> onLayoutError;
  // A link to a web address (http: or https:), for the desktop's browser.
  std::function<void(const std::string& url)> onOpenExternal;

  TSectionList& Document() { return document_; }
  void SetViewImages(bool view);
  void SetControlHost(platform::FormControlHost* host) { document_.controlHost = host; }

  // The loaders; a "#name" suffix scrolls to that anchor. Each raises EViewerError for a missing file.
  // An HTML file is read in the encoding given (the editor's, for its own text), else in the one detected.
  void LoadHtmlFile(const std::string& name, std::optional<platform::TextEncoding> encoding = {});
  void LoadTextFile(const std::string& name);
  void LoadImageFile(const std::string& name);
  // Shows page text that has no file of its own (the live preview): links and images are found in
  // folder, the view keeps its position, and neither the current file nor the history changes. The text is
  // read in the editor's encoding; a loaded file's is detected as the editor detects it.
  void ShowHtmlText(const std::string& page, const std::string& folder, platform::TextEncoding encoding);
  void ReloadFile();
  void Clear();

  const std::string& CurrentFile() const { return currentFile_; }
  const std::string& Title() const { return title_; }
  bool ScrollToAnchor(std::string name);
  // The block at the top of the window (high 32 bits) and the pixel offset into it (low 32 bits): a place
  // that survives a new layout. (Pages hold more than the 65535 blocks sixteen bits could number.)
  std::int64_t ViewPosition() const;
  void SetViewPosition(std::int64_t position);
  int VScroll() const { return vScroll_; }
  void SetVScroll(int offset);
  int HScroll() const { return hScroll_; }
  void SetHScroll(int offset);
  // How far a page key or a click in a scroll bar's trough moves.
  int VerticalPageStep() const { return std::max(1, Panel().Height() - kLineStep); }
  int HorizontalPageStep() const { return std::max(1, Panel().Width() - 20); }
  int DocumentHeight() const { return documentHeight_; }
  int DocumentWidth() const { return documentWidth_; }
  int LayoutWidth() const { return layoutWidth_; }
  std::string ExpandLinkPath(const std::string& link) const;

  // History, most recent first; Back goes to older entries.
  const std::vector<HistoryEntry>& History() const { return history_; }
  int HistoryIndex() const { return historyIndex_; }
  bool CanGoBack() const { return historyIndex_ + 1 < static_cast<int>(history_.size()); }
  bool CanGoForward() const { return historyIndex_ > 0; }
  void GoBack();
  void GoForward();

  // Window events. Animated pictures move only while the viewer is shown.
  void SetShowing(bool showing);
  void Resize();
  void Paint(platform::Canvas& canvas, const platform::Rect& clip, bool focused);
  enum class Key { Up, Down, Left, Right, PageUp, PageDown, Home, End };
  void KeyDown(Key key);
  void Wheel(int lines);
  void MouseDown(platform::Point at);
  void MouseMove(platform::Point at, bool leftDown);
  void MouseUp(platform::Point at);
  void DoubleClick(platform::Point at);

  std::string SelectedText() const { return document_.SelectedText(); }
  void SelectAll();
  // Selects the next occurrence after the selection; false when there is none.
  bool FindNext(const std::string& text, bool matchCase);

 private:
  void Load(std::string name, FileType type, bool keepPosition, std::optional<platform::TextEncoding> encoding = {});
  // Tells the first block the load's layout dropped, unless it is the one told before.
  void TellLayoutError(const std::string& toldBefore);
  void RecordHistory(const HistoryEntry& old);
  // Scrolls a document y outside the panel, or within 20 pixels of its bottom, to the panel's middle.
  void ScrollIntoView(int y);
  void ShowHistoryEntry(int index);
  void DoLayout();
  // The width a window of size lays pages out at.
  int WidthFor(platform::Size size) const;
  // Builds the page again from what it was built from, for its sheets' sake: at another width, or after a
  // sheet file changed.
  void Restyle();
  // Whether the page's styles depend on the width or on sheet files, so that keeping a way to build it
  // again is worth its cost.
  bool StylesMayChange() const;
  // Notes the times of the page's sheet files and polls them while there are any.
  void WatchSheets();
  void CheckSheets();
  static std::filesystem::file_time_type ModifiedTime(const std::string& file);
  void ArrangeScrollBars();
  platform::Rect Panel() const;
  void FollowLink(const std::string& link);
  void Meta(const std::string& httpEquiv, const std::string& content);
  // Where the document's origin stands in the window, and the document coordinates of a window point.
  platform::Point Origin() const;
  platform::Point ToDocument(platform::Point at) const;
  // Runs the animation timer while animated pictures are laid out and the viewer is shown.
  void UpdateAnimationTimer();
  void TickAnimations();
  int BlockIndexAt(int y) const;
  void ExtendSelection(platform::Point documentPoint);
  void AutoScroll();
  void StopAutoScroll();

  platform::ControlWindow& window_;
  platform::EventLoop& loop_;
  TSectionList document_;
  TNameList names_;
  std::string currentFile_;
  FileType fileType_ = FileType::Html;
  std::string title_;
  std::string base_;
  std::string baseTarget_;
  std::string covered_;
  PointerShape pointer_ = PointerShape::Arrow;
  int documentHeight_ = 0;
  int documentWidth_ = 0;
  int layoutWidth_ = 0;
  int vScroll_ = 0;
  int hScroll_ = 0;
  bool vBar_ = false;
  bool hBar_ = false;
  int anchor_ = -1;  // selection anchor and caret, document positions
  int caret_ = -1;
  bool pressed_ = false;
  std::vector<HistoryEntry> history_;
  int historyIndex_ = 0;
  bool processing_ = false;
  platform::TimerId submitTimer_;
  platform::TimerId autoScroll_;
  platform::TimerId animationTimer_;
  platform::TimerId sheetTimer_;
  static constexpr int kSheetPollMs = 1000;
  std::function<void()> reparse_;  // builds the shown page again; empty for what has no sheets to read
  std::vector<std::pair<std::string, std::filesystem::file_time_type>> sheetTimes_;
  bool showing_ = true;
  platform::Point dragPoint_;
  std::string layoutError_;  // the first block dropped by the last load's layout
  int refreshDelay_ = -1;
  std::string refreshUrl_;
};

}  // namespace preview
