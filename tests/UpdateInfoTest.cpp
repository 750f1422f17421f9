// The update checker: reading the information page, comparing versions and dates, and the whole flow from
// "Get Information" to a started download against scripted servers, answered by fake dialogs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TestFiles.h"
#include "app/UpdateInfo.h"
#include "platform/headless/PollEventLoop.h"
#include "testsupport/FakeDialogs.h"
#include "testsupport/FakeShell.h"
#include "testsupport/ScriptedServer.h"
#include "testsupport/TestCertificates.h"

namespace fs = std::filesystem;
using app::uioDisplayReadMe;
using net::TUpdateInfoVersionFormat;
using platform::MessageAnswer;

TEST(UpdateInfoPage, DefinitionsVersionsDatesAndNumbers) {
  std::string name, value;
  EXPECT_TRUE(net::ReadInfoDefinition(R"(<META HTTP-EQUIV="qm-version" CONTENT="3.0.2">)", name, value));
  EXPECT_EQ(name, "qm-version");
  EXPECT_EQ(value, "3.0.2");
  EXPECT_TRUE(net::ReadInfoDefinition(R"(  <meta http-equiv="QM-Name" CONTENT="Quillmark">)", name, value));
  EXPECT_EQ(name, "QM-Name") << "the name keeps its case";
  EXPECT_FALSE(net::ReadInfoDefinition(R"(<META HTTP-EQUIV="qm-version" content="3.0.2">)", name, value))
      << "CONTENT must be written in capitals";
  EXPECT_FALSE(net::ReadInfoDefinition("<p>qm-version 9</p>", name, value));

  using net::IsNewerVersion;
  const auto build = TUpdateInfoVersionFormat::uivBuildNumber;
  EXPECT_TRUE(IsNewerVersion("3.0.1", "3.0.2", build));
  EXPECT_FALSE(IsNewerVersion("3.0.1", "3.0.1", build));
  EXPECT_TRUE(IsNewerVersion("3.0.1", "3.1", build));
  EXPECT_FALSE(IsNewerVersion("3.0", "3.0.1", build)) << "the comparison stops where the current version does";
  EXPECT_FALSE(IsNewerVersion("3.10", "3.9", build));
  EXPECT_TRUE(IsNewerVersion("3.x", "3.1", build)) << "a part that is no number counts 0";
  EXPECT_TRUE(IsNewerVersion("3.10", "3.9", TUpdateInfoVersionFormat::uivSimpleString));

  EXPECT_EQ(net::ReadProductDate("Mar 05, 2001"), (net::TUpdateDate{2001, 3, 5}));
  EXPECT_EQ(net::ReadProductDate("dec 24, 1999"), (net::TUpdateDate{1999, 12, 24}));
  EXPECT_EQ(net::ReadProductDate("Someday"), net::TUpdateDate{});
  EXPECT_EQ(net::ReadProductDate("Foo 01, 2001"), net::TUpdateDate{});

  EXPECT_EQ(net::GroupedNumber(0), "0");
  EXPECT_EQ(net::GroupedNumber(999), "999");
  EXPECT_EQ(net::GroupedNumber(1234567), "1,234,567");
}

namespace {

using testfiles::Read;

std::string Reply(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string InfoPage(const std::string& version, const std::string& downloadUrl, const std::string& extra = "") {
  return "<html><head>\r\n<META HTTP-EQUIV=\"qm-name\" CONTENT=\"Quillmark\">\r\n"
         "<META HTTP-EQUIV=\"qm-version\" CONTENT=\"" +
         version + "\">\r\n<META HTTP-EQUIV=\"qm-date\" CONTENT=\"Mar 05, 2001\">\r\n" +
         "<META HTTP-EQUIV=\"qm-url\" CONTENT=\"" + downloadUrl + "\">\r\n" + extra + "</head></html>\r\n";
}

// SHA-256 of "release bytes".
const char* const kReleaseSha256 = "ff7a5e6429d2c8511521e4abf41cd54a3e525ef4a1f24f8d1c67ede9d17874dd";

class UpdateFlow : public ::testing::Test {
 protected:
  UpdateFlow() : folder(fs::temp_directory_path() / ("quillmark-update-" + std::to_string(::getpid()))) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    dialogs.runLoop = [this](const std::function<bool()>& closed) { loop.RunUntil(closed, 20000); };
    info.CurrentVersion = "3.0.1";
    info.InfoTags.AuthorTag = "qm-author";
    info.InfoTags.DateTag = "qm-date";
    info.InfoTags.DownloadTag = "qm-url";
    info.InfoTags.ProductNameTag = "qm-name";
    info.InfoTags.VersionTag = "qm-version";
    info.InfoTags.Sha256Tag = "qm-sha256";
    info.ApplicationTitle = "Tarnwell Quillmark 3.01";
    info.TempFolder = folder.string();
    info.OnExitRequested = [this] { ++exits; };
  }
  ~UpdateFlow() override { fs::remove_all(folder); }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder;
  platform::headless::PollEventLoop loop;
  platform::fakes::FakeDialogs dialogs;
  platform::fakes::FakeShell shell;
  app::TUpdateInfo info{loop, dialogs, shell};
  int exits = 0;
};

}  // namespace

TEST_F(UpdateFlow, NoUpdateIsSaidAndTheInformationIsFetchedOnce) {
  ScriptedServer server({Reply(InfoPage("3.0.1", "http://127.0.0.1/x/setup.exe"))});
  info.SetHomeURL(server.Url("/update.htm"));
  EXPECT_FALSE(info.ExecuteUpdate());
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"There is no update available."}));
  EXPECT_EQ(dialogs.progressWindows[0].options.caption, "Please Wait");
  EXPECT_EQ(dialogs.progressWindows[0].options.text, "Checking For Update...");
  EXPECT_TRUE(info.Active());
  EXPECT_EQ(info.ProductName, "Quillmark");
  EXPECT_EQ(info.ProductDateStr, "Mar 05, 2001");
  EXPECT_EQ(info.ProductDate, (net::TUpdateDate{2001, 3, 5}));
  EXPECT_TRUE(info.GetVersionInfo());
  EXPECT_EQ(server.Requests().size(), 1u) << "a second Get Information does not fetch again";
  EXPECT_EQ(server.Requests()[0],
            "GET /update.htm HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n\r\n");
}

TEST_F(UpdateFlow, AnUpdateWithItsReadMeIsDownloadedAndHandedToTheDesktop) {
  ScriptedServer files({Reply("Read this first.\r\n"), Reply("release bytes")});
  ScriptedServer home(
      {Reply(InfoPage("3.0.2", files.Url("/dl/setup.exe"),
                      "<META HTTP-EQUIV=\"qm-readme\" CONTENT=\"" + files.Url("/readme.txt") + "\">\r\n"))});
  info.InfoTags.ReadMeTag = "qm-readme";
  info.SetHomeURL(home.Url("/update.htm"));
  std::vector<std::pair<long long, long long>> progress;
  info.OnDownloadProgress = [&](long long received, long long total) { progress.push_back({received, total}); };
  const std::string target = (folder / "setup.exe").string();
  dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes};
  dialogs.files = {target};
  EXPECT_TRUE(info.ExecuteUpdate());
  EXPECT_EQ(dialogs.messages,
            (std::vector<std::string>{
                "Current version is 3.0.1.\nVersion 3.0.2 is available.\nWould you like to view the ReadMe file?",
                "Current version is 3.0.1.\nVersion 3.0.2 is available.\nDownload the update?",
                "Do you want to install the update now?\nThis will close Tarnwell Quillmark 3.01."}));
  ASSERT_EQ(dialogs.textWindows.size(), 1u);
  EXPECT_EQ(dialogs.textWindows[0], (std::pair<std::string, std::string>{"Read Me", "Read this first.\r\n"}));
  EXPECT_EQ(dialogs.fileDialogs[0].proposedName, "setup.exe");
  EXPECT_TRUE(dialogs.fileDialogs[0].extensionFromFilter);
  EXPECT_EQ(Read(target), "release bytes");
  EXPECT_EQ(Files(), (std::vector<std::string>{"setup.exe"})) << "no partial file stays";
  EXPECT_EQ(shell.opened, (std::vector<std::string>{target + " in "})) << "opened, never executed";
  EXPECT_EQ(exits, 1) << "the program is asked to close as a person would close it";
  const auto& window = dialogs.progressWindows.back();
  EXPECT_EQ(window.options.caption, "Download Progress");
  EXPECT_EQ(window.options.text, "Downloading Update");
  EXPECT_EQ(window.texts.back(), "13 of 13 bytes received.");
  EXPECT_EQ(window.positions.back(), 100);
  EXPECT_EQ(progress.back(), (std::pair<long long, long long>{13, 13}));
}

TEST_F(UpdateFlow, APublishedChecksumMustMatchTheDownload) {
  ScriptedServer files({Reply("release bytes"), Reply("tampered bytes")});
  ScriptedServer home(
      {Reply(InfoPage("3.1", files.Url("/setup.exe"),
                      "<META HTTP-EQUIV=\"qm-sha256\" CONTENT=\"" + std::string(kReleaseSha256) + "\">\r\n"))});
  info.SetHomeURL(home.Url());
  EXPECT_TRUE(info.DownloadUpdate(folder.string() + "/"));
  EXPECT_EQ(info.DownloadedFile(), (folder / "setup.exe").string()) << "a folder gets the download's own name";
  EXPECT_EQ(Read(folder / "setup.exe"), "release bytes");

  info.SetOptions({uioDisplayReadMe});
  dialogs.answers = {MessageAnswer::Yes};
  dialogs.files = {(folder / "second.exe").string()};
  EXPECT_FALSE(info.ExecuteUpdate());
  EXPECT_EQ(dialogs.messages.back(),
            "Error occurred while downloading update.\nError: \"The download does not match its published checksum.\"");
  EXPECT_EQ(Files(), (std::vector<std::string>{"setup.exe"})) << "the mismatching download is deleted";
}

TEST_F(UpdateFlow, AFailedOrCancelledDownloadLeavesNothing) {
  ScriptedServer files({"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly part",
                        "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nfirst{{pause 5000}}rest",
                        "HTTP/1.0 404 Not Found\r\n\r\n"});
  ScriptedServer home({Reply(InfoPage("4.0", files.Url("/setup.exe")))});
  info.SetHomeURL(home.Url());
  const std::string target = (folder / "setup.exe").string();
  EXPECT_FALSE(info.DownloadUpdate(target));
  EXPECT_EQ(info.LastError, "The download ended after 9 of 100 bytes");
  EXPECT_TRUE(Files().empty());

  // Cancel pressed once the first bytes are in.
  info.OnDownloadProgress = [this](long long, long long) { dialogs.progressWindows.back().options.cancel(); };
  EXPECT_FALSE(info.DownloadUpdate(target));
  EXPECT_EQ(info.LastError, "Connection aborted on request");
  EXPECT_EQ(dialogs.progressWindows.back().closed, std::optional<bool>(false)) << "closed as cancelled";
  EXPECT_TRUE(Files().empty());
  info.OnDownloadProgress = nullptr;

  std::ofstream(target) << "an older download";
  EXPECT_FALSE(info.DownloadUpdate(target));
  EXPECT_EQ(info.LastError, "Not Found");
  EXPECT_EQ(Read(target), "an older download") << "a failed download never replaces a file";
}

TEST_F(UpdateFlow, MissingSettingsBadPagesAndRedirections) {
  EXPECT_FALSE(info.GetVersionInfo());
  EXPECT_EQ(dialogs.messages.back(), "Can not retrieve version information\nbecause no home url was provided.");
  info.SetHomeURL("ftp://example.org/update.htm");
  EXPECT_EQ(info.HomeURL(), "") << "only web addresses are taken";
  info.SetHomeURL("https://example.org/update.htm");
  EXPECT_EQ(info.HomeURL(), "https://example.org/update.htm");
  net::TUpdateInfoTags tags = info.InfoTags;
  info.InfoTags = {};
  EXPECT_FALSE(info.GetVersionInfo());
  EXPECT_EQ(dialogs.messages.back(), "Can not retrieve version information\nbecause no tag information was provided.");
  info.InfoTags = tags;

  {
    ScriptedServer server({"HTTP/1.0 500 Server Error\r\n\r\n", "FLOOD"});
    info.SetHomeURL(server.Url());
    EXPECT_FALSE(info.ExecuteUpdate());
    EXPECT_EQ(dialogs.messages[dialogs.messages.size() - 2], "500") << "the server's status is shown";
    EXPECT_EQ(dialogs.messages.back(),
              "Could not retrieve version information from the Internet.\nError: \"Server Error.\"");
    EXPECT_FALSE(info.GetVersionInfo());
    EXPECT_EQ(info.LastError, "The page at 127.0.0.1 is larger than 1 MB");
    EXPECT_EQ(dialogs.messages.back(), info.LastError) << "a failed transfer says why, not a status";
  }
  {
    ScriptedServer second({Reply(InfoPage("3.0.9", "http://127.0.0.1/setup.exe"))});
    ScriptedServer first({Reply("<META HTTP-EQUIV=\"qm-moved\" CONTENT=\"" + second.Url("/info.htm") + "\">\r\n")});
    info.InfoTags.RedirectTag = "qm-moved";
    info.SetHomeURL(first.Url());
    EXPECT_TRUE(info.GetVersionInfo());
    EXPECT_EQ(info.ProductVersion, "3.0.9");

    // A page that sends the checker back to itself is read a few times, not for ever.
    ScriptedServer selfish(
        std::vector<std::string>(9, Reply("<META HTTP-EQUIV=\"qm-moved\" CONTENT=\"http://127.0.0.1:{{port}}/\">")));
    info.SetHomeURL(selfish.Url());
    EXPECT_FALSE(info.GetVersionInfo());
    EXPECT_EQ(info.LastError, "Too many redirections");
    EXPECT_EQ(selfish.Requests().size(), 6u);
  }
}

TEST_F(UpdateFlow, TheInformationComesOverHttpsAndTheReadMeFileOpensFromAFolderOfItsOwn) {
  TestCertificates certificates(folder / "tls");
  const auto identity = certificates.Issue("server", {"127.0.0.1"});
  ScriptedServer secure({Reply(InfoPage("3.0.2", "https://127.0.0.1/setup.exe",
                                        "<META HTTP-EQUIV=\"qm-readme-file\" CONTENT=\"/notes/..\">\r\n")),
                         Reply("<h1>Notes</h1>")},
                        &identity);
  info.CAFile = certificates.CAFile();
  info.InfoTags.ReadMeExtTag = "qm-readme-file";
  info.SetHomeURL(secure.Url("/update.htm"));
  ASSERT_TRUE(info.GetVersionInfo()) << info.LastError;
  info.ProductReadMeExt = secure.Url("/notes/..");
  EXPECT_TRUE(info.ShowReadMe(false));
  ASSERT_EQ(shell.opened.size(), 1u);
  const fs::path opened = shell.opened[0].substr(0, shell.opened[0].size() - 4);
  EXPECT_EQ(opened.filename(), "readme.htm") << "a name that is no file name is replaced";
  EXPECT_EQ(opened.parent_path().parent_path(), folder);
  EXPECT_EQ(Read(opened), "<h1>Notes</h1>");
}
