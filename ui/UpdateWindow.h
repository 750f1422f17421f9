// "Tarnwell Vireo-Update!": the update window over the update checker. Get Information fetches the
// information page and shows what it says; Update goes on to the read-me, the download and its start.
#pragma once

#include <QDialog>
#include <functional>

#include "app/UpdateInfo.h"
#include "platform/Registry.h"

class QLabel;
class QProgressBar;

namespace ui {

// Where the information page is looked for unless the settings name another address.
inline constexpr const char* kUpdateSettingsKey = "HKEY_CURRENT_USER\\Software\\Tarnwell\\Quillmark\\Update";
inline constexpr const char* kDefaultUpdateAddress = "https://quillmark.example.org/update.htm";

struct UpdateWindowServices {
  platform::EventLoop& loop;
  platform::Dialogs& dialogs;
  platform::Shell& shell;
  platform::Registry& registry;
};

class UpdateWindow : public QDialog {  // "UpdateForm"
  Q_OBJECT

 public:
  UpdateWindow(UpdateWindowServices services, QWidget* owner);

  app::TUpdateInfo UpdateInfo;

  void GetInformation();  // Button1
  void Update();          // Button2

 private:
  // Runs an operation with the animation playing.
  void Busy(const std::function<void()>& operation);
  QLabel* version_;
  QLabel* date_;
  QLabel* url_;
  QProgressBar* animation_;
};

}  // namespace ui
