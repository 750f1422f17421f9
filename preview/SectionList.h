// The previewed document: the top cell of blocks, with the viewer's default fonts and colours, the
// selection, and the font engine that measures it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/FormControls.h"
#include "preview/FormControls.h"
#include "preview/Images.h"
#include "preview/PreviewBlocks.h"

namespace preview {

struct PreviewSettings {
  std::string defFontName = "Times New Roman";  // at most 33 bytes are kept
  std::string defPreFontName = "Courier New";
  int defFontSize = 12;  // at least 6
  platform::Color defFontColor = platform::kColorButtonText;
  platform::Color defHotSpotColor = platform::Rgb(0, 0, 255);
  platform::Color defBackground = platform::kColorButtonFace;
  int charSet = 1;
};

// What the page's image request handler answers: no picture, the picture's bytes, or "wait" (the image
// is shown as not available and not asked for again during this page).
struct ImageReply {
  enum class Kind { None, Data, Wait } kind = Kind::None;
  std::string bytes;
};
using TImageRequest = std::function<ImageReply(const std::string& src)>;

// What a script on the page is handed to: its LANGUAGE and its text, lines ended by CR LF.
using TScriptEvent = std::function<void(const std::string& language, const std::string& script)>;
// Tells that layout dropped block index of cell, and why.
using TLayoutErrorEvent = std::function<void(const TCell& cell, std::size_t index, const std::string& message)>;

class PageStyles;
// The layout width a page's @media rules are read at when the viewer has not said.
constexpr int kDefaultStyleWidth = 800;

class TSectionList : public TCell {
 public:
  TSectionList(platform::FontEngine& fonts, PreviewSettings settings);

  platform::FontEngine& Fonts() const { return fonts_; }
  const PreviewSettings& Settings() const { return settings_; }
  // New defaults: every block re-derives its fonts and spacing.
  void SetSettings(PreviewSettings settings);
  // The page's background colour, from BODY or the default.
  platform::Color Background() const { return background_; }
  void SetBackground(platform::Color color) { background_ = color; }
  const std::string& BackgroundImage() const { return backgroundImage_; }
  void SetBackgroundImage(std::string name);
  // The page's background picture to tile, when it is a still picture that could be read.
  const imaging::Bitmap* BackgroundBitmap();

  // Where relative image sources are found: a path relative to imageFolder, or the source itself when
  // it is absolute ("file:" prefixes are dropped).
  std::string ExpandSource(const std::string& src) const;
  const TMapItem* FindMap(const std::string& name) const;
  // Shows the next frames of the animated images drawn since their last change; answers the boxes
  // (document coordinates) whose picture changed.
  std::vector<platform::Rect> TickAnimations(int elapsedMs);
  // Whether the laid-out document holds animated pictures (the viewer's timer runs only then).
  bool HasAnimations() const { return !animated_.empty(); }
  // The document's origin in the canvas of the paint in progress (or the last one).
  platform::Point PaintOrigin() const { return paintOrigin_; }

  // Everything built goes; the selection and the page's background are reset.
  void ClearDocument();
  // Lays the document out for width; answers its height. Widest() is the widest thing laid out.
  int DoLayout(int width);
  // Draws what of the document falls in clip with its origin at offset. Form controls are hidden once they
  // are out of the visible part of the canvas; one only missed by a paint of part of it stays as it is.
  void Paint(platform::Canvas& canvas, const platform::Rect& clip, platform::Point offset,
             const platform::Rect& visible);
  // A form control took or lost the keyboard focus (tells onControlFocus).
  void ControlFocusChanged(const TFormControlObj& control, bool focused);
  int Widest() const { return widest_; }
  int Height() const { return height_; }

  int SelStart() const { return selStart_; }
  int SelEnd() const { return selEnd_; }
  void SetSelection(int start, int end);
  // The selected text, lines ended by CR LF.
  std::string SelectedText() const;

  TScriptEvent onScript;
  TLayoutErrorEvent onLayoutError;
  TImageRequest onImageRequest;
  // Hears a form's submission: action, target, encoding type, method and the NAME=value entries.
  std::function<void(const std::string& action, const std::string& target, const std::string& encType,
                     const std::string& method, const std::vector<std::string>& entries)>
      onFormSubmit;
  // Hears a click on a button, check box or radio button: its NAME and ONCLICK.
  std::function<void(const std::string& name, const std::string& onClick)> onObjectClick;
  // Hears a form control take the keyboard focus.
  std::function<void(const TFormControlObj& control)> onControlFocus;
  // Makes the window controls of forms; without one, controls keep their values but show nothing.
  platform::FormControlHost* controlHost = nullptr;
  std::vector<std::unique_ptr<ThtmlForm>> forms;
  std::vector<std::unique_ptr<TFormControlObj>> controls;
  bool viewImages = true;
  std::string imageFolder;
  // How the page's bytes are read: text is measured and drawn in it, entities are written in it.
  platform::TextEncoding encoding = platform::TextEncoding::Cp1252;
  std::vector<std::string> delayedImages;
  std::vector<TMapItem> maps;
  // The width the page's @media conditions are read at (kDefaultStyleWidth when 0), and the page's
  // sheets once it is built: a relayout to a width where they read otherwise builds the page again.
  int styleWidth = 0;
  std::shared_ptr<const PageStyles> styles;

 private:
  platform::FontEngine& fonts_;
  PreviewSettings settings_;
  platform::Color background_;
  std::string backgroundImage_;
  std::unique_ptr<TImageObj> backgroundPicture_;
  int selStart_ = 0;
  int selEnd_ = 0;
  std::vector<TImageObj*> animated_;  // found by the last layout
  void HideControlsOutOfSight();

  platform::Point paintOrigin_;
  platform::Rect paintVisible_;
  int widest_ = 0;
  int height_ = 0;
};

// True when an unordered list's marker is a filled disc on this background (button face, white or silver,
// system colours taken as the classic scheme has them); otherwise it is an outlined circle.
bool DrawsFilledDiscs(platform::Color background);

}  // namespace preview
