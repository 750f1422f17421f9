// TUpdateInfo: the update checker. It fetches an information page whose META lines name the newest
// version, its date and its download address, compares that version with the program's own, and can
// show the release's read-me, download the release (with a progress window, to a temporary name that is
// renamed only once the download is complete and, when the page publishes one, matches its SHA-256) and
// hand it to the desktop's opener. Every transfer runs on the event loop behind a modal wait or progress
// window.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "net/HttpClient.h"
#include "net/UpdatePage.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/Shell.h"

namespace app {

using net::TUpdateDate;
using net::TUpdateInfoTags;
using net::TUpdateInfoVersionFormat;

enum TUpdateInfoOption { uioAlwaysOverwrite, uioDisplayUI, uioDisplayReadMe, uioRunUpdate, uioExitDuringUpdate };
using TUpdateInfoOptions = std::set<TUpdateInfoOption>;
enum class TUpdateInfoDateFormat { uidMonthDayYear, uidNone };

class TUpdateInfo {
 public:
  static constexpr long long kMaxInfoPage = 1 << 20;
  static constexpr int kMaxRedirects = 5;

  TUpdateInfo(platform::EventLoop& loop, platform::Dialogs& dialogs, platform::Shell& shell);
  ~TUpdateInfo();

  bool Active() const { return active_; }
  std::string CurrentVersion;
  const std::string& HomeURL() const { return homeURL_; }
  // Taken only when longer than 6 characters and starting with "http://" or "https://"; turns Active off.
  void SetHomeURL(const std::string& url);
  TUpdateInfoTags InfoTags;
  const TUpdateInfoOptions& Options() const { return options_; }
  void SetOptions(TUpdateInfoOptions options);  // always keeps uioDisplayUI
  TUpdateInfoVersionFormat VersionFormat = TUpdateInfoVersionFormat::uivBuildNumber;
  TUpdateInfoDateFormat DateFormat = TUpdateInfoDateFormat::uidMonthDayYear;
  std::string ProxyHost;
  int ProxyPort = 80;

  // Read from the information page.
  std::string ProductName, ProductAuthor, ProductVersion, ProductDateStr, ProductReadMe, ProductReadMeExt, DownloadURL,
      RunParams, ProductSha256;
  TUpdateDate ProductDate;
  std::string LastError;
  std::function<void(long long received, long long total)> OnDownloadProgress;

  // Where the save dialog for a download starts.
  std::string DownloadFolder;
  // The program's title for the install question, and how the program asks to close (it asks to save
  // unsaved work first); nothing: it is not closed.
  std::string ApplicationTitle;
  std::function<void()> OnExitRequested;
  // For tests: more certificate authorities, a shorter time limit, another folder for read-me files.
  std::string CAFile;
  int TimeLimitMs = 30000;
  std::string TempFolder = std::filesystem::temp_directory_path().string();

  bool GetVersionInfo();
  bool IsNewerVersion() const { return net::IsNewerVersion(CurrentVersion, ProductVersion, VersionFormat); }
  bool ExecuteUpdate();
  bool ShowReadMe(bool ask);
  bool DownloadUpdate(const std::string& path);
  // The local file of the last download.
  const std::string& DownloadedFile() const { return downloadedFile_; }

 private:
  bool FetchVersionInfo(int depth);
  void ClearProductInfo();
  void ReadInformationPage(const std::string& page);
  // GETs url into sink behind a wait window (text) or a progress window (caption); false when the
  // client refused to start (its error has been shown).
  bool Transfer(const std::string& url, const std::string& text, bool progress, long long maxBody,
                const std::function<void(const char*, std::size_t)>& sink);
  void RequestDone(int error);
  void HandleException(const std::string& message);
  bool Download(const std::string& url, const std::string& file, const std::string& caption, const std::string& sha256);
  std::string AvailableText() const;
  void Warn(const std::string& caption, const std::string& text);

  platform::EventLoop& loop_;
  platform::Dialogs& dialogs_;
  platform::Shell& shell_;
  std::unique_ptr<net::THttpClient> client_;
  bool active_ = false;
  std::string homeURL_;
  TUpdateInfoOptions options_ = {uioDisplayUI, uioDisplayReadMe, uioRunUpdate, uioExitDuringUpdate};
  std::string redirect_, downloadFileName_, downloadedFile_;
  platform::ProgressWindow* window_ = nullptr;
  bool progressShown_ = false, cancelled_ = false;
  int progressPosition_ = 0;
  int requestError_ = 0;
};

}  // namespace app
