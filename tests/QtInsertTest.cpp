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
  editor::TqeCustomEdit& Editor() { return form->RichEdit1().Editor(); }
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

  std::unique_ptr<app::TForm1> form;
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

  auto* appletTypes = form->Dialogs().Form7->findChild<QComboBox*>("ComboBox1");
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
  app::TForm4& form4 = *form->Dialogs().Form4;
  SetLines({"one", "two"});
  Editor().SetCaretXY({1, 1});
  Trigger("Image1");
  EXPECT_TRUE(form4.isVisible());
  form4.Edit1->setText("a.gif");
  form4.Edit2->setText("");
  form4.Edit3->setText("40");
  Click(&form4, "Button2");
  EXPECT_FALSE(form4.isVisible());
  EXPECT_EQ(GetLines()[1], "<img src=\"a.gif\">") << "a width without a height gives the plain tag";

  Trigger("ToolbarButton9716");
  EXPECT_TRUE(form4.Edit1->text().isEmpty()) << "showing clears the address";
  EXPECT_EQ(form4.Edit3->text(), "40") << "and keeps the size boxes";
  form4.Edit1->setText("b.gif");
  form4.Edit2->setText("30");
  form4.Edit3->setText("");
  Click(&form4, "Button2");
  EXPECT_EQ(GetLines()[1], "<img src=\"b.gif\" height=\"30\" width=\"\">");

  // Browsing fills the address and shows the picture; a broken file is reported after that.
  testpictures::GifFrameSpec frame;
  frame.width = frame.height = 2;
  frame.indexes = {1, 1, 1, 1};
  const std::vector<uint8_t> gif = testpictures::MakeGif(2, 2, {frame});
  const fs::path picture = dir / "dot.gif";
  std::ofstream(picture, std::ios::binary).write(reinterpret_cast<const char*>(gif.data()), long(gif.size()));
  Trigger("Image1");
  dialogs.files = {picture.string()};
  form4.findChild<QToolButton*>("Button1")->click();
  EXPECT_EQ(form4.Edit1->text().toStdString(), "file://" + picture.string());
  ASSERT_TRUE(form4.Picture().has_value());
  EXPECT_EQ(form4.Picture()->frames[0].image.At(0, 0), imaging::Opaque(255, 0, 0));
  EXPECT_FALSE(form4.Image1->pixmap().isNull());
  EXPECT_EQ(dialogs.fileDialogs.back().title, "Insert Link");

  const fs::path broken = dir / "broken.jpg";
  std::ofstream(broken, std::ios::binary) << "not a picture";
  dialogs.files = {broken.string()};
  form4.findChild<QToolButton*>("Button1")->click();
  EXPECT_EQ(form4.Edit1->text().toStdString(), "file://" + broken.string());
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back().rfind("The picture " + broken.string() + " cannot be shown: JPEG:", 0), 0u);
  EXPECT_TRUE(form4.Image1->pixmap().isNull());
}

TEST_F(InsertWindowTest, HyperlinkDialogAndTheCommandWhileItIsOpen) {
  app::TForm6& form6 = *form->Dialogs().Form6;
  SetLines({"one"});
  Editor().SetCaretXY({1, 1});
  Trigger("Hyperlink1");
  EXPECT_EQ(GetLines(), (Lines{"one"})) << "showing the hidden dialog inserts nothing";
  form6.Edit1->setText("page.htm");
  Trigger("ToolbarButton9719");
  EXPECT_EQ(GetLines(), (Lines{"<a href=\"page.htm\">page.htm</a>", "one"})) << "already open: a link without class";
  form6.Edit2->setText("nav");
  Click(&form6, "Button1");
  EXPECT_EQ(GetLines()[0], "<a href=\"page.htm\" class=\"nav\">page.htm</a>");
  EXPECT_FALSE(form6.isVisible());
}

TEST_F(InsertWindowTest, AppletDialogTypesAndItsEmptySource) {
  app::TForm7& form7 = *form->Dialogs().Form7;
  SetLines({"one"});
  Editor().SetCaretXY({1, 1});
  Trigger("JavaApplet1");
  EXPECT_EQ(form7.ComboBox1->currentText(), "User Defined");
  form7.Edit3->setText("120");
  form7.ComboBox1Change("Ad Banner");
  EXPECT_EQ(form7.Edit1->text(), "jads.class");
  EXPECT_EQ(form7.Memo1->toPlainText(), "<param name=\"delay\" value=\"3000\">\n<param b>\n");
  Click(&form7, "Button1");
  EXPECT_EQ(GetLines(),
            (Lines{"<APPLET CODE=\"jads.class\" CODEBASE=\"./\" ALIGN=\"BASELINE\" Height=\"120\" Width=\"200\">",
                   "<param name=\"delay\" value=\"3000\">", "<param b>", "", "</APPLET>", "one"}));

  form7.ComboBox1Change("User Defined");
  EXPECT_TRUE(form7.Edit1->text().isEmpty());
  EXPECT_TRUE(form7.Memo1->toPlainText().isEmpty());
  EXPECT_TRUE(form7.ComboBox1->currentText().isEmpty());
  EXPECT_EQ(form7.Edit3->text(), "120") << "height and width stay";
  Trigger("ToolbarButton9720");
  const size_t before = GetLines().size();
  Click(&form7, "Button1");
  EXPECT_EQ(GetLines().size(), before) << "an empty source inserts nothing";
  EXPECT_FALSE(form7.isVisible()) << "although the dialog closes";

  // The clock's parameter file is missing here: the source is filled, then the error is shown.
  form7.ComboBox1->setCurrentIndex(2);
  emit form7.ComboBox1->textActivated("Rotating Clock");
  EXPECT_EQ(form7.Edit1->text(), "Clock3D.class");
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back(), "Cannot open file " + (dir / "Clock3D.conf").string());
}

TEST_F(InsertWindowTest, ScriptAndStyleSheetDialogs) {
  app::TOKBottomDlg1& script = *form->Dialogs().OKBottomDlg1;
  SetLines({"one"});
  Editor().SetCaretXY({1, 1});
  Trigger("Script1");
  Click(&script, "OKBtn");
  EXPECT_EQ(GetLines(), (Lines{"one", "<SCRIPT LANGUAGE=\"JavaScript\" SRC=\"\">", "</SCRIPT>"}))
      << "From File with an empty path still inserts the tag";
  Trigger("Script1");
  script.AsBelowOption->setChecked(true);
  script.Memo1->setPlainText("alert(1);");
  Click(&script, "OKBtn");
  EXPECT_EQ(GetLines()[1], "<SCRIPT LANGUAGE=\"JavaScript\">");
  EXPECT_EQ(GetLines()[2], "alert(1);");

  app::TForm8& sheet = *form->Dialogs().Form8;
  Trigger("ExternalStyleSheet1");
  dialogs.files = {std::string("/site/style.css")};
  sheet.findChild<QToolButton*>()->click();
  EXPECT_EQ(dialogs.fileDialogs.back().filter, "Cascading Style Sheets|*.css");
  Click(&sheet, "Button1");
  EXPECT_EQ(GetLines()[0], "<LINK REL=\"stylesheet\" TITLE=\"Default\" HREF=\"/site/style.css\" TYPE=\"text/css\">");
  Trigger("ExternalStyleSheet1");
  EXPECT_EQ(sheet.Edit1->text(), "/site/style.css") << "the box keeps its text";
}

TEST_F(InsertWindowTest, OpenFileFromWebLoadsTheFetchedPageAndKeepsTheTextOnFailure) {
  app::TForm3& form3 = *form->Dialogs().Form3;
  SetLines({"kept"});
  Trigger("FromWeborFTPSite1");
  EXPECT_TRUE(form3.isVisible());
  EXPECT_EQ(GetLines(), (Lines{"kept"})) << "opening the dialog leaves the text";
  EXPECT_EQ(form3.Edit1->text(), "http://");

  {
    ScriptedServer server(
        {"HTTP/1.0 200 OK\r\n\r\n", "HTTP/1.0 200 OK\r\n\r\n<html>\r\n<body>fetched</body>\n</html>"});
    form3.Edit1->setText(QString("http://127.0.0.1:%1/page.htm").arg(server.Port()));
    dialogs.answers = {platform::MessageAnswer::No};  // the unsaved text need not be saved
    Click(&form3, "Button1");
  }
  EXPECT_EQ(GetLines(), (Lines{"<html>", "<body>fetched</body>", "</html>"}));
  EXPECT_TRUE(form3.Edit1->text().isEmpty());
  EXPECT_TRUE(form3.isVisible()) << "the dialog stays open";

  int closedPort = 0;
  {
    ScriptedServer server({});
    closedPort = server.Port();
  }
  form3.Edit1->setText(QString("http://127.0.0.1:%1/").arg(closedPort));
  Click(&form3, "Button1");
  EXPECT_EQ(GetLines(), (Lines{"<html>", "<body>fetched</body>", "</html>"})) << "a failed fetch changes nothing";
  EXPECT_FALSE(form3.Edit1->text().isEmpty()) << "and keeps the address for another try";
  EXPECT_FALSE(dialogs.messages.empty());
}
