// The editor control's Qt widget: turns Qt events into core calls and the core's window requests into
// Qt calls. All editing logic stays in editor::TqeCustomEdit.
#pragma once

#include <QAbstractScrollArea>
#include <QListWidget>
#include <QTimer>
#include <cstdint>

#include "editor/Completion.h"
#include "editor/CustomEdit.h"
#include "platform/ControlWindow.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFontEngine.h"

namespace ui {

class EditorWidget : public QAbstractScrollArea, public platform::ControlWindow {
  Q_OBJECT

 public:
  // A view of a document of its own, or of one that other views show too.
  explicit EditorWidget(QWidget* parent = nullptr);
  explicit EditorWidget(editor::TqeDocument& document, QWidget* parent = nullptr);
  // The virtual-key code and shift set of a Qt key event; key 0 for keys the editor does not know.
  static std::uint16_t VirtualKey(int qtKey);
  static editor::TShiftState ShiftState(Qt::KeyboardModifiers modifiers);
  ~EditorWidget() override;

  editor::TqeCustomEdit& Editor() { return editor_; }
  // The names the completion list offers (none: no list); they outlive the widget.
  void SetCompletionTables(const editor::CompletionTables* tables) { tables_ = tables; }
  // Whether the caret blinks while the view has the focus (else it stays shown).
  void SetCaretBlinks(bool on);
  // The completion list at the caret: shown with the candidates there, hidden when there are none.
  void ShowCompletion();
  QListWidget& CompletionList() { return *completionList_; }
  platform::Clipboard& Clipboard() { return clipboard_; }

  // platform::ControlWindow
  platform::Size ClientSize() const override;
  void Invalidate(const platform::Rect& area) override;
  void ScrollContents(int dx, int dy) override;
  void SetScrollBar(platform::ScrollBarKind kind, const platform::ScrollBarState& state) override;
  void SetCaret(const platform::Rect& caret) override;
  void RepaintNow() override;

 signals:
  // The keyboard focus came to this view.
  void FocusedIn();
  // A context menu is asked for at a point of the viewport (and of the screen).
  void ContextMenuAt(QPoint at, QPoint global);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // Tooltips: the page check's messages over the gutter's marks.
  bool viewportEvent(QEvent* event) override;

 private:
  void SetUp();
  // Keys while the list is open: moves in it, Enter or Tab to take the name, Escape to close it. True when
  // the key was the list's.
  bool CompletionKey(QKeyEvent* event);
  void AcceptCompletion();
  QRect CaretRect() const;
  // Runs a core call; an error is shown in a message box, as the application does for every command.
  template <typename F>
  void Guarded(F&& call);

  platform::qt::QtFontEngine fonts_;
  platform::qt::QtClipboard clipboard_;
  platform::qt::QtEventLoop eventLoop_;
  editor::TqeCustomEdit editor_;
  platform::Rect caret_;
  bool caretShown_ = false;
  bool caretBlinks_ = true;
  bool settingScrollBars_ = false;
  QTimer blink_;
  const editor::CompletionTables* tables_ = nullptr;
  QListWidget* completionList_ = nullptr;
  editor::CompletionContext completionContext_;
};

}  // namespace ui
