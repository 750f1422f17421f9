// The modal wait and progress windows, and the window that shows a text to read.
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "platform/qt/QtDialogs.h"
#include "platform/qt/TextBytes.h"

namespace platform::qt {
namespace {

class ModalProgressWindow : public QDialog, public ProgressWindow {
 public:
  ModalProgressWindow(const ProgressWindowOptions& options, QWidget* parent)
      : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), cancel_(options.cancel) {
    setWindowTitle(QString::fromStdString(options.caption));
    setModal(true);
    setCursor(Qt::WaitCursor);
    auto* label = new QLabel(TextFromBytes(options.text), this);
    label->setAlignment(Qt::AlignCenter);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("btnCancel");
    cancel->setCursor(Qt::ArrowCursor);
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    if (options.bar) {
      setObjectName("DownloadProgress");
      setFixedSize(272, 123);
      label->setObjectName("lblDownloading");
      label->setGeometry(2, 10, 268, 18);
      bar_ = new QProgressBar(this);
      bar_->setObjectName("pbarProgress");
      bar_->setRange(0, 100);
      bar_->setValue(0);
      bar_->setTextVisible(false);
      bar_->setGeometry(36, 40, 200, 14);
      progress_ = new QLabel(this);
      progress_->setObjectName("lblProgress");
      progress_->setAlignment(Qt::AlignCenter);
      progress_->setGeometry(2, 60, 268, 22);
      cancel->setGeometry(102, 94, 68, 22);
    } else {
      setObjectName("WaitWindow");
      setFixedSize(240, 100);
      label->setGeometry(0, 27, 232, 23);
      cancel->setGeometry(86, 62, 68, 22);
    }
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
  }

  void SetProgressText(const std::string& text) override {
    if (progress_) progress_->setText(TextFromBytes(text));
  }
  void SetPosition(int percent) override {
    if (bar_) bar_->setValue(percent);
  }
  void Close(bool ok) override { done(ok ? Accepted : Rejected); }

  // Cancel and Escape ask the logic to stop; it closes the window when the transfer has ended.
  void reject() override {
    if (cancel_) cancel_();
  }

 private:
  std::function<void()> cancel_;
  QProgressBar* bar_ = nullptr;
  QLabel* progress_ = nullptr;
};

}  // namespace

bool QtDialogs::RunProgressWindow(const ProgressWindowOptions& options) {
  ModalProgressWindow window(options, parent_);
  if (options.shown) options.shown(window);
  return window.exec() == QDialog::Accepted;
}

void QtDialogs::ShowTextWindow(const std::string& caption, const std::string& text) {
  QDialog window(parent_);
  window.setObjectName("ReadMe");
  window.setWindowTitle(QString::fromStdString(caption));
  // Four fifths of the screen each way, centred.
  const QRect screen = (parent_ ? parent_->screen() : QGuiApplication::primaryScreen())->availableGeometry();
  const QSize size(screen.width() * 4 / 5, screen.height() * 4 / 5);
  window.setGeometry(QRect(screen.center() - QPoint(size.width() / 2, size.height() / 2), size));
  auto* memo = new QPlainTextEdit(&window);
  memo->setObjectName("Memo");
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setPlainText(TextFromBytes(text));
  memo->setGeometry(10, 10, size.width() - 25, size.height() - 80);
  auto* ok = new QPushButton("&Ok", &window);
  ok->setObjectName("OkButton");
  ok->setDefault(true);
  ok->setGeometry((size.width() - 68) / 2, size.height() - 56, 68, 22);
  QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
  window.exec();
}

}  // namespace platform::qt
