// The insertion commands and dialogs of the main window, clicked on the offscreen platform.
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/InsertCommands.h"
#include "imaging/Bitmap.h"
#include "tests/MainWindowFixture.h"
#include "tests/PictureEncoders.h"
#include "testsupport/ScriptedServer.h"

namespace {

using Lines = std::vector<std::string>;

class InsertWindowTest : public MainWindowTest {
 protected:
  InsertWindowTest() {
    std::ofstream(dir / "jads.conf", std::ios::binary) << "<param name=\"delay\" value=\"3000\">\r\n<param b>\r\n";
    form = MakeWindow();
  }
  editor::TqeCustomEdit& Editor() { return form->Editor().Editor(); }
  void SetLines(const Lines& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    Editor().Lines().SetTextStr(text);
  }
  Lines GetLines() {
    Lines out;
    for (int i = 0; i < Editor().Lines().Count(); ++i) out.emplace_back(Editor().Lines().Get(i));
    return out;
  }
  void Trigger(const char* name) {
    QAction* action = form->Action(name);
    ASSERT_NE(action, nullptr) << name;
    ASSERT_TRUE(action->isEnabled()) << name;
    action->trigger();
  }
  void Click(QWidget* parent, const char* buttonName) {
    auto* button = parent->findChild<QPushButton*>(buttonName);
    ASSERT_NE(button, nullptr) << buttonName;
    button->click();
  }

  std::unique_ptr<ui::MainWindow> form;
};

}  // namespace

TEST_F(InsertWindowTest, EveryFixedCommandFromItsMenuItemAndItsButton) {
  for (const app::TagCommand& command : app::FixedTagCommands()) {
    std::string button = command.handler;
    button.resize(button.size() - 5);
    std::vector<const char*> names = {button.c_str()};
    if (command.menu) names.push_back(command.menuItem);
    EXPECT_EQ(form->Action(button.c_str())->toolTip().toStdString(), command.hint);
    for (const char* name : names) {
      SetLines({"one", "two", "three"});
      Editor().SetCaretXY({1, 2});
      Trigger(name);
      const Lines lines = GetLines();
      if (command.mode == app::InsertMode::WrapSelection) {
        EXPECT_EQ(lines[1], std::string(command.text) + command.closing + "two") << name;
        continue;  // writing the selection moves the caret, as typing does
      }
      if (button == "ToolbarButton973")
        EXPECT_EQ(lines, (Lines{"one", "<tr>", "", "</tr>", "two", "three"}));
      else
        EXPECT_EQ(lines, (Lines{"one", command.text, "two", "three"})) << name;
      EXPECT_EQ(Editor().CaretXY(), (editor::TextPoint{1, 2})) << name << " moved the caret";
    }
  }
}

TEST_F(InsertWindowTest, TimestampFontAspVariableAndSideLists) {
  SetLines({"one", "two"});
  Editor().SetCaretXY({1, 1});
  Trigger("Timestamp1");
  EXPECT_EQ(GetLines()[2].rfind("Page was last updated on: ", 0), 0u) << "appended after the last line";
  EXPECT_NE(GetLines()[2].find(" at: "), std::string::npos);

  dialogs.font = platform::FontChoice{"Liberation Mono", 12};
  Editor().SetSelectionStart({1, 1});
  Editor().SetSelectionEnd({4, 1});
  Trigger("ChangeFont1");
  EXPECT_EQ(GetLines()[0], "<FONT FACE=\"Liberation Mono\" SIZE=\"12\"> one</FONT>");
  Trigger("ToolbarButton9733");
  EXPECT_EQ(dialogs.fontDialogs, 2) << "the button asks too; cancelled, it changes nothing";

  Editor().SetCaretXY({1, 2});
  Trigger("ToolbarButton9745");
  EXPECT_EQ(GetLines()[1], "<%= Request.ServerVariables(\"Click for ASP Variables\") %>");
  auto* aspVars = form->findChild<QComboBox*>("ASPVars");
  aspVars->setCurrentIndex(8);
  Trigger("ToolbarButton9745");
  EXPECT_EQ(GetLines()[1], "<%= Request.ServerVariables(\"QUERY_STRING\") %>");
}

TEST_F(InsertWindowTest, SideListsInsertOnlyWhatIsClickedOrEntered) {
  SetLines({"one", "two"});
  Editor().SetCaretXY({1, 1});
  QListWidget* html = form->SideList(0);
  QTest::mouseClick(html->viewport(), Qt::LeftButton, {}, html->visualItemRect(html->item(0)).center());
  EXPECT_EQ(GetLines(), (Lines{"one", "<b></b>", "two"})) << "a side list's item goes below the caret line";

  // Switching pages gives the next list the focus, and Qt makes its first row current: nothing is chosen.
  auto* pages = form->findChild<QTabWidget*>("PageControl1");
  pages->setCurrentIndex(1);
  form->SideList(1)->setFocus();
  form->SideList(1)->setCurrentRow(0);
  pages->setCurrentIndex(0);
  html->setCurrentRow(-1);
  EXPECT_EQ(GetLines(), (Lines{"one", "<b></b>", "two"}));

  html->setCurrentRow(0);
  QTest::keyClick(html, Qt::Key_Return);
  EXPECT_EQ(GetLines(), (Lines{"one", "<b></b>", "<b></b>", "two"})) << "Enter inserts the current item";
}

TEST_F(InsertWindowTest, TypedTextDoesNotJoinTheDropDownLists) {
  auto* aspVars = form->findChild<QComboBox*>("ASPVars");
  const int count = aspVars->count();
  aspVars->setFocus();
  aspVars->lineEdit()->selectAll();
  QTest::keyClicks(aspVars->lineEdit(), "MY_VARIABLE");
  QTest::keyClick(aspVars->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(aspVars->count(), count);
  EXPECT_EQ(aspVars->currentText(), "MY_VARIABLE") << "the typed text stays in the box";

  auto* appletTypes = form->Dialogs().applet->findChild<QComboBox*>("ComboBox1");
  const int types = appletTypes->count();
  QTest::keyClicks(appletTypes->lineEdit(), "Ticker");
  QTest::keyClick(appletTypes->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(appletTypes->count(), types);
}

TEST_F(InsertWindowTest, InstantTableFromTheQuickCutsWindow) {
  SetLines({"one"});
  Editor().SetCaretXY({1, 1});
  QDockWidget* quickCuts = form->QuickCuts();
  quickCuts->findChild<QSpinBox*>("Edit2")->setValue(3);
  quickCuts->findChild<QSpinBox*>("Edit3")->setValue(2);
  EXPECT_EQ(form->InstantTable().RowCount(), 3);
  EXPECT_EQ(form->InstantTable().ColCount(), 3);
  quickCuts->findChild<QSpinBox*>("Edit2")->setValue(0);
  EXPECT_EQ(form->InstantTable().RowCount(), 1) << "no rows still writes the header row";
  Click(quickCuts, "Button1");
  const Lines lines = GetLines();
  EXPECT_EQ(lines.front(), "<!--INSERTHTML-->");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "<th nowrap><br></th>"), 2);
  EXPECT_EQ(lines.back(), "one");
}

TEST_F(InsertWindowTest, BookmarkButtonsFormOneGroup) {
  SetLines({"one", "two"});
  Editor().SetCaretXY({2, 2});
  Trigger("SpeedButton1");
  Trigger("SpeedButton2");
  ASSERT_EQ(Editor().Marks().Count(), 1);
  EXPECT_EQ(Editor().Marks()[0].imageIndex, 4) << "Not Ready replaced Unknown";
  EXPECT_FALSE(form->Action("SpeedButton1")->isChecked());
  EXPECT_TRUE(form->Action("SpeedButton2")->isChecked());
  Trigger("SpeedButton2");
  EXPECT_EQ(Editor().Marks().Count(), 0);
  EXPECT_FALSE(form->Action("SpeedButton2")->isChecked());
}

TEST_F(InsertWindowTest, ImageDialogInsertsBelowTheCaretAndPreviewsThePicture) {
  ui::ImageDialog& image = *form->Dialogs().image;
  SetLines({"one", "two"});
  Editor().SetCaretXY({1, 1});
  Trigger("Image1");
  EXPECT_TRUE(image.isVisible());
  image.address->setText("a.gif");
  image.height->setText("");
  image.width->setText("40");
  Click(&image, "Button2");
  EXPECT_FALSE(image.isVisible());
  EXPECT_EQ(GetLines()[1], "<img src=\"a.gif\">") << "a width without a height gives the plain tag";

  Trigger("ToolbarButton9716");
  EXPECT_TRUE(image.address->text().isEmpty()) << "showing clears the address";
  EXPECT_EQ(image.width->text(), "40") << "and keeps the size boxes";
  image.address->setText("b.gif");
  image.height->setText("30");
  image.width->setText("");
  Click(&image, "Button2");
  EXPECT_EQ(GetLines()[1], "<img src=\"b.gif\" height=\"30\" width=\"\">");

  // Browsing fills the address and shows the picture; a broken file is reported after that.
  testpictures::GifFrameData frame;
  frame.width = frame.height = 2;
  frame.indexes = {1, 1, 1, 1};
  const std::vector<uint8_t> gif = testpictures::MakeGif(2, 2, {frame});
  const fs::path picture = dir / "dot.gif";
  std::ofstream(picture, std::ios::binary).write(reinterpret_cast<const char*>(gif.data()), long(gif.size()));
  Trigger("Image1");
  dialogs.files = {picture.string()};
  image.findChild<QToolButton*>("Button1")->click();
  EXPECT_EQ(image.address->text().toStdString(), "file://" + picture.string());
  ASSERT_TRUE(image.Picture().has_value());
  EXPECT_EQ(image.Picture()->frames[0].image.At(0, 0), imaging::Opaque(255, 0, 0));
  EXPECT_FALSE(image.preview->pixmap().isNull());
  EXPECT_EQ(dialogs.fileDialogs.back().title, "Insert Link");

  const fs::path broken = dir / "broken.jpg";
  std::ofstream(broken, std::ios::binary) << "not a picture";
  dialogs.files = {broken.string()};
  image.findChild<QToolButton*>("Button1")->click();
  EXPECT_EQ(image.address->text().toStdString(), "file://" + broken.string());
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back().rfind("The picture " + broken.string() + " cannot be shown: JPEG:", 0), 0u);
  EXPECT_TRUE(image.preview->pixmap().isNull());
}

TEST_F(InsertWindowTest, HyperlinkDialogAndTheCommandWhileItIsOpen) {
  ui::HyperlinkDialog& hyperlink = *form->Dialogs().hyperlink;
  SetLines({"one"});
  Editor().SetCaretXY({1, 1});
  Trigger("Hyperlink1");
  EXPECT_EQ(GetLines(), (Lines{"one"})) << "showing the hidden dialog inserts nothing";
  hyperlink.address->setText("page.htm");
  Trigger("ToolbarButton9719");
  EXPECT_EQ(GetLines(), (Lines{"<a href=\"page.htm\">page.htm</a>", "one"})) << "already open: a link without class";
  hyperlink.linkClass->setText("nav");
  Click(&hyperlink, "Button1");
  EXPECT_EQ(GetLines()[0], "<a href=\"page.htm\" class=\"nav\">page.htm</a>");
  EXPECT_FALSE(hyperlink.isVisible());
}

TEST_F(InsertWindowTest, AppletDialogTypesAndItsEmptySource) {
  ui::AppletDialog& applet = *form->Dialogs().applet;
  SetLines({"one"});
  Editor().SetCaretXY({1, 1});
  Trigger("JavaApplet1");
  EXPECT_EQ(applet.appletType->currentText(), "User Defined");
  applet.height->setText("120");
  applet.ChooseAppletType("Ad Banner");
  EXPECT_EQ(applet.source->text(), "jads.class");
  EXPECT_EQ(applet.parameters->toPlainText(), "<param name=\"delay\" value=\"3000\">\n<param b>\n");
  Click(&applet, "Button1");
  EXPECT_EQ(GetLines(),
            (Lines{"<APPLET CODE=\"jads.class\" CODEBASE=\"./\" ALIGN=\"BASELINE\" Height=\"120\" Width=\"200\">",
                   "<param name=\"delay\" value=\"3000\">", "<param b>", "", "</APPLET>", "one"}));

  applet.ChooseAppletType("User Defined");
  EXPECT_TRUE(applet.source->text().isEmpty());
  EXPECT_TRUE(applet.parameters->toPlainText().isEmpty());
  EXPECT_TRUE(applet.appletType->currentText().isEmpty());
  EXPECT_EQ(applet.height->text(), "120") << "height and width stay";
  Trigger("ToolbarButton9720");
  const size_t before = GetLines().size();
  Click(&applet, "Button1");
  EXPECT_EQ(GetLines().size(), before) << "an empty source inserts nothing";
  EXPECT_FALSE(applet.isVisible()) << "although the dialog closes";

  // The clock's parameter file is missing here: the source is filled, then the error is shown.
  applet.appletType->setCurrentIndex(2);
  emit applet.appletType->textActivated("Rotating Clock");
  EXPECT_EQ(applet.source->text(), "Clock3D.class");
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back(), "Cannot open file " + (dir / "Clock3D.conf").string());
}

TEST_F(InsertWindowTest, ScriptAndStyleSheetDialogs) {
  ui::ScriptDialog& script = *form->Dialogs().script;
  SetLines({"one"});
  Editor().SetCaretXY({1, 1});
  Trigger("Script1");
  Click(&script, "OKBtn");
  EXPECT_EQ(GetLines(), (Lines{"one", "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"\">", "</SCRIPT>"}))
      << "From File with an empty path still inserts the tag";
  Trigger("Script1");
  script.asBelowOption->setChecked(true);
  script.script->setPlainText("alert(1);");
  Click(&script, "OKBtn");
  EXPECT_EQ(GetLines()[1], "<SCRIPT LANGUAGE=\"JavaScript\">");
  EXPECT_EQ(GetLines()[2], "alert(1);");

  ui::StyleSheetDialog& sheet = *form->Dialogs().styleSheet;
  Trigger("ExternalStyleSheet1");
  dialogs.files = {std::string("/site/style.css")};
  sheet.findChild<QToolButton*>()->click();
  EXPECT_EQ(dialogs.fileDialogs.back().filter, "Cascading Style Sheets|*.css");
  Click(&sheet, "Button1");
  EXPECT_EQ(GetLines()[0], "<LINK REL=\"stylesheet\" TITLE=\"Default\" HREF=\"/site/style.css\" TYPE=\"text/css\">");
  Trigger("ExternalStyleSheet1");
  EXPECT_EQ(sheet.fileName->text(), "/site/style.css") << "the box keeps its text";
}

TEST_F(InsertWindowTest, OpenFileFromWebLoadsTheFetchedPageAndKeepsTheTextOnFailure) {
  ui::OpenWebFileDialog& web = *form->Dialogs().openWebFile;
  SetLines({"kept"});
  Trigger("FromWeborFTPSite1");
  EXPECT_TRUE(web.isVisible());
  EXPECT_EQ(GetLines(), (Lines{"kept"})) << "opening the dialog leaves the text";
  EXPECT_EQ(web.address->text(), "http://");

  {
    ScriptedServer server(
        {"HTTP/1.0 200 OK\r\n\r\n", "HTTP/1.0 200 OK\r\n\r\n<html>\r\n<body>fetched</body>\n</html>"});
    web.address->setText(QString("http://127.0.0.1:%1/page.htm").arg(server.Port()));
    dialogs.answers = {platform::MessageAnswer::No};  // the unsaved text need not be saved
    Click(&web, "Button1");
  }
  EXPECT_EQ(GetLines(), (Lines{"<html>", "<body>fetched</body>", "</html>"}));
  EXPECT_TRUE(web.address->text().isEmpty());
  EXPECT_TRUE(web.isVisible()) << "the dialog stays open";

  int closedPort = 0;
  {
    ScriptedServer server({});
    closedPort = server.Port();
  }
  web.address->setText(QString("http://127.0.0.1:%1/").arg(closedPort));
  Click(&web, "Button1");
  EXPECT_EQ(GetLines(), (Lines{"<html>", "<body>fetched</body>", "</html>"})) << "a failed fetch changes nothing";
  EXPECT_FALSE(web.address->text().isEmpty()) << "and keeps the address for another try";
  EXPECT_FALSE(dialogs.messages.empty());
}
