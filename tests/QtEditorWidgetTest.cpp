// The editor widget turns Qt input into core edits and paints the core's picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "highlighters/WebPageHighlighter.h"
#include "platform/qt/QtCanvas.h"
#include "ui/EditorWidget.h"

namespace {

std::string Line(ui::EditorWidget& w, int index) { return std::string(w.Editor().Lines().Get(index)); }

// On the screen at the size the tests' positions assume.
void Show(ui::EditorWidget& widget) {
  widget.resize(400, 300);
  widget.show();
}

}  // namespace

TEST(EditorWidget, TypedKeysAndArrowsReachTheCore) {
  ui::EditorWidget widget;
  Show(widget);
  QTest::keyClicks(&widget, "hi");
  QTest::keyClick(&widget, Qt::Key_Left);
  QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("é€"));
  QApplication::sendEvent(&widget, &accented);
  EXPECT_EQ(Line(widget, 0), "h\xE9\x80i") << "text arrives as Windows-1252 bytes";
  EXPECT_EQ(widget.Editor().CaretColumn(), 4);
}

TEST(EditorWidget, ShiftArrowsSelectAndClipboardShortcutsKeepTheMode) {
  ui::EditorWidget widget;
  Show(widget);
  auto& editor = widget.Editor();
  editor.Lines().SetTextStr("abcd\r\nefgh\r\n");
  editor.SetSelectionMode(editor::smColumn);
  QTest::keyClick(&widget, Qt::Key_Right);
  QTest::keyClick(&widget, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&widget, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(editor.SelectedText(), "b\r\nf");
  QTest::keyClick(&widget, Qt::Key_C, Qt::ControlModifier);
  editor.SetSelectionMode(editor::smNormal);
  editor.SetSelectionStart(editor.CaretXY());
  QTest::keyClick(&widget, Qt::Key_End);
  QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Line(widget, 1), "efghb");
  EXPECT_EQ(Line(widget, 2), "    f") << "the column block came back as a column";
}

TEST(EditorWidget, MouseDragSelects) {
  ui::EditorWidget widget;
  Show(widget);
  auto& editor = widget.Editor();
  editor.Lines().SetTextStr("hello world\r\n");
  const int cell = editor.CellWidth();
  const int y = editor.RowHeight() / 2;
  QTest::mousePress(widget.viewport(), Qt::LeftButton, {}, QPoint(editor.TextLeft() + 6 * cell, y));
  QMouseEvent move(QEvent::MouseMove, QPointF(editor.TextLeft() + 11 * cell, y), QPointF(), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget.viewport(), &move);
  EXPECT_EQ(editor.SelectedText(), "world");
}

TEST(EditorWidget, PaintsTheSelectionInTheHighlightColour) {
  ui::EditorWidget widget;
  Show(widget);
  auto& editor = widget.Editor();
  editor.Lines().SetTextStr("some text\r\n");
  editor.SetSelectionStart({1, 1});
  editor.SetSelectionEnd({5, 1});
  const QImage image = widget.viewport()->grab().toImage();
  const QPoint inside(editor.TextLeft() + editor.CellWidth() / 2, 1);
  EXPECT_EQ(image.pixelColor(inside), platform::qt::ToQColor(platform::kColorHighlight));
  const QPoint gutter(editor.GutterPixels() / 2, 5);
  EXPECT_EQ(image.pixelColor(gutter), platform::qt::ToQColor(platform::kColorButtonFace));
}

TEST(EditorWidget, KeysBecomeVirtualKeysForTheKeyMap) {
  using ui::EditorWidget;
  EXPECT_EQ(EditorWidget::VirtualKey(Qt::Key_Backspace), editor::VK_BACK);
  EXPECT_EQ(EditorWidget::VirtualKey(Qt::Key_PageDown), editor::VK_NEXT);
  EXPECT_EQ(EditorWidget::VirtualKey(Qt::Key_Z), 'Z');
  EXPECT_EQ(EditorWidget::VirtualKey(Qt::Key_7), '7');
  EXPECT_EQ(EditorWidget::VirtualKey(Qt::Key_F3), editor::VK_F1 + 2);
  EXPECT_EQ(EditorWidget::ShiftState(Qt::ShiftModifier | Qt::AltModifier), editor::ssShift | editor::ssAlt);

  EditorWidget widget;
  Show(widget);
  QTest::keyClicks(&widget, "ab");
  QTest::keyClick(&widget, Qt::Key_Return);
  QTest::keyClicks(&widget, "cd");
  QTest::keyClick(&widget, Qt::Key_Backspace);
  QTest::keyClick(&widget, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(widget.Editor().Lines().Text(), "ab\r\ncd\r\n") << "Ctrl+Z undid the backspace";
  QTest::keyClick(&widget, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(widget.Editor().Lines().Text(), "ab\r\nc\r\n") << "Ctrl+Shift+Z redid it";
}

TEST(EditorWidget, WheelScrollsThreeLinesANotch) {
  ui::EditorWidget widget;
  Show(widget);
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  widget.Editor().Lines().SetTextStr(text);
  QWheelEvent wheel(QPointF(50, 50), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget.viewport(), &wheel);
  EXPECT_EQ(widget.Editor().TopLine(), 4);
}

TEST(EditorWidget, Utf8DocumentsTakeKeysAndClipboardTextAsCharacters) {
  ui::EditorWidget widget;
  Show(widget);
  auto& editor = widget.Editor();
  editor.Lines().SetTextStr("caf\xC3\xA9\r\n");
  ASSERT_EQ(editor.Encoding(), platform::TextEncoding::Utf8);
  QTest::keyClick(&widget, Qt::Key_End);
  QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xCE\xB1\xE6\x97\xA5"));
  QApplication::sendEvent(&widget, &typed);
  EXPECT_EQ(Line(widget, 0), "caf\xC3\xA9\xCE\xB1\xE6\x97\xA5");
  QTest::keyClick(&widget, Qt::Key_Backspace);
  QTest::keyClick(&widget, Qt::Key_Left);
  QTest::keyClick(&widget, Qt::Key_Left);
  EXPECT_EQ(editor.CaretColumn(), 4) << "one key, one character: 日 went, the caret passed α and é";

  QTest::keyClick(&widget, Qt::Key_End, Qt::ShiftModifier);
  QTest::keyClick(&widget, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("\xC3\xA9\xCE\xB1"));
  QApplication::clipboard()->setText(QString::fromUtf8("\xD0\x96\xE2\x82\xAC"));
  QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Line(widget, 0), "caf\xD0\x96\xE2\x82\xAC") << "pasted over the selection as UTF-8";

  editor.SetEncoding(platform::TextEncoding::Cp1252);
  QApplication::clipboard()->setText(QString::fromUtf8("\xC3\xA9\xCE\xB1"));
  QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Line(widget, 0), "caf\xD0\x96\xE2\x82\xAC\xE9?") << "Windows-1252 with '?' for what it lacks";
}

TEST(EditorWidget, TheCompletionListOpensAsATagIsTypedNarrowsAndPutsTheChosenNameIn) {
  highlighters::TWebPageSyn page;
  editor::CompletionTables tables;
  tables.elements = {"table", "tbody", "td", "textarea"};
  tables.attributes["table"] = {"border", "width"};
  tables.attributes["*"] = {"class", "id"};
  ui::EditorWidget widget;
  widget.SetCompletionTables(&tables);
  widget.Editor().SetHighLighter(&page);
  Show(widget);
  QListWidget& list = widget.CompletionList();

  QTest::keyClicks(&widget, "<t");
  ASSERT_TRUE(list.isVisible());
  EXPECT_EQ(list.count(), 4);
  QTest::keyClicks(&widget, "a");
  ASSERT_EQ(list.count(), 2) << "table, then textarea, which holds the prefix";
  EXPECT_EQ(list.item(0)->text(), "table");
  EXPECT_EQ(list.item(1)->text(), "textarea");
  QTest::keyClick(&widget, Qt::Key_Return);
  EXPECT_FALSE(list.isVisible());
  EXPECT_EQ(Line(widget, 0), "<table");

  // A blank inside the tag lists the element's attributes and the global ones; Down then Tab takes the
  // second, with the caret between its quotes.
  QTest::keyClick(&widget, Qt::Key_Space);
  ASSERT_TRUE(list.isVisible());
  EXPECT_EQ(list.count(), 4);
  QTest::keyClick(&widget, Qt::Key_Down);
  QTest::keyClick(&widget, Qt::Key_Tab);
  EXPECT_EQ(Line(widget, 0), "<table width=\"\"");
  EXPECT_EQ(widget.Editor().CaretColumn(), 15);
  QTest::keyClicks(&widget, "9\">");
  EXPECT_EQ(Line(widget, 0), "<table width=\"9\"></table>") << "the quote typed over, the tag closed";
  widget.Editor().Undo();
  EXPECT_EQ(Line(widget, 0), "<table width=\"9\"");

  // Escape closes the list and leaves the text; Ctrl+Space opens it again.
  QTest::keyClicks(&widget, " ");
  ASSERT_TRUE(list.isVisible());
  QTest::keyClick(&widget, Qt::Key_Escape);
  EXPECT_FALSE(list.isVisible());
  QTest::keyClick(&widget, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_TRUE(list.isVisible());
  widget.Editor().SetHighLighter(nullptr);
}

TEST(EditorWidget, WrappedLinesLoseTheHorizontalBarAndFollowTheWidth) {
  ui::EditorWidget widget;
  Show(widget);
  auto& editor = widget.Editor();
  editor.Lines().SetTextStr(std::string(100, 'x') + "\r\n");
  const int height = widget.viewport()->height();
  editor.SetWordWrap(true);
  EXPECT_FALSE(widget.horizontalScrollBar()->isVisible());
  EXPECT_GT(widget.viewport()->height(), height) << "the bar's room goes to the text";
  const int rows = editor.RowsOf(1);
  widget.resize(200, 300);
  QApplication::processEvents();
  EXPECT_GT(editor.RowsOf(1), rows) << "a narrower window wraps the line on more rows";
  editor.SetWordWrap(false);
  EXPECT_TRUE(widget.horizontalScrollBar()->isVisible());
}
