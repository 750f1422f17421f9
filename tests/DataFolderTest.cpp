// Finding and seeding the data folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "TestFiles.h"
#include "app/DataFolder.h"
#include "platform/MemoryRegistry.h"

namespace fs = std::filesystem;

namespace {

using testfiles::Read;
using testfiles::Write;

class DataFolderTest : public ::testing::Test {
 protected:
  DataFolderTest() : root(fs::temp_directory_path() / ("quillmark-data-" + std::to_string(::getpid()))) {
    fs::remove_all(root);
    Write(root / "shipped" / "default.htm", "shipped page");
    Write(root / "shipped" / "Templates" / "Blank.htm", "blank");
    fs::create_directories(root / "shipped" / "Templates" / "User");
  }
  ~DataFolderTest() override { fs::remove_all(root); }

  fs::path root;
  platform::MemoryRegistry registry;
};

}  // namespace

TEST_F(DataFolderTest, FirstStartSeedsThePerUserFolderAndStoresItAsPath) {
  app::DataFolderEnvironment env{"", (root / "xdg").string(), (root / "home").string()};
  const std::string dir = app::ResolveInstallDir(registry, env, root / "shipped");
  EXPECT_EQ(dir, (root / "xdg" / "quillmark").string());
  EXPECT_EQ(registry.ReadString(app::kAppPathsKey, "Path"), dir);
  EXPECT_EQ(Read(fs::path(dir) / "default.htm"), "shipped page");
  EXPECT_TRUE(fs::is_directory(fs::path(dir) / "Templates" / "User"));
}

TEST_F(DataFolderTest, WithoutXdgDataHomeTheFolderIsUnderHome) {
  app::DataFolderEnvironment env{"", "", (root / "home").string()};
  EXPECT_EQ(app::ResolveInstallDir(registry, env, root / "shipped"),
            (root / "home" / ".local" / "share" / "quillmark").string());
}

TEST_F(DataFolderTest, AStoredPathIsUsedAsItIs) {
  registry.WriteString(app::kAppPathsKey, "Path", "/somewhere/else");
  app::DataFolderEnvironment env{"", (root / "xdg").string(), ""};
  EXPECT_EQ(app::ResolveInstallDir(registry, env, root / "shipped"), "/somewhere/else");
  EXPECT_FALSE(fs::exists(root / "xdg"));
}

TEST_F(DataFolderTest, QuillmarkHomeIsSeededWithoutOverwritingTheUsersFiles) {
  Write(root / "portable" / "default.htm", "my own page");
  app::DataFolderEnvironment env{(root / "portable/").string(), "", ""};
  EXPECT_EQ(app::ResolveInstallDir(registry, env, root / "shipped"), (root / "portable").string());
  EXPECT_EQ(Read(root / "portable" / "default.htm"), "my own page");
  EXPECT_EQ(Read(root / "portable" / "Templates" / "Blank.htm"), "blank");
  EXPECT_FALSE(registry.ReadString(app::kAppPathsKey, "Path")) << "a portable folder is not stored";
}
