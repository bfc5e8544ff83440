// Binary files in the preferences folder: writes that never leave a short file
// behind nor change more than the file's bytes.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "framework/Files.h"
#include "framework/testing/Driver.h"

namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = fw::test::ScratchDir() + "/files-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir = tmpl;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  size_t FilesIn(const fs::path& p) { return static_cast<size_t>(std::distance(fs::directory_iterator(p), {})); }
  static mode_t Mode(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
  }
  // Writes the 7 bytes of a preferences file; whether the write reached the file.
  static bool WritePrefs(const fw::FolderItem& file, int16_t left) {
    auto out = file.CreateBinaryFile("MyPref");
    if (!out) return false;
    out->WriteShort(2);
    out->WriteShort(10);
    out->WriteShort(left);
    out->WriteBoolean(true);
    return out->Close();
  }

  fs::path dir;
};

}  // namespace

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

TEST_F(FilesTest, MissingFolderIsCreated) {
  const fw::FolderItem nested = fw::FolderItem(dir / "a" / "b").Child("TSL Prefs");
  EXPECT_TRUE(WritePrefs(nested, 1));
  EXPECT_TRUE(nested.Exists());
}

TEST_F(FilesTest, WhatLeadsToNoPlainFileIsNeitherReadNorReplaced) {
  struct Row {
    const char* what;
    // "TSL Prefs" and other links beside it, each with what it points to.
    std::vector<std::pair<std::string, std::string>> links;
  };
  const Row rows[] = {
      // A device never ends.
      {"a link to a device", {{"TSL Prefs", "/dev/zero"}}},
      // A loop names no file at all: there is nothing to update.
      {"a link to itself", {{"TSL Prefs", "TSL Prefs"}}},
      {"two links naming each other", {{"TSL Prefs", "TSL Prefs.b"}, {"TSL Prefs.b", "TSL Prefs"}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    for (const auto& [name, to] : r.links) fs::create_symlink(to, dir / name);
    const fw::FolderItem item = fw::FolderItem(dir).Child("TSL Prefs");
    EXPECT_EQ(item.OpenAsBinaryFile(false), nullptr);
    EXPECT_FALSE(WritePrefs(item, 1));
    for (const auto& [name, to] : r.links) {
      ASSERT_TRUE(fs::is_symlink(dir / name)) << name << " was replaced";
      EXPECT_EQ(fs::read_symlink(dir / name), to) << name;
    }
    EXPECT_EQ(FilesIn(dir), r.links.size());
    for (const auto& [name, to] : r.links) fs::remove(dir / name);
  }
}

TEST_F(FilesTest, WritesThroughASymbolicLink) {
  // Preferences kept in a repository of dotfiles, linked into the config folder.
  fs::create_directory(dir / "dotfiles");
  const fs::path target = dir / "dotfiles" / "prefs";
  std::ofstream(target, std::ios::binary) << "old";
  fs::permissions(target, fs::perms(0600));
  fs::create_directory(dir / "config");
  fs::create_symlink("../dotfiles/prefs", dir / "config" / "TSL Prefs");

  ASSERT_TRUE(WritePrefs(fw::FolderItem(dir / "config").Child("TSL Prefs"), 3));
  ASSERT_TRUE(fs::is_symlink(dir / "config" / "TSL Prefs"));
  EXPECT_EQ(fs::read_symlink(dir / "config" / "TSL Prefs"), "../dotfiles/prefs");
  EXPECT_EQ(Contents(target), std::string("\x00\x02\x00\x0A\x00\x03\x01", 7));
  EXPECT_EQ(Mode(target), 0600u);
  EXPECT_EQ(FilesIn(dir / "config"), 1u);
  EXPECT_EQ(FilesIn(dir / "dotfiles"), 1u);
}

TEST_F(FilesTest, KeepsTheFilesModeAndLeavesAReadOnlyFileAlone) {
  const fw::FolderItem file = fw::FolderItem(dir).Child("TSL Prefs");
  // A new file gets the usual mode, from the umask.
  const mode_t mask = ::umask(027);
  const bool written = WritePrefs(file, 1);
  ::umask(mask);
  ASSERT_TRUE(written);
  EXPECT_EQ(Mode(file.Path()), 0640u);

  for (const mode_t mode : {0600u, 0664u}) {
    fs::permissions(file.Path(), fs::perms(mode));
    ASSERT_TRUE(WritePrefs(file, 2));
    EXPECT_EQ(Mode(file.Path()), mode);
  }

  // Read-only on purpose, e.g. to pin the window's place: not replaced, even for a
  // user who could, and the failure is reported.
  const std::string pinned = Contents(file.Path());
  fs::permissions(file.Path(), fs::perms(0444));
  EXPECT_FALSE(WritePrefs(file, 3));
  EXPECT_EQ(Mode(file.Path()), 0444u);
  EXPECT_EQ(Contents(file.Path()), pinned);
  EXPECT_EQ(FilesIn(dir), 1u);
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
