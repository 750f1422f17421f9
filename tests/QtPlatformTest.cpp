// The Qt implementations of the platform seams.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFontEngine.h"
#include "platform/qt/QtShell.h"

TEST(QtClipboard, PlainTextGoesOutAsUnicodeAndPrivateFormatsAsBytes) {
  platform::qt::QtClipboard clipboard;
  ASSERT_TRUE(clipboard.SetItems({{"text/plain", "caf\xE9 \x80"}, {"application/x-test", std::string("\x02z\0", 3)}}));
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("café €"));
  EXPECT_EQ(clipboard.Data("text/plain"), "caf\xE9 \x80");
  EXPECT_EQ(clipboard.Data("application/x-test"), std::string("\x02z\0", 3));
  EXPECT_FALSE(clipboard.HasFormat("application/x-missing"));
  EXPECT_FALSE(clipboard.Data("application/x-missing"));

  QApplication::clipboard()->setText(QString::fromUtf8("ü中"));
  EXPECT_EQ(clipboard.Data("text/plain"), "\xFC?") << "characters outside the code page become '?'";
}

TEST(QtFontEngine, CourierNewIsAFixedPitchGrid) {
  platform::qt::QtFontEngine fonts;
  const auto courier = fonts.CreateFont({"Courier New", 10, 0});
  const auto metrics = fonts.Metrics(courier);
  EXPECT_GT(metrics.cellWidth, 0);
  EXPECT_GT(metrics.cellHeight, 0);
  EXPECT_TRUE(metrics.IsFixedPitch());
  EXPECT_EQ(fonts.CreateFont({"Courier New", 10, 0}), courier) << "one handle per description";
  EXPECT_NE(fonts.CreateFont({"Courier New", 10, platform::kBold}), courier);
}

TEST(QtFontEngine, KnowsWhichFamiliesAreInstalled) {
  const platform::qt::QtFontEngine fonts;
  EXPECT_TRUE(fonts.HasFamily("Liberation Serif"));
  EXPECT_TRUE(fonts.HasFamily("Times New Roman")) << "the classic faces stand for their Liberation fonts";
  EXPECT_FALSE(fonts.HasFamily("No Such Family Anywhere"));
}

TEST(QtCanvas, UnderlineAndStrikeOutRunUnbrokenAcrossBlanks) {
  platform::qt::QtFontEngine fonts;
  const auto font = fonts.CreateFont({"Courier New", 12, platform::kUnderline | platform::kStrikeOut});
  const auto metrics = fonts.Metrics(font);
  QImage image(200, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::qt::QtCanvas canvas(painter, fonts);
    canvas.DrawText({0, 0}, font, platform::Rgb(0, 0, 0), "a    b", metrics.cellWidth);
  }
  const QFontMetrics qmetrics(fonts.Font(font));
  const int blankX = metrics.cellWidth * 3;  // the middle of the blanks
  EXPECT_EQ(image.pixelColor(blankX, metrics.ascent + qmetrics.underlinePos()), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(blankX, metrics.ascent - qmetrics.strikeOutPos()), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(metrics.cellWidth * 6 + 2, metrics.ascent + qmetrics.underlinePos()), QColor(Qt::white))
      << "the line ends with the run";
}

TEST(QtFontEngine, ProportionalFacesMeasureEachRun) {
  platform::qt::QtFontEngine fonts;
  const auto times = fonts.CreateFont({"Times New Roman", 12, 0});
  EXPECT_LT(fonts.TextWidth(times, "iiii"), fonts.TextWidth(times, "WWWW"));
  EXPECT_EQ(fonts.TextWidth(times, ""), 0);
  const auto metrics = fonts.Metrics(times);
  EXPECT_EQ(metrics.ascent + metrics.descent, metrics.cellHeight);
  EXPECT_GT(fonts.TextWidth(times, "caf\xE9"), fonts.TextWidth(times, "caf")) << "bytes are Windows-1252 characters";
}

TEST(QtCanvas, TextRunsStandOnTheirBaselineOpaqueOrNot) {
  platform::qt::QtFontEngine fonts;
  const auto font = fonts.CreateFont({"Times New Roman", 14, platform::kBold});
  const auto metrics = fonts.Metrics(font);
  QImage image(200, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::qt::QtCanvas canvas(painter, fonts);
    canvas.DrawTextRun({10, 5}, font, platform::Rgb(0, 0, 0), "Hi", std::nullopt);
    canvas.DrawTextRun({100, 5}, font, platform::Rgb(255, 255, 255), "  ", platform::Rgb(0, 0, 255));
    canvas.SetClip(platform::Rect{0, 0, 50, 40});
    canvas.DrawEllipse({150, 20, 160, 30}, platform::Rgb(0, 0, 0), platform::Rgb(0, 0, 0));
  }
  int inked = 0;
  for (int x = 10; x < 10 + fonts.TextWidth(font, "Hi"); ++x)
    for (int y = 5; y < 5 + metrics.cellHeight; ++y) inked += image.pixelColor(x, y) == QColor(Qt::black);
  EXPECT_GT(inked, 10);
  EXPECT_EQ(image.pixelColor(10, 5 + metrics.ascent + 2), QColor(Qt::white)) << "nothing below the baseline of Hi";
  EXPECT_EQ(image.pixelColor(102, 5 + metrics.cellHeight - 1), QColor(Qt::blue)) << "an opaque run fills its cell";
  EXPECT_EQ(image.pixelColor(155, 25), QColor(Qt::white)) << "drawing stays inside the clip";
}

TEST(QtCanvas, ColoursFollowTheStoredEncoding) {
  EXPECT_EQ(platform::qt::ToQColor(platform::Rgb(0x12, 0x34, 0x56)), QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(platform::qt::ToQColor(0x0000FF), QColor(Qt::red));
  EXPECT_EQ(platform::qt::ToQColor(platform::kColorWindow), QApplication::palette().color(QPalette::Base));
}

namespace {

// Takes the addresses the desktop would open, so no program starts during the test.
class OpenedUrls : public QObject {
  Q_OBJECT

 public:
  std::vector<QUrl> urls;

 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }
};

}  // namespace

TEST(QtShell, AddressesWithASchemeGoToTheirHandlerAndPathsAreFiles) {
  OpenedUrls opened;
  for (const char* scheme : {"mailto", "http", "file"}) QDesktopServices::setUrlHandler(scheme, &opened, "Open");
  platform::qt::QtShell shell;
  EXPECT_TRUE(shell.OpenDocument("mailto:support@quillmark.example.org", {}));
  EXPECT_TRUE(shell.OpenDocument("http://example.org/a b", {}));
  EXPECT_TRUE(shell.OpenDocument("/tmp/page one.htm", {}));
  EXPECT_TRUE(shell.OpenDocument("page.htm", {}));
  for (const char* scheme : {"mailto", "http", "file"}) QDesktopServices::unsetUrlHandler(scheme);
  ASSERT_EQ(opened.urls.size(), 4u);
  EXPECT_EQ(opened.urls[0].scheme(), "mailto");
  EXPECT_EQ(opened.urls[0].path(), "support@quillmark.example.org");
  EXPECT_EQ(opened.urls[1].host(), "example.org");
  EXPECT_EQ(opened.urls[2].toLocalFile(), "/tmp/page one.htm");
  EXPECT_EQ(opened.urls[3].toLocalFile(), QDir::current().absoluteFilePath("page.htm"));
}

#include "QtPlatformTest.moc"

TEST(QtDialogs, TheProgressWindowRunsTheLoopAndAsksBeforeItStops) {
  platform::qt::QtDialogs dialogs;
  int ticks = 0, cancels = 0;
  platform::ProgressWindow* shown = nullptr;
  QDialog* window = nullptr;
  // The loop runs while the window shows: a timer's third tick plays the person and the transfer, however
  // long the machine takes to get there.
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (++ticks != 3) return;
    timer.stop();
    ASSERT_TRUE(window && window->isVisible());
    QTest::keyClick(window, Qt::Key_Escape);
    window->findChild<QPushButton*>("btnCancel")->click();
    EXPECT_TRUE(window->isVisible()) << "Cancel and Escape ask; the transfer's end closes the window";
    shown->SetProgressText("1,024 of 4,096 bytes received.");
    shown->SetPosition(25);
    EXPECT_EQ(window->findChild<QLabel*>("lblProgress")->text(), "1,024 of 4,096 bytes received.");
    EXPECT_EQ(window->findChild<QProgressBar*>("pbarProgress")->value(), 25);
    EXPECT_EQ(window->findChild<QLabel*>("lblDownloading")->text(), "Downloading Update");
    shown->Close(false);
  });
  timer.start(5);
  platform::ProgressWindowOptions options{"Download Progress", "Downloading Update", true,
                                          [&](platform::ProgressWindow& progress) {
                                            shown = &progress;
                                            window = dynamic_cast<QDialog*>(&progress);
                                          },
                                          [&] { ++cancels; }};
  EXPECT_FALSE(dialogs.RunProgressWindow(options));
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(cancels, 2);
}

TEST(QtEventLoop, PostedCallsAndWatchedSocketsRunFromTheLoop) {
  platform::qt::QtEventLoop loop;
  std::vector<int> order;
  loop.Post([&] { order.push_back(1); });
  loop.Post([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty()) << "never inside the caller";

  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends), 0);
  int readable = 0, writable = 0;
  platform::WatchId watch;
  watch = loop.WatchSocket(ends[0], [&](bool canRead, bool canWrite) {
    if (canWrite) {
      ++writable;
      loop.WantWrite(watch, false);  // asked for once
    }
    if (canRead) {
      char byte;
      while (::read(ends[0], &byte, 1) == 1) ++readable;
      loop.Unwatch(watch);  // from inside its own call
    }
  });
  loop.WantWrite(watch, true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 2 && writable == 1; }, 20000));
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  ASSERT_EQ(::write(ends[1], "ab", 2), 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return readable == 2; }, 20000));
  // Another socket made readable with it is heard; by then the unwatched one would have been too.
  int other[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, other), 0);
  bool otherHeard = false;
  const platform::WatchId otherWatch = loop.WatchSocket(other[0], [&](bool canRead, bool) { otherHeard |= canRead; });
  ASSERT_EQ(::write(ends[1], "c", 1), 1);
  ASSERT_EQ(::write(other[1], "d", 1), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return otherHeard; }, 20000));
  EXPECT_EQ(readable, 2) << "an unwatched socket is not reported again";
  loop.Unwatch(otherWatch);
  ::close(other[0]);
  ::close(other[1]);
  ::close(ends[0]);
  ::close(ends[1]);
}
