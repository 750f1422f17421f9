// The INI-file registry keeps keys with backslashes and values with any bytes across restarts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/IniFileRegistry.h"

TEST(IniFileRegistry, ValuesSurviveARestart) {
  const auto dir = std::filesystem::temp_directory_path() / ("quillmark-reg-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const auto file = dir / "sub" / "registry.ini";
  const std::string key = "Software\\Tarnwell\\Editor\\Window";
  {
    platform::IniFileRegistry registry(file);
    EXPECT_FALSE(registry.KeyExists(key));
    registry.WriteInteger(key, "Left", -20);
    registry.WriteString(key, "Odd", "a=b\\c\nd\r");
    registry.CreateKey("Empty\\Key");
  }
  platform::IniFileRegistry again(file);
  EXPECT_TRUE(again.KeyExists(key));
  EXPECT_TRUE(again.KeyExists("Empty\\Key"));
  EXPECT_EQ(again.ReadInteger(key, "Left"), -20);
  EXPECT_EQ(again.ReadString(key, "Odd"), "a=b\\c\nd\r");
  EXPECT_FALSE(again.ReadInteger(key, "Odd")) << "text that is not a number reads as no integer";
  EXPECT_FALSE(again.ReadString(key, "Missing"));
  std::filesystem::remove_all(dir);
}
