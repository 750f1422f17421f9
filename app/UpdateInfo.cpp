// Reading the information page, comparing versions, and the update's questions, downloads and start.
#include "app/UpdateInfo.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/FileIO.h"
#include "platform/TextBits.h"

namespace app {
namespace fs = std::filesystem;
using net::EHttpException;
using net::GroupedNumber;
using net::ReadInfoDefinition;
using net::ReadProductDate;
using net::THttpClient;
using net::THttpRequest;
namespace {

// A name from a server used as a file name: only its last part, never a folder of its own.
std::string SafeFileName(const std::string& url, const std::string& fallback) {
  std::string name = url.substr(url.rfind('/') == std::string::npos ? 0 : url.rfind('/') + 1);
  if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos) return fallback;
  return name;
}

}  // namespace

TUpdateInfo::TUpdateInfo(platform::EventLoop& loop, platform::Dialogs& dialogs, platform::Shell& shell)
    : loop_(loop), dialogs_(dialogs), shell_(shell) {}

TUpdateInfo::~TUpdateInfo() = default;

void TUpdateInfo::SetHomeURL(const std::string& url) {
  if (url.size() <= 6 || (url.compare(0, 7, "http://") != 0 && url.compare(0, 8, "https://") != 0)) return;
  homeURL_ = url;
  active_ = false;
}

void TUpdateInfo::SetOptions(TUpdateInfoOptions options) {
  options.insert(uioDisplayUI);
  options_ = std::move(options);
}

void TUpdateInfo::Warn(const std::string& caption, const std::string& text) {
  dialogs_.MessageBox(text, caption, platform::MessageIcon::Warning, platform::MessageButtons::Ok);
}

void TUpdateInfo::HandleException(const std::string& message) {
  LastError = message;
  if (window_) window_->Close(false);
  Warn("Exception", "Error retrieving update information.\nException: " + message + ".");
}

void TUpdateInfo::RequestDone(int error) {
  requestError_ = error;
  LastError = error != 0 ? client_->ReasonPhrase() : std::string();
  if (!window_) return;
  window_->Close(!(progressShown_ && cancelled_));
}

bool TUpdateInfo::Transfer(const std::string& url, const std::string& text, bool progress, long long maxBody,
                           const std::function<void(const char*, std::size_t)>& sink) {
  if (!client_) {
    client_ = std::make_unique<THttpClient>(loop_);
    client_->OnRequestDone = [this](THttpRequest, int error) { RequestDone(error); };
  }
  client_->Proxy = ProxyHost;
  client_->ProxyPort = ProxyHost.empty() ? "80" : std::to_string(ProxyPort);
  client_->CAFile = CAFile;
  client_->TimeLimitMs = TimeLimitMs;
  client_->MaxBody = maxBody;
  client_->OnDocData = [this, progress, &sink](const char* data, std::size_t size) {
    sink(data, size);
    if (!progress || cancelled_ || !window_) return;
    const long long received = client_->RcvdCount(), total = client_->ContentLength();
    window_->SetProgressText(GroupedNumber(received) + " of " + GroupedNumber(total) + " bytes received.");
    if (total > 0 && received * 100 / total > progressPosition_) {
      progressPosition_ = static_cast<int>(received * 100 / total);
      window_->SetPosition(progressPosition_);
    }
    if (OnDownloadProgress) OnDownloadProgress(received, total);
  };
  LastError.clear();
  client_->URL = url;
  try {
    client_->GetASync();
  } catch (const EHttpException& e) {
    HandleException(e.what());
    return false;
  }
  progressShown_ = progress;
  cancelled_ = false;
  progressPosition_ = 0;
  platform::ProgressWindowOptions window{progress ? "Download Progress" : "Please Wait", text, progress,
                                         [this](platform::ProgressWindow& shown) { window_ = &shown; },
                                         [this] {
                                           cancelled_ = true;
                                           client_->Abort();
                                         }};
  dialogs_.RunProgressWindow(window);
  window_ = nullptr;
  client_->OnDocData = nullptr;
  return true;
}

void TUpdateInfo::ClearProductInfo() {
  DownloadURL.clear();
  ProductName.clear();
  ProductAuthor.clear();
  ProductDate = {};
  ProductDateStr.clear();
  ProductReadMe.clear();
  ProductReadMeExt.clear();
  ProductVersion.clear();
  ProductSha256.clear();
  redirect_.clear();
  RunParams.clear();
}

void TUpdateInfo::ReadInformationPage(const std::string& page) {
  std::istringstream lines(page);
  std::string line, name, value;
  const std::pair<const std::string*, std::string*> targets[] = {
      {&InfoTags.ProductNameTag, &ProductName},    {&InfoTags.ReadMeTag, &ProductReadMe},
      {&InfoTags.ReadMeExtTag, &ProductReadMeExt}, {&InfoTags.VersionTag, &ProductVersion},
      {&InfoTags.DateTag, &ProductDateStr},        {&InfoTags.AuthorTag, &ProductAuthor},
      {&InfoTags.DownloadTag, &DownloadURL},       {&InfoTags.RedirectTag, &redirect_},
      {&InfoTags.RunParamsTag, &RunParams},        {&InfoTags.Sha256Tag, &ProductSha256}};
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!ReadInfoDefinition(line, name, value)) continue;
    for (const auto& [tag, property] : targets)
      if (!tag->empty() && *tag == name) *property = value;
  }
  if (!ProductDateStr.empty() && DateFormat == TUpdateInfoDateFormat::uidMonthDayYear)
    ProductDate = ReadProductDate(ProductDateStr);
  downloadFileName_ = SafeFileName(DownloadURL, "update");
}

bool TUpdateInfo::GetVersionInfo() { return FetchVersionInfo(0); }

bool TUpdateInfo::FetchVersionInfo(int depth) {
  if (active_) return true;
  if (homeURL_.empty()) {
    Warn("Missing Home URL", "Can not retrieve version information\nbecause no home url was provided.");
    return false;
  }
  if (InfoTags.Empty()) {
    Warn("Missing Tag Information", "Can not retrieve version information\nbecause no tag information was provided.");
    return false;
  }
  std::string page;
  if (!Transfer(redirect_.empty() ? homeURL_ : redirect_, "Checking For Update...", false, kMaxInfoPage,
                [&page](const char* data, std::size_t size) { page.append(data, size); }))
    return false;
  if (client_->StatusCode() > 200) {
    LastError = client_->ReasonPhrase();
    // A server's answer shows its status; a transfer that failed on the way shows why.
    dialogs_.MessageBox(requestError_ == 0 ? std::to_string(client_->StatusCode()) : LastError, ApplicationTitle,
                        platform::MessageIcon::None, platform::MessageButtons::Ok);
  }
  ClearProductInfo();
  bool result = false;
  if (LastError.empty()) {
    ReadInformationPage(page);
    result = true;
  }
  if (result && !redirect_.empty()) {
    if (depth < kMaxRedirects) return FetchVersionInfo(depth + 1);
    LastError = "Too many redirections";
    result = false;
  }
  redirect_.clear();
  active_ = result;
  return result;
}

std::string TUpdateInfo::AvailableText() const {
  return "Current version is " + CurrentVersion + ".\nVersion " + ProductVersion + " is available.\n";
}

bool TUpdateInfo::ExecuteUpdate() {
  if (!GetVersionInfo()) {
    Warn("Connection Error",
         LastError.empty()
             ? "Could not retrieve version information from the Internet.\nError unknown."
             : "Could not retrieve version information from the Internet.\nError: \"" + LastError + ".\"");
    return false;
  }
  if (!IsNewerVersion()) {
    dialogs_.MessageBox("There is no update available.", "No Update Found", platform::MessageIcon::Information,
                        platform::MessageButtons::Ok);
    return false;
  }
  if (options_.count(uioDisplayReadMe)) ShowReadMe(true);
  if (dialogs_.MessageBox(AvailableText() + "Download the update?", "Update Available", platform::MessageIcon::Question,
                          platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
    return false;
  platform::FileDialogOptions save;
  save.filter = "Application (*.EXE)|*.EXE|Zipped File|*.ZIP|All Files (*.*)|*.*";
  save.initialFolder = DownloadFolder;
  save.proposedName = downloadFileName_;
  save.extensionFromFilter = true;
  const auto path = dialogs_.SaveFile(save);
  if (!path) return false;
  if (!DownloadUpdate(*path)) {
    Warn("Download Error", LastError.empty()
                               ? "Error occurred while downloading update.\nError unknown."
                               : "Error occurred while downloading update.\nError: \"" + LastError + ".\"");
    return false;
  }
  if (!options_.count(uioRunUpdate)) return true;
  const bool exiting = options_.count(uioExitDuringUpdate) > 0;
  const std::string question = exiting
                                   ? "Do you want to install the update now?\nThis will close " + ApplicationTitle + "."
                                   : "Do you want to install the update now?";
  if (dialogs_.MessageBox(question, "Install Update", platform::MessageIcon::Question,
                          platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
    return true;
  // The desktop's opener shows the person what the file is before anything of it runs.
  if (!shell_.OpenDocument(downloadedFile_, "")) {
    Warn("Error", "Can not start program.");
    return true;
  }
  if (exiting && OnExitRequested) OnExitRequested();
  return true;
}

bool TUpdateInfo::Download(const std::string& url, const std::string& file, const std::string& caption,
                           const std::string& sha256) {
  // The download goes to a temporary name beside its target and takes the target's name only once it is
  // complete, so a failed or cancelled download leaves nothing under that name.
  const fs::path target(file);
  const fs::path partial = platform::TemporaryBeside(target, ".part");
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  if (!out) {
    LastError = "Cannot create file " + partial.string();
    return false;
  }
  net::Sha256Digest digest;
  const bool started = Transfer(url, caption, true, 0, [&](const char* data, std::size_t size) {
    out.write(data, static_cast<std::streamsize>(size));
    digest.Update(data, size);
  });
  const std::string hash = digest.Hex();
  out.close();
  bool complete = started && LastError.empty();
  if (complete && client_->StatusCode() > 200) {
    LastError = client_->ReasonPhrase();
    complete = false;
  }
  if (complete && client_->ContentLength() >= 0 && client_->RcvdCount() != client_->ContentLength()) {
    LastError = "The download ended after " + GroupedNumber(client_->RcvdCount()) + " of " +
                GroupedNumber(client_->ContentLength()) + " bytes";
    complete = false;
  }
  if (complete && !out) {
    LastError = "Cannot create file " + partial.string();
    complete = false;
  }
  if (complete && !sha256.empty() && platform::AsciiUpper(sha256) != platform::AsciiUpper(hash)) {
    // Shown inside the sentence "Error: "...."", which adds the full stop.
    LastError = "The download does not match its published checksum";
    complete = false;
  }
  std::error_code ec;
  if (complete) fs::rename(partial, target, ec);
  if (complete && ec) {
    LastError = "Cannot create file " + target.string();
    complete = false;
  }
  if (!complete) fs::remove(partial, ec);
  return complete;
}

bool TUpdateInfo::DownloadUpdate(const std::string& path) {
  if (!active_ && !GetVersionInfo()) return false;
  downloadedFile_ = !path.empty() && path.back() == '/' ? path + downloadFileName_ : path;
  if (!options_.count(uioAlwaysOverwrite) && !options_.count(uioDisplayUI) && fs::exists(downloadedFile_) &&
      dialogs_.MessageBox("The file " + downloadedFile_ + " already exists.\nDo you want to overwrite it?",
                          "File Exists", platform::MessageIcon::Question,
                          platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
    return false;
  return Download(DownloadURL, downloadedFile_, "Downloading Update", ProductSha256);
}

bool TUpdateInfo::ShowReadMe(bool ask) {
  if (!active_ || (ProductReadMe.empty() && ProductReadMeExt.empty())) return false;
  if (ask && dialogs_.MessageBox(AvailableText() + "Would you like to view the ReadMe file?", "Update Available",
                                 platform::MessageIcon::Question,
                                 platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
    return false;
  if (!ProductReadMeExt.empty()) {
    // A folder of its own, so the name the server gives cannot meet a file planted in the shared folder.
    std::string folder = (fs::path(TempFolder) / "quillmark-readme-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
      Warn("Error", "Can not start program.");
      return false;
    }
    const std::string file = (fs::path(folder) / SafeFileName(ProductReadMeExt, "readme.htm")).string();
    if (Download(ProductReadMeExt, file, "Downloading ReadMe", "") && shell_.OpenDocument(file, "")) return true;
    Warn("Error", "Can not start program.");
    return false;
  }
  std::string text;
  if (!Transfer(ProductReadMe, "Retrieving ReadMe...", false, kMaxInfoPage,
                [&text](const char* data, std::size_t size) { text.append(data, size); }))
    return false;
  if (client_->StatusCode() > 200) return false;
  dialogs_.ShowTextWindow("Read Me", text);
  return true;
}

}  // namespace app
