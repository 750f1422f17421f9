// A previewed page drawn by Qt, with its form controls as widgets: the table's frame, the image's pixels
// and the controls where the layout put them. With QUILLMARK_SCREENSHOTS set to a folder, the rendering
// is saved there as preview-page.png for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

#include "PictureEncoders.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtFontEngine.h"
#include "platform/qt/QtFormControls.h"
#include "preview/PreviewParser.h"

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
    doc.Paint(canvas, {0, 0, width(), height()}, {10, 10});
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
