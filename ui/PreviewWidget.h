// The viewer on screen: a widget that paints the core viewer, hands it mouse, wheel and keys, holds its
// scroll bars and its page's form controls.
#pragma once

#include <QScrollBar>
#include <QWidget>

#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFontEngine.h"
#include "platform/qt/QtFormControls.h"
#include "preview/PagePreview.h"

namespace ui {

class PreviewWidget : public QWidget, public platform::ControlWindow {
  Q_OBJECT

 public:
  explicit PreviewWidget(QWidget* parent = nullptr);
  preview::TPagePreview& Viewer() { return viewer_; }
  // The selected text on the clipboard, as the viewer copies it.
  void CopySelection();

  // platform::ControlWindow
  platform::Size ClientSize() const override;
  void Invalidate(const platform::Rect& area) override;
  void ScrollContents(int dx, int dy) override;
  void SetScrollBar(platform::ScrollBarKind kind, const platform::ScrollBarState& state) override;
  void SetCaret(const platform::Rect&) override {}
  void RepaintNow() override { repaint(); }

 signals:
  // The link under the mouse, empty when it leaves one.
  void LinkCovered(const QString& url);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  platform::qt::QtFontEngine fonts_;
  platform::qt::QtEventLoop eventLoop_;
  platform::qt::QtFormControlHost controls_;
  QScrollBar* vertical_;
  QScrollBar* horizontal_;
  preview::TPagePreview viewer_;
};

}  // namespace ui
