// A previewed page drawn by Qt, with its form controls as widgets: the table's frame, the image's pixels
// and the controls where the layout put them. With QUILLMARK_SCREENSHOTS set to a folder, the rendering
// is saved there as preview-page.png for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "PictureEncoders.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtFontEngine.h"
#include "platform/qt/QtFormControls.h"
#include "preview/PreviewParser.h"
#include "ui/PreviewWidget.h"

namespace {

class PagePanel : public QWidget {
 public:
  PagePanel() : host(this), doc(fonts, Settings()) {
    doc.controlHost = &host;
    resize(520, 360);
  }
  static preview::PreviewSettings Settings() {
    preview::PreviewSettings settings;
    settings.defBackground = platform::kColorWindow;
    return settings;
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), platform::qt::ToQColor(doc.Background()));
    platform::qt::QtCanvas canvas(painter, fonts);
    doc.Paint(canvas, {0, 0, width(), height()}, {10, 10}, {0, 0, width(), height()});
  }

  platform::qt::QtFontEngine fonts;
  platform::qt::QtFormControlHost host;
  preview::TSectionList doc;
  preview::TNameList names;
};

std::string RedGif(int width, int height) {
  testpictures::GifFrameData frame{0, 0, width, height, std::vector<uint8_t>(std::size_t(width) * height, 1)};
  const auto bytes = testpictures::MakeGif(width, height, {frame});
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(QtPreview, APageWithATableAnImageAndAFormLooksRight) {
  PagePanel panel;
  panel.doc.onImageRequest = [](const std::string&) {
    return preview::ImageReply{preview::ImageReply::Kind::Data, RedGif(60, 30)};
  };
  preview::ParseHtmlBuffer(
      "<h2 align=center>Order form</h2>"
      "<table border=1 cellpadding=4 bgcolor=#FFFFE0><caption>Prices</caption>"
      "<tr><th>Item</th><th>Price</th></tr><tr><td>Paper</td><td align=right>3.50</td></tr>"
      "<tr><td colspan=2>Delivery within <b>two days</b></td></tr></table>"
      "<p><img src=logo.gif align=left hspace=8>A floating picture with text flowing to its right, long enough "
      "to take more than one line beside it.<br clear=left>"
      "<form action=/order>Name: <input name=who size=16> <input type=checkbox name=gift checked> gift "
      "<select name=n><option>One<option>Two</select> <input type=submit value=Order></form>",
      panel.doc, panel.names, {});
  panel.doc.DoLayout(500);
  panel.show();
  const QImage shot = panel.grab().toImage();
  if (const QByteArray folder = qgetenv("QUILLMARK_SCREENSHOTS"); !folder.isEmpty())
    shot.save(QString::fromLocal8Bit(folder) + "/preview-page.png");

  int red = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) red += shot.pixelColor(x, y) == QColor(255, 0, 0);
  EXPECT_GE(red, 60 * 30) << "the picture is drawn";
  const auto edits = panel.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 1);
  EXPECT_TRUE(edits[0]->isVisible());
  EXPECT_GT(edits[0]->y(), 150) << "below the table and the picture";
  const auto buttons = panel.findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons[0]->text(), "Order");
  EXPECT_GT(buttons[0]->x(), edits[0]->x() + edits[0]->width());
}

TEST(QtPreview, AUtf8PageGivesItsFormControlsCharacters) {
  PagePanel panel;
  panel.doc.encoding = platform::TextEncoding::Utf8;
  preview::ParseHtmlBuffer(
      "<form><input name=q value=\"\xD0\x96\xD1\x83\xD0\xBA\"> <input type=submit value=\"\xE9\x80\x81\xE4\xBF\xA1\">"
      "<select name=s><option>caf&eacute;<option>\xCE\xB1</select></form>",
      panel.doc, panel.names, {});
  panel.doc.DoLayout(500);
  panel.show();
  const auto edits = panel.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 1);
  EXPECT_EQ(edits[0]->text(), QString::fromUtf8("\xD0\x96\xD1\x83\xD0\xBA"));
  edits[0]->setText(QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
  const auto buttons = panel.findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons[0]->text(), QString::fromUtf8("\xE9\x80\x81\xE4\xBF\xA1"));
  const auto combos = panel.findChildren<QComboBox*>();
  ASSERT_EQ(combos.size(), 1);
  EXPECT_EQ(combos[0]->itemText(0), QString::fromUtf8("caf\xC3\xA9"));
  EXPECT_EQ(combos[0]->itemText(1), QString::fromUtf8("\xCE\xB1"));
  std::string submitted;
  ASSERT_TRUE(panel.doc.controls.front()->SubmissionText(0, submitted));
  EXPECT_EQ(submitted, "q=\xC3\xA9t\xC3\xA9") << "what is typed is read back as UTF-8";
}

// With the focus in a field, a repaint of a strip (the field's blinking caret) hides no other control, so
// no repaint follows from it; Tab into a field cut off by the panel's bottom scrolls it into view.
TEST(QtPreview, AFocusedFieldRepaintsNothingElseAndTabBringsTheNextIntoView) {
  const auto page = std::filesystem::temp_directory_path() / ("quillmark-focus-" + std::to_string(getpid()) + ".htm");
  std::string lines;
  for (int i = 0; i < 12; ++i) lines += "line<br>";
  std::ofstream(page, std::ios::binary) << "<form><input name=a><br>" + lines + "<input name=b><br>" + lines +
                                               "</form>";
  ui::PreviewWidget preview;
  preview.resize(400, 600);
  preview.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
  preview.Viewer().LoadHtmlFile(page.string());
  preview.repaint();
  std::filesystem::remove(page);
  const auto edits = preview.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 2);
  QLineEdit* first = edits[0]->y() < edits[1]->y() ? edits[0] : edits[1];
  QLineEdit* second = first == edits[0] ? edits[1] : edits[0];
  // The second field stands at the bottom, half cut off.
  preview.resize(400, second->y() + second->height() / 2);
  preview.repaint();
  ASSERT_TRUE(second->isVisible());

  struct ShowCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      changes += event->type() == QEvent::Show || event->type() == QEvent::Hide;
      return false;
    }
    int changes = 0;
  } counter;
  second->installEventFilter(&counter);
  preview.activateWindow();
  first->setFocus();
  preview.repaint(QRect(0, first->y(), preview.width(), first->height()));
  EXPECT_EQ(counter.changes, 0) << "the other field is neither hidden nor shown again";
  EXPECT_EQ(preview.Viewer().VScroll(), 0);

  QTest::keyClick(first, Qt::Key_Tab);
  ASSERT_TRUE(second->hasFocus());
  EXPECT_GT(preview.Viewer().VScroll(), 0) << "the field reached with Tab comes into view";
}

TEST(QtPreview, AClickInAScrollBarsTroughPagesByTheViewersStep) {
  const auto page = std::filesystem::temp_directory_path() / ("quillmark-trough-" + std::to_string(getpid()) + ".htm");
  std::string lines;
  for (int i = 0; i < 200; ++i) lines += "line<br>";
  std::ofstream(page, std::ios::binary) << "<pre>" + std::string(400, 'w') + "</pre>" + lines;
  ui::PreviewWidget preview;
  preview.resize(400, 300);
  preview.show();
  preview.Viewer().LoadHtmlFile(page.string());
  std::filesystem::remove(page);
  QScrollBar* vertical = nullptr;
  QScrollBar* horizontal = nullptr;
  for (QScrollBar* bar : preview.findChildren<QScrollBar*>())
    (bar->orientation() == Qt::Vertical ? vertical : horizontal) = bar;
  ASSERT_TRUE(vertical && horizontal && vertical->isVisible() && horizontal->isVisible());
  vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
  // The panel stands a pixel in from each edge, beside the bars.
  EXPECT_EQ(preview.Viewer().VScroll(), (300 - 2 - 16) - 16) << "the panel's height - 16";
  vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(preview.Viewer().VScroll(), 0);
  horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(preview.Viewer().HScroll(), (400 - 2 - 16) - 20) << "the panel's width - 20";
}
