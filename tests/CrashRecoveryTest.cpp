// Unsaved work survives kill -9: the program runs as a process of its own (offscreen), text is typed, the
// process is killed once its journal is written, and the next start recovers the text byte for byte.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/RecoveryJournal.h"
#include "platform/FileIO.h"

extern char** environ;
namespace fs = std::filesystem;

namespace {

class CrashRecovery : public ::testing::Test {
 protected:
  CrashRecovery() : home(fs::temp_directory_path() / ("quillmark-crash-" + std::to_string(::getpid()))) {
    fs::remove_all(home);
    fs::copy(QUILLMARK_SOURCE_DATA, home, fs::copy_options::recursive);
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
  }
  ~CrashRecovery() override { fs::remove_all(home); }

  pid_t Start(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), PROGRAM_DRIVER);
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> settings = {"QT_QPA_PLATFORM=offscreen", "QUILLMARK_HOME=" + home.string(),
                                         "QUILLMARK_CONFIG_DIR=" + (home / ".config").string(),
                                         "XDG_RUNTIME_DIR=" + (home / "runtime").string()};
    std::vector<char*> env;
    for (auto& setting : settings) env.push_back(setting.data());
    for (char** inherited = environ; *inherited; ++inherited) env.push_back(*inherited);
    env.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, PROGRAM_DRIVER, nullptr, nullptr, argv.data(), env.data()), 0);
    return pid;
  }
  // The process's end, at most 30 seconds away: a program that hangs is killed and the test fails.
  static int Wait(pid_t pid) {
    int status = 0;
    for (int i = 0; i < 600; ++i) {
      if (waitpid(pid, &status, WNOHANG) == pid) return status;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ADD_FAILURE() << "the program did not end";
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return status;
  }
  // Waits until the condition holds, at most 20 seconds.
  static bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 400; ++i) {
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  std::vector<fs::path> Journals() const {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(home / "recovery", ec))
      if (item.path().extension() == ".journal") found.push_back(item.path());
    return found;
  }

  fs::path home;
};

}  // namespace

TEST_F(CrashRecovery, TextTypedBeforeAKillIsRecoveredByteForByte) {
  const fs::path typed = home / "typed.txt", recovered = home / "recovered.txt";
  const pid_t first = Start({"--type", "<p>Unsaved \"work\" & more</p>", "--typed-to", typed.string()});
  ASSERT_TRUE(Eventually([&] {
    std::error_code ec;
    if (!fs::exists(typed, ec) || Journals().empty()) return false;
    try {
      return app::ParseJournal(platform::ReadFileBytes(Journals()[0])).text == platform::ReadFileBytes(typed);
    } catch (const std::exception&) {
      return false;  // being replaced just now
    }
  })) << "the journal never held the typed text";
  kill(first, SIGKILL);
  EXPECT_TRUE(WIFSIGNALED(Wait(first)));

  const pid_t second = Start({"--answer-yes", "--dump", recovered.string()});
  EXPECT_EQ(Wait(second), 0);
  const std::string text = platform::ReadFileBytes(typed);
  EXPECT_EQ(text.substr(0, 30), "<p>Unsaved \"work\" & more</p><!");
  EXPECT_EQ(platform::ReadFileBytes(recovered), text);
}

TEST_F(CrashRecovery, ADamagedJournalIsSetAsideAndTheProgramStarts) {
  fs::create_directories(home / "recovery");
  std::ofstream(home / "recovery" / "1-1.journal", std::ios::binary) << "Quillmark recovery journal 1\ncha";
  const pid_t program = Start({"--answer-yes", "--dump", (home / "started.txt").string()});
  EXPECT_EQ(Wait(program), 0);
  EXPECT_TRUE(fs::exists(home / "recovery" / "1-1.journal.damaged"));
  EXPECT_TRUE(fs::exists(home / "started.txt"));
}

TEST_F(CrashRecovery, AFileOpenInOneProgramIsNotLoadedByAnother) {
  const fs::path page = home / "page.htm", other = home / "other.htm";
  std::ofstream(page, std::ios::binary) << "<p>page</p>\r\n";
  std::ofstream(other, std::ios::binary) << "<p>other</p>\r\n";
  const fs::path typed = home / "typed.txt";
  const pid_t first = Start({"--type", "x", "--typed-to", typed.string(), page.string()});
  ASSERT_TRUE(Eventually([&] { return fs::exists(typed); }));

  const fs::path second = home / "second.txt";
  EXPECT_EQ(Wait(Start({"--dump", second.string(), page.string()})), 0);
  EXPECT_FALSE(fs::exists(second)) << "the second program ended before loading its copy";
  const fs::path third = home / "third.txt";
  EXPECT_EQ(Wait(Start({"--dump", third.string(), other.string()})), 0);
  EXPECT_EQ(platform::ReadFileBytes(third), "<p>other</p>\r\n") << "another file opens as always";

  kill(first, SIGKILL);
  Wait(first);
}
