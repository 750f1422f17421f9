// Qt events into the viewer's calls; the viewer's requests into Qt calls.
#include "ui/PreviewWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>

#include "platform/qt/QtCanvas.h"
#include "platform/qt/TextBytes.h"

namespace ui {

PreviewWidget::PreviewWidget(QWidget* parent)
    : QWidget(parent),
      controls_(this),
      vertical_(new QScrollBar(Qt::Vertical, this)),
      horizontal_(new QScrollBar(Qt::Horizontal, this)),
      viewer_(fonts_, *this, eventLoop_) {
  setObjectName("HTML");
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  vertical_->hide();
  horizontal_->hide();
  vertical_->setSingleStep(preview::TPagePreview::kLineStep);
  horizontal_->setSingleStep(15);
  connect(vertical_, &QScrollBar::valueChanged, this, [this](int value) { viewer_.SetVScroll(value); });
  connect(horizontal_, &QScrollBar::valueChanged, this, [this](int value) { viewer_.SetHScroll(value); });
  // A bar's page step is also the size of its thumb to Qt; a click in the trough moves by the viewer's step.
  const auto pageByViewerStep = [](QScrollBar* bar, int action, int step) {
    if (action == QAbstractSlider::SliderPageStepAdd) bar->setSliderPosition(bar->value() + step);
    if (action == QAbstractSlider::SliderPageStepSub) bar->setSliderPosition(bar->value() - step);
  };
  connect(vertical_, &QScrollBar::actionTriggered, this,
          [this, pageByViewerStep](int action) { pageByViewerStep(vertical_, action, viewer_.VerticalPageStep()); });
  connect(horizontal_, &QScrollBar::actionTriggered, this, [this, pageByViewerStep](int action) {
    pageByViewerStep(horizontal_, action, viewer_.HorizontalPageStep());
  });
  viewer_.SetControlHost(&controls_);
  viewer_.onHotSpotCovered = [this](const std::string& url) {
    emit LinkCovered(platform::qt::TextFromBytes(url, viewer_.Document().encoding));
  };
  viewer_.onPointerShape = [this](preview::PointerShape shape) {
    setCursor(shape == preview::PointerShape::Hand   ? Qt::PointingHandCursor
              : shape == preview::PointerShape::Text ? Qt::IBeamCursor
                                                     : Qt::ArrowCursor);
  };
  viewer_.SetShowing(false);  // until the page is shown
}

platform::Size PreviewWidget::ClientSize() const { return {width(), height()}; }

void PreviewWidget::Invalidate(const platform::Rect& a) { update(a.left, a.top, a.Width(), a.Height()); }

void PreviewWidget::ScrollContents(int, int) { update(); }

void PreviewWidget::SetScrollBar(platform::ScrollBarKind kind, const platform::ScrollBarState& state) {
  const bool vertical = kind == platform::ScrollBarKind::Vertical;
  QScrollBar* bar = vertical ? vertical_ : horizontal_;
  const QSignalBlocker quiet(bar);
  bar->setRange(state.minimum, std::max(state.minimum, state.maximum - state.page));
  bar->setPageStep(state.page);
  bar->setValue(state.position);
  bar->setVisible(state.visible);
  const int w = preview::TPagePreview::kScrollBarWidth;
  const bool other = vertical ? horizontal_->isVisible() : vertical_->isVisible();
  if (vertical)
    bar->setGeometry(width() - w, 0, w, height() - (other ? w : 0));
  else
    bar->setGeometry(0, height() - w, width() - (other ? w : 0), w);
}

void PreviewWidget::CopySelection() {
  const std::string text = viewer_.SelectedText();
  if (!text.empty()) QApplication::clipboard()->setText(platform::qt::TextFromBytes(text, viewer_.Document().encoding));
}

void PreviewWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  platform::qt::QtCanvas canvas(painter, fonts_);
  const QRect r = event->rect();
  viewer_.Paint(canvas, {r.left(), r.top(), r.right() + 1, r.bottom() + 1}, hasFocus());
}

void PreviewWidget::resizeEvent(QResizeEvent*) { viewer_.Resize(); }

// Animated pictures stop while the preview page is hidden.
void PreviewWidget::showEvent(QShowEvent*) { viewer_.SetShowing(true); }
void PreviewWidget::hideEvent(QHideEvent*) { viewer_.SetShowing(false); }

void PreviewWidget::keyPressEvent(QKeyEvent* event) {
  using Key = preview::TPagePreview::Key;
  if (event->matches(QKeySequence::Copy)) return CopySelection();
  if (event->matches(QKeySequence::SelectAll)) return viewer_.SelectAll();
  switch (event->key()) {
    case Qt::Key_Up:
      return viewer_.KeyDown(Key::Up);
    case Qt::Key_Down:
      return viewer_.KeyDown(Key::Down);
    case Qt::Key_Left:
      return viewer_.KeyDown(Key::Left);
    case Qt::Key_Right:
      return viewer_.KeyDown(Key::Right);
    case Qt::Key_PageUp:
      return viewer_.KeyDown(Key::PageUp);
    case Qt::Key_PageDown:
      return viewer_.KeyDown(Key::PageDown);
    case Qt::Key_Home:
      return viewer_.KeyDown(Key::Home);
    case Qt::Key_End:
      return viewer_.KeyDown(Key::End);
    default:
      QWidget::keyPressEvent(event);
  }
}

void PreviewWidget::mousePressEvent(QMouseEvent* event) {
  setFocus();
  if (event->button() == Qt::LeftButton) viewer_.MouseDown({event->pos().x(), event->pos().y()});
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event) {
  viewer_.MouseMove({event->pos().x(), event->pos().y()}, event->buttons() & Qt::LeftButton);
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) viewer_.MouseUp({event->pos().x(), event->pos().y()});
}

void PreviewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) viewer_.DoubleClick({event->pos().x(), event->pos().y()});
}

void PreviewWidget::wheelEvent(QWheelEvent* event) { viewer_.Wheel(-event->angleDelta().y() / 40); }

}  // namespace ui
