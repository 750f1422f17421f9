// Event translation for the editor widget.
#include "platform/qt/EditorWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>

#include "platform/Cp1252.h"
#include "platform/qt/QtCanvas.h"

namespace platform::qt {

EditorWidget::EditorWidget(QWidget* parent) : QAbstractScrollArea(parent), editor_(fonts_, clipboard_) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  blink_.setInterval(QApplication::cursorFlashTime() / 2 > 0 ? QApplication::cursorFlashTime() / 2 : 500);
  connect(&blink_, &QTimer::timeout, this, [this] {
    caretShown_ = !caretShown_;
    viewport()->update(CaretRect());
  });
  editor_.SetWindow(this);
}

EditorWidget::~EditorWidget() { editor_.SetWindow(nullptr); }

Size EditorWidget::ClientSize() const { return {viewport()->width(), viewport()->height()}; }

void EditorWidget::Invalidate(const Rect& a) { viewport()->update(QRect(a.left, a.top, a.Width(), a.Height())); }

void EditorWidget::ScrollContents(int dx, int dy) { viewport()->scroll(dx, dy); }

void EditorWidget::RepaintNow() { viewport()->repaint(); }

void EditorWidget::SetScrollBar(ScrollBarKind kind, const ScrollBarState& s) {
  QScrollBar* bar = kind == ScrollBarKind::Vertical ? verticalScrollBar() : horizontalScrollBar();
  settingScrollBars_ = true;
  // Qt's maximum is the last position of the bar's top, not the end of the range.
  bar->setRange(s.minimum, std::max(s.minimum, s.maximum - s.page + 1));
  bar->setPageStep(std::max(1, s.page));
  bar->setValue(s.position);
  settingScrollBars_ = false;
}

void EditorWidget::scrollContentsBy(int, int) {
  if (settingScrollBars_) return;
  editor_.ScrollBarMoved(ScrollBarKind::Vertical, verticalScrollBar()->value());
  editor_.ScrollBarMoved(ScrollBarKind::Horizontal, horizontalScrollBar()->value());
}

QRect EditorWidget::CaretRect() const {
  const int height = editor_.RowHeight() - 2;
  const int width = editor_.InsertMode() ? 2 : editor_.CellWidth();
  return QRect(caret_.x, caret_.y, width, height);
}

void EditorWidget::SetCaretPosition(Point topLeft) {
  viewport()->update(CaretRect());
  caret_ = topLeft;
  caretShown_ = true;
  viewport()->update(CaretRect());
}

void EditorWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  QtCanvas canvas(painter, fonts_);
  const QRect r = event->rect();
  editor_.Paint(canvas, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  if (hasFocus() && caretShown_ && caret_.x >= editor_.GutterPixels())
    painter.fillRect(CaretRect(), ToQColor(editor_.FontColor()));
}

void EditorWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  editor_.Resized();
}

template <typename F>
void EditorWidget::Guarded(F&& call) {
  try {
    call();
  } catch (const std::exception& e) {
    QMessageBox::critical(this, windowTitle(), QString::fromLocal8Bit(e.what()));
  }
}

void EditorWidget::keyPressEvent(QKeyEvent* event) {
  using namespace editor;
  TqeEditorCommand command = ecNone;
  if (event == QKeySequence::Copy) command = ecCopy;
  else if (event == QKeySequence::Cut) command = ecCut;
  else if (event == QKeySequence::Paste) command = ecPaste;
  else if (event == QKeySequence::SelectAll) command = ecSelectAll;
  if (command != ecNone) {
    Guarded([&] { editor_.ExecuteCommand(command, 0, nullptr); });
    return;
  }
  // Plain caret moves until the key map takes over every key.
  const TextPoint caret = editor_.CaretXY();
  TextPoint target = caret;
  switch (event->key()) {
    case Qt::Key_Left: target.column -= 1; break;
    case Qt::Key_Right: target.column += 1; break;
    case Qt::Key_Up: target.line -= 1; break;
    case Qt::Key_Down: target.line += 1; break;
    case Qt::Key_Home: target.column = 1; break;
    case Qt::Key_End: target.column = static_cast<int>(editor_.CurrentLineText().size()) + 1; break;
    default: {
      const QString text = event->text();
      if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
      }
      Guarded([&] {
        for (char32_t code : text.toUcs4()) editor_.KeyPress(static_cast<char>(UnicodeToCp1252(code)));
      });
      return;
    }
  }
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  editor_.ExecuteCommand(extend ? ecSelGotoXY : ecGotoXY, 0, &target);
}

bool EditorWidget::focusNextPrevChild(bool next) {
  // Tab is a character for the editor when it wants tabs.
  if (editor_.WantTabs()) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

editor::TextPoint EditorWidget::PointAt(QPoint p) const {
  const int cell = editor_.CellWidth();
  return {(p.x() - editor_.TextLeft() + cell / 2) / cell + 1, p.y() / editor_.RowHeight() + editor_.TopLine()};
}

void EditorWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const editor::TextPoint target = PointAt(event->position().toPoint());
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  editor_.ExecuteCommand(extend ? editor::ecSelGotoXY : editor::ecGotoXY, 0, &target);
}

void EditorWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const editor::TextPoint target = PointAt(event->position().toPoint());
  editor_.ExecuteCommand(editor::ecSelGotoXY, 0, &target);
}

void EditorWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  editor_.SetFocused(true);
  caretShown_ = true;
  blink_.start();
  viewport()->update(CaretRect());
}

void EditorWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  editor_.SetFocused(false);
  blink_.stop();
  viewport()->update(CaretRect());
}

}  // namespace platform::qt
