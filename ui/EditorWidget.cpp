// Event translation for the editor widget: Qt keys become virtual-key codes for the key map, mouse and
// wheel events become core calls, and the core's window requests become viewport updates.
#include "ui/EditorWidget.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "platform/TextEncoding.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/TextBytes.h"

namespace ui {
namespace {

editor::TShiftState MouseShift(Qt::KeyboardModifiers m) { return EditorWidget::ShiftState(m); }

}  // namespace

EditorWidget::EditorWidget(QWidget* parent) : QAbstractScrollArea(parent), editor_(fonts_, clipboard_) { SetUp(); }

EditorWidget::EditorWidget(editor::TqeDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), editor_(fonts_, clipboard_, document) {
  SetUp();
}

void EditorWidget::SetUp() {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setMouseTracking(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  blink_.setInterval(QApplication::cursorFlashTime() / 2 > 0 ? QApplication::cursorFlashTime() / 2 : 500);
  connect(&blink_, &QTimer::timeout, this, [this] {
    caretShown_ = !caretShown_;
    viewport()->update(CaretRect());
  });
  // While the thumb is dragged the hint near the top right corner names the new top line.
  connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, [this] {
    if (!editor_.ShowScrollHint()) return;
    const QString hint = QString("TopLine: %1").arg(editor_.TopLine());
    QToolTip::showText(mapToGlobal(QPoint(width() - 4 - fontMetrics().horizontalAdvance(hint) - 8, 10)), hint, this);
  });
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [] { QToolTip::hideText(); });
  editor_.SetEventLoop(&eventLoop_);
  editor_.SetWindow(this);
  editor_.SetShowMatches(true);
  editor_.SetShowFoldMarks(true);
  // The list is a child of the view, so the keyboard stays with the text while it is open.
  completionList_ = new QListWidget(viewport());
  completionList_->setObjectName("CompletionList");
  completionList_->setFocusPolicy(Qt::NoFocus);
  completionList_->setUniformItemSizes(true);
  completionList_->hide();
  connect(completionList_, &QListWidget::itemClicked, this, [this] { AcceptCompletion(); });
}

void EditorWidget::ShowCompletion() {
  if (!tables_) return;
  completionContext_ = editor::CompletionAt(editor_);
  const auto candidates = editor::Candidates(*tables_, completionContext_);
  if (candidates.empty()) {
    completionList_->hide();
    return;
  }
  completionList_->clear();
  for (const std::string& name : candidates) completionList_->addItem(QString::fromStdString(name));
  completionList_->setCurrentRow(0);
  const int rows = std::min<int>(candidates.size(), 10);
  const int height = completionList_->sizeHintForRow(0) * rows + 2 * completionList_->frameWidth();
  const int width = std::max(160, completionList_->sizeHintForColumn(0) + 40);
  // Below the caret's line, or above it when there is no room below.
  const QRect caret = CaretRect();
  int x = std::min(caret.left(), std::max(0, viewport()->width() - width));
  int y = caret.bottom() + 2;
  if (y + height > viewport()->height() && caret.top() - height - 2 >= 0) y = caret.top() - height - 2;
  completionList_->setGeometry(x, y, width, height);
  completionList_->show();
  completionList_->raise();
}

void EditorWidget::AcceptCompletion() {
  QListWidgetItem* item = completionList_->currentItem();
  completionList_->hide();
  if (!item) return;
  Guarded([&] { editor::InsertCompletion(editor_, completionContext_, item->text().toStdString()); });
}

bool EditorWidget::CompletionKey(QKeyEvent* event) {
  if (!completionList_->isVisible()) return false;
  int step = 0;
  switch (event->key()) {
    case Qt::Key_Up:
      step = -1;
      break;
    case Qt::Key_Down:
      step = 1;
      break;
    case Qt::Key_PageUp:
      step = -9;
      break;
    case Qt::Key_PageDown:
      step = 9;
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
      AcceptCompletion();
      return true;
    case Qt::Key_Escape:
      completionList_->hide();
      return true;
    default:
      return false;
  }
  completionList_->setCurrentRow(std::clamp(completionList_->currentRow() + step, 0, completionList_->count() - 1));
  return true;
}

EditorWidget::~EditorWidget() { editor_.SetWindow(nullptr); }

std::uint16_t EditorWidget::VirtualKey(int key) {
  switch (key) {
    case Qt::Key_Backspace:
      return editor::VK_BACK;
    case Qt::Key_Tab:
      return editor::VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return editor::VK_RETURN;
    case Qt::Key_Escape:
      return editor::VK_ESCAPE;
    case Qt::Key_Space:
      return editor::VK_SPACE;
    case Qt::Key_PageUp:
      return editor::VK_PRIOR;
    case Qt::Key_PageDown:
      return editor::VK_NEXT;
    case Qt::Key_End:
      return editor::VK_END;
    case Qt::Key_Home:
      return editor::VK_HOME;
    case Qt::Key_Left:
      return editor::VK_LEFT;
    case Qt::Key_Up:
      return editor::VK_UP;
    case Qt::Key_Right:
      return editor::VK_RIGHT;
    case Qt::Key_Down:
      return editor::VK_DOWN;
    case Qt::Key_Insert:
      return editor::VK_INSERT;
    case Qt::Key_Delete:
      return editor::VK_DELETE;
    default:
      break;
  }
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
    return static_cast<std::uint16_t>(key);  // Qt's codes for these equal the virtual keys
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::uint16_t>(editor::VK_F1 + (key - Qt::Key_F1));
  return 0;
}

editor::TShiftState EditorWidget::ShiftState(Qt::KeyboardModifiers m) {
  editor::TShiftState shift = 0;
  if (m & Qt::ShiftModifier) shift |= editor::ssShift;
  if (m & Qt::ControlModifier) shift |= editor::ssCtrl;
  if (m & Qt::AltModifier) shift |= editor::ssAlt;
  return shift;
}

platform::Size EditorWidget::ClientSize() const { return {viewport()->width(), viewport()->height()}; }

void EditorWidget::Invalidate(const platform::Rect& a) {
  viewport()->update(QRect(a.left, a.top, a.Width(), a.Height()));
}

void EditorWidget::ScrollContents(int dx, int dy) { viewport()->scroll(dx, dy); }

void EditorWidget::RepaintNow() { viewport()->repaint(); }

void EditorWidget::SetScrollBar(platform::ScrollBarKind kind, const platform::ScrollBarState& s) {
  QScrollBar* bar = kind == platform::ScrollBarKind::Vertical ? verticalScrollBar() : horizontalScrollBar();
  settingScrollBars_ = true;
  // Qt's maximum is the last position of the bar's top, not the end of the range.
  bar->setRange(s.minimum, std::max(s.minimum, s.maximum - s.page + 1));
  bar->setPageStep(std::max(1, s.page));
  bar->setValue(s.position);
  settingScrollBars_ = false;
  // A bar the view does not need (the horizontal one while lines wrap) goes, and its room with it.
  const Qt::ScrollBarPolicy policy = s.visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (kind == platform::ScrollBarKind::Horizontal && horizontalScrollBarPolicy() != policy)
    setHorizontalScrollBarPolicy(policy);
}

void EditorWidget::scrollContentsBy(int, int) {
  if (settingScrollBars_) return;
  editor_.ScrollBarMoved(platform::ScrollBarKind::Vertical, verticalScrollBar()->value());
  editor_.ScrollBarMoved(platform::ScrollBarKind::Horizontal, horizontalScrollBar()->value());
}

QRect EditorWidget::CaretRect() const { return QRect(caret_.left, caret_.top, caret_.Width(), caret_.Height()); }

void EditorWidget::SetCaret(const platform::Rect& caret) {
  viewport()->update(CaretRect());
  caret_ = caret;
  caretShown_ = true;
  viewport()->update(CaretRect());
}

void EditorWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  platform::qt::QtCanvas canvas(painter, fonts_);
  const QRect r = event->rect();
  editor_.Paint(canvas, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  if (hasFocus() && caretShown_ && !caret_.IsEmpty())
    painter.fillRect(CaretRect(), platform::qt::ToQColor(editor_.FontColor()));
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
  if (CompletionKey(event)) return;
  const std::uint16_t key = VirtualKey(event->key());
  const editor::TShiftState shift = ShiftState(event->modifiers());
  if (event->key() == Qt::Key_Space && (shift & editor::ssCtrl)) {
    ShowCompletion();
    return;
  }
  bool handled = false;
  Guarded([&] { handled = key && editor_.KeyDown(key, shift); });
  if (handled) {
    // Deleting narrows the list again; any other command (a move, a line break) closes it.
    if (completionList_->isVisible()) {
      if (key == editor::VK_BACK)
        ShowCompletion();
      else
        completionList_->hide();
    }
    return;
  }
  const QString text = event->text();
  // Characters reach the editor unless Ctrl or Alt make the key a command; AltGr may report both.
  const bool ctrl = shift & editor::ssCtrl, alt = shift & editor::ssAlt;
  const bool command = ctrl != alt;
  const bool altBackspace = key == editor::VK_BACK && (shift & editor::ssAlt);
  if (text.isEmpty() || command || altBackspace) {
    if (!altBackspace) QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  // Each character goes in the document's encoding: a UTF-8 sequence whole, '?' for what Windows-1252 lacks.
  Guarded([&] {
    for (char32_t code : text.toUcs4()) editor_.KeyPress(platform::EncodeText({&code, 1}, editor_.Encoding()));
  });
  // The list follows what is typed, and some characters open it.
  const std::string typed = text.toStdString();
  if (completionList_->isVisible() || (typed.size() == 1 && editor::OpensCompletion(editor_, typed[0])))
    ShowCompletion();
}

void EditorWidget::inputMethodEvent(QInputMethodEvent* event) {
  const QString text = event->commitString();
  if (!text.isEmpty()) {
    const std::string bytes = platform::qt::BytesFromText(text, editor_.Encoding());
    // Qt sends no character events after a commit, so nothing is to be skipped.
    Guarded([&] { editor_.ExecuteCommand(editor::ecImeStr, 0, std::string_view(bytes)); });
  }
  event->accept();
}

// The mouse's menu comes through the viewport, in its coordinates; the keyboard's (the menu key) is asked at
// the caret.
void EditorWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Keyboard) {
    const QPoint caret = CaretRect().center();
    emit ContextMenuAt(caret, viewport()->mapToGlobal(caret));
    return;
  }
  emit ContextMenuAt(event->pos(), event->globalPos());
}

bool EditorWidget::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const editor::TqeDocument::LineNote* note = editor_.GutterNoteAt(help->pos().x(), help->pos().y()))
      QToolTip::showText(help->globalPos(), QString::fromStdString(note->message), viewport());
    else
      QToolTip::hideText();
    return true;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

bool EditorWidget::focusNextPrevChild(bool next) {
  // Tab is a character for the editor when it wants tabs.
  if (editor_.WantTabs()) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

void EditorWidget::mousePressEvent(QMouseEvent* event) {
  setFocus();
  completionList_->hide();
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton)
    Guarded([&] { editor_.MouseDown(editor::MouseButton::Left, MouseShift(event->modifiers()), p.x(), p.y()); });
}

void EditorWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  viewport()->setCursor(editor_.Dragging()
                            ? (event->modifiers() & Qt::ControlModifier ? Qt::DragCopyCursor : Qt::DragMoveCursor)
                        : editor_.OverText(p.x()) ? Qt::IBeamCursor
                                                  : Qt::ArrowCursor);
  Guarded([&] { editor_.MouseMove(MouseShift(event->modifiers()), p.x(), p.y(), event->buttons() & Qt::LeftButton); });
}

void EditorWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton)
    Guarded([&] { editor_.MouseUp(editor::MouseButton::Left, MouseShift(event->modifiers()), p.x(), p.y()); });
}

void EditorWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) Guarded([&] { editor_.DoubleClick(p.x(), p.y()); });
}

void EditorWidget::wheelEvent(QWheelEvent* event) {
  editor_.MouseWheel(event->angleDelta().y(), MouseShift(event->modifiers()));
  event->accept();
}

void EditorWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  editor_.SetFocused(true);
  emit FocusedIn();
  caretShown_ = true;
  if (caretBlinks_) blink_.start();
  viewport()->update(CaretRect());
}

void EditorWidget::SetCaretBlinks(bool on) {
  caretBlinks_ = on;
  caretShown_ = true;
  if (on && hasFocus())
    blink_.start();
  else
    blink_.stop();
  viewport()->update(CaretRect());
}

void EditorWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  editor_.SetFocused(false);
  blink_.stop();
  viewport()->update(CaretRect());
}

}  // namespace ui
