// Binary files in the preferences folder: big-endian values, and writes that never
// leave a short file behind.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/Files.h"

namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tessaral-files-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  size_t FilesIn(const fs::path& p) { return static_cast<size_t>(std::distance(fs::directory_iterator(p), {})); }

  fs::path dir;
};

}  // namespace

TEST_F(FilesTest, WritesAndReadsBigEndianValues) {
  fw::FolderItem file = fw::FolderItem(dir).Child("TSL Prefs");
  auto out = file.CreateBinaryFile("MyPref");
  ASSERT_NE(out, nullptr);
  out->WriteShort(2);
  out->WriteShort(-100);
  out->WriteShort(300);
  out->WriteBoolean(true);
  ASSERT_TRUE(out->Close());
  EXPECT_EQ(Contents(file.Path()), std::string("\x00\x02\xFF\x9C\x01\x2C\x01", 7));

  auto in = file.OpenAsBinaryFile(false);
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->Length(), 7);
  EXPECT_EQ(in->ReadShort(), 2);
  EXPECT_EQ(in->ReadShort(), -100);
  EXPECT_EQ(in->ReadShort(), 300);
  EXPECT_TRUE(in->ReadBoolean());
  EXPECT_FALSE(in->ReadError());
  EXPECT_EQ(in->ReadShort(), 0);
  EXPECT_TRUE(in->ReadError());
}

TEST_F(FilesTest, OldFileStaysWholeUntilTheNewOneIsComplete) {
  fw::FolderItem file = fw::FolderItem(dir).Child("TSL Prefs");
  std::ofstream(file.Path(), std::ios::binary) << std::string("\x00\x02\x00\x64\x00\x32\x01", 7);
  {
    auto out = file.CreateBinaryFile("MyPref");
    ASSERT_NE(out, nullptr);
    out->WriteShort(2);
    // A run killed here leaves the old file as it was, and nothing else.
    EXPECT_EQ(Contents(file.Path()).size(), 7u);
    EXPECT_EQ(FilesIn(dir), 1u);
    out->WriteShort(5);
    out->WriteShort(6);
    out->WriteBoolean(false);
    ASSERT_TRUE(out->Close());
  }
  EXPECT_EQ(Contents(file.Path()), std::string("\x00\x02\x00\x05\x00\x06\x00", 7));
  EXPECT_EQ(FilesIn(dir), 1u);  // no temporary file left over
}

TEST_F(FilesTest, FailedWriteKeepsTheOldFileAndReportsIt) {
  fw::FolderItem file = fw::FolderItem(dir).Child("TSL Prefs");
  std::ofstream(file.Path(), std::ios::binary) << "old";
  auto out = file.CreateBinaryFile("MyPref");
  ASSERT_NE(out, nullptr);
  out->WriteShort(2);
  fs::remove_all(dir);  // the folder vanishes before the write completes
  EXPECT_FALSE(out->Close());
}

TEST_F(FilesTest, MissingFolderIsCreatedAndAFolderInTheWayRefused) {
  fw::FolderItem nested = fw::FolderItem(dir / "a" / "b").Child("TSL Prefs");
  auto out = nested.CreateBinaryFile("MyPref");
  ASSERT_NE(out, nullptr);
  out->WriteBoolean(true);
  EXPECT_TRUE(out->Close());
  EXPECT_TRUE(nested.Exists());

  fs::create_directory(dir / "TSL Prefs");
  EXPECT_EQ(fw::FolderItem(dir).Child("TSL Prefs").CreateBinaryFile("MyPref"), nullptr);
  EXPECT_EQ(fw::FolderItem(dir).Child("TSL Prefs").OpenAsBinaryFile(false), nullptr);
  EXPECT_EQ(fw::FolderItem(dir).Child("absent").OpenAsBinaryFile(false), nullptr);
}

TEST_F(FilesTest, PreferencesFolderFollowsXdgConfigHome) {
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string keep = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  EXPECT_EQ(fw::SpecialFolder::Preferences()->Path(), dir);
  ::setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not absolute: ignored
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(fw::SpecialFolder::Preferences()->Path(), fs::path("/home/someone/.config"));
  if (saved) ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
  else ::unsetenv("XDG_CONFIG_HOME");
}
