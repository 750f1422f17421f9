#include "ui/UpdateWindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "app/MainForm.h"
#include "platform/qt/TextBytes.h"

namespace ui {

UpdateWindow::UpdateWindow(UpdateWindowServices services, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      UpdateInfo(services.loop, services.dialogs, services.shell) {
  setObjectName("UpdateForm");
  setWindowTitle("Tarnwell Vireo-Update!");
  UpdateInfo.CurrentVersion = "3.0.1";
  UpdateInfo.SetHomeURL(services.registry.ReadString(kUpdateSettingsKey, "HomeURL").value_or(kDefaultUpdateAddress));
  UpdateInfo.InfoTags.AuthorTag = "qm-author";
  UpdateInfo.InfoTags.DateTag = "qm-date";
  UpdateInfo.InfoTags.DownloadTag = "qm-url";
  UpdateInfo.InfoTags.ProductNameTag = "qm-name";
  UpdateInfo.InfoTags.VersionTag = "qm-version";
  UpdateInfo.InfoTags.Sha256Tag = "qm-sha256";
  UpdateInfo.ApplicationTitle = app::kApplicationTitle;
  UpdateInfo.DownloadFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation).toStdString();

  auto* group = new QGroupBox("Updating: Tarnwell Quillmark 3.0", this);
  auto* grid = new QGridLayout(group);
  auto addRow = [&](const char* caption, const char* name, const QString& text) {
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption, group), row, 0);
    auto* value = new QLabel(text, group);
    value->setObjectName(name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(value, row, 1);
    return value;
  };
  addRow("Current Version Number:", "lblCurrent", "3.0.0");
  version_ = addRow("Version Available to Download:", "lblVersion", "Not Available");
  date_ = addRow("Date Released:", "lblDate", "Not Available");
  url_ = addRow("Download URL:", "lblURL", "Not Available");
  url_->setMinimumWidth(260);

  animation_ = new QProgressBar(this);
  animation_->setObjectName("Ani");
  animation_->setTextVisible(false);
  animation_->setRange(0, 1);  // idle; a range of 0 to 0 plays the busy animation
  animation_->setFixedHeight(12);

  auto* information = new QPushButton("Get Information", this);
  information->setObjectName("Button1");
  information->setDefault(true);
  auto* update = new QPushButton("Update", this);
  update->setObjectName("Button2");
  auto* exit = new QPushButton("E&xit", this);
  exit->setObjectName("Button3");
  connect(information, &QPushButton::clicked, this, [this] { GetInformation(); });
  connect(update, &QPushButton::clicked, this, [this] { Update(); });
  connect(exit, &QPushButton::clicked, this, &QDialog::hide);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(information);
  buttons->addWidget(update);
  buttons->addWidget(exit);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(animation_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  information->setFocus();
  if (QScreen* screen = owner ? owner->screen() : nullptr)
    move(screen->availableGeometry().center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
}

void UpdateWindow::Busy(const std::function<void()>& operation) {
  animation_->setRange(0, 0);
  operation();
  animation_->setRange(0, 1);
}

void UpdateWindow::GetInformation() {
  Busy([this] {
    UpdateInfo.GetVersionInfo();
    date_->setText(platform::qt::TextFromBytes(UpdateInfo.ProductDateStr));
    version_->setText(platform::qt::TextFromBytes(UpdateInfo.ProductVersion));
    url_->setText(platform::qt::TextFromBytes(UpdateInfo.DownloadURL));
  });
}

void UpdateWindow::Update() {
  Busy([this] {
    GetInformation();
    if (UpdateInfo.Active()) UpdateInfo.ExecuteUpdate();
  });
}

}  // namespace ui
