// Where the main window opens and what its close leaves in "TSL Prefs".

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "tests/support/AppTest.h"

namespace {

using namespace std::string_literals;

// The offscreen screen is 800 x 800; the content area is 524 x 384.
constexpr int32_t kCentredLeft = 138;
constexpr int32_t kCentredTop = 208;

class PlacementTest : public AppTestNoStart {
 protected:
  CalMain& W() { return CalMain::Instance(); }
  void CloseMainWindow() {
    W().CloseBox();
    fw::test::Pump();
  }
};

}  // namespace

TEST_F(PlacementTest, FirstRunCentresAndCloseWritesSevenBytes) {
  StartApp();
  EXPECT_EQ(W().Left(), kCentredLeft);
  EXPECT_EQ(W().Top(), kCentredTop);
  EXPECT_TRUE(AppGlobal::saveCheckBox1);
  W().SetLeft(300);
  W().SetTop(-20);
  CloseMainWindow();
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_FALSE(CalMain::Exists());
  EXPECT_EQ(ReadPrefs(), "\x00\x02\xFF\xEC\x01\x2C\x01"s);
}

TEST_F(PlacementTest, StoredPositionIsAppliedWhateverItsFlag) {
  WritePrefs("\x00\x02\x00\x64\x00\x32\x00"s);
  StartApp();
  EXPECT_EQ(W().Top(), 100);
  EXPECT_EQ(W().Left(), 50);
  EXPECT_FALSE(AppGlobal::saveCheckBox1);
  // With the option off the position from the start of the run is written back.
  W().SetLeft(400);
  W().SetTop(300);
  CloseMainWindow();
  EXPECT_EQ(ReadPrefs(), "\x00\x02\x00\x64\x00\x32\x00"s);
}

TEST_F(PlacementTest, OtherVersionsShortFilesFifosAndFoldersCountAsNoFile) {
  // Opening a FIFO for reading would wait for a writer and hang the start.
  const char* kinds[] = {"version 1", "version 3", "6 bytes", "empty", "FIFO", "folder"};
  const std::string files[] = {
      "\x00\x01\x00\x64\x00\x32\x00"s, "\x00\x03\x00\x64\x00\x32\x00"s,
      "\x00\x02\x00\x64\x00\x32"s, ""};
  for (size_t i = 0; i < std::size(kinds); ++i) {
    const std::string kind = kinds[i];
    SCOPED_TRACE(kind);
    std::filesystem::remove_all(PrefsPath());
    if (kind == "FIFO") {
      ASSERT_EQ(::mkfifo(PrefsPath().c_str(), 0600), 0);
    } else if (kind == "folder") {
      std::filesystem::create_directory(PrefsPath());
    } else {
      WritePrefs(files[i]);
    }
    AppGlobal::ResetState();
    StartApp();
    EXPECT_EQ(W().Left(), kCentredLeft);
    EXPECT_EQ(W().Top(), kCentredTop);
    EXPECT_TRUE(AppGlobal::saveCheckBox1);
    CloseMainWindow();
    EXPECT_TRUE(fw::test::QuitRequested());
    // What stands in the file's place is not ours to replace; a file is rewritten.
    EXPECT_EQ(std::filesystem::is_fifo(PrefsPath()), kind == "FIFO");
    EXPECT_EQ(std::filesystem::is_directory(PrefsPath()), kind == "folder");
    if (i < std::size(files)) {
      const std::string written = ReadPrefs();
      EXPECT_EQ(written.size(), 7u);
      EXPECT_EQ(written.substr(0, 2) + written.substr(6), "\x00\x02\x01"s);
    }
    fw::test::ResetApplication();
  }
}

TEST_F(PlacementTest, HugeFileIsReadByItsFirstSevenBytesAndReplaced) {
  WritePrefs("\x00\x02\x00\x64\x00\x32\x05"s);
  std::filesystem::resize_file(PrefsPath(), uintmax_t{2} << 30);  // 2 GB, sparse
  StartApp();
  EXPECT_EQ(W().Top(), 100);
  EXPECT_EQ(W().Left(), 50);
  EXPECT_TRUE(AppGlobal::saveCheckBox1);  // any byte but 0 reads as on
  W().SetLeft(60);
  CloseMainWindow();
  EXPECT_EQ(ReadPrefs(), "\x00\x02\x00\x64\x00\x3C\x01"s);
}

TEST_F(PlacementTest, UnwritablePreferencesFolderStillQuits) {
  const std::string config = std::getenv("XDG_CONFIG_HOME");
  // A folder that cannot exist: its parent is a plain file.
  const std::string blocker = config + "/blocker";
  std::ofstream(blocker) << "x";
  ::setenv("XDG_CONFIG_HOME", (blocker + "/sub").c_str(), 1);
  StartApp();
  EXPECT_EQ(W().Left(), kCentredLeft);
  CloseMainWindow();
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_FALSE(CalMain::Exists());
}

TEST_F(PlacementTest, ClosingLeavesEveryOtherFileBesideThePreferencesAsItWas) {
  namespace fs = std::filesystem;
  // A person's own files, small as ours and named as a person or another program
  // names them; then the same beside the file that a symbolic link "TSL Prefs" names.
  const fs::path config = PrefsPath().parent_path();
  const fs::path dotfiles = fs::path(fw::test::ScratchDir()) / "dotfiles";
  struct Case {
    const char* what;
    fs::path folder;
    std::vector<std::pair<std::string, std::string>> files;
  };
  const Case cases[] = {
      {"plain file",
       config,
       {{"TSL Prefs.oldPos", "\x00\x02\x00\x64\x00\x32\x01"s},
        {"TSL Prefs.keepMe", ""},
        {"TSL Prefs.iPhone", "hi"},
        {"TSL Prefs.a1B2c3", "\x00\x02\x00"s}}},
      {"symbolic link",
       dotfiles,
       {{"calendar.bin.myNote", "note"}, {"calendar.bin.oldPos", "\x00\x02\x00\x64\x00\x32\x00"s}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::create_directories(c.folder);
    if (c.folder == dotfiles) {
      WriteFile(dotfiles / "calendar.bin", "\x00\x02\x00\x0A\x00\x14\x01"s);
      fs::remove(PrefsPath());
      fs::create_symlink(dotfiles / "calendar.bin", PrefsPath());
    }
    for (const auto& [name, bytes] : c.files) WriteFile(c.folder / name, bytes);
    AppGlobal::ResetState();
    StartApp();
    W().SetLeft(70);
    W().SetTop(80);
    CloseMainWindow();
    ASSERT_TRUE(fw::test::QuitRequested());
    EXPECT_EQ(ReadPrefs(), "\x00\x02\x00\x50\x00\x46\x01"s);
    for (const auto& [name, bytes] : c.files) {
      EXPECT_TRUE(fs::is_regular_file(c.folder / name)) << name;
      EXPECT_EQ(ReadFile(c.folder / name), bytes) << name;
    }
    fw::test::ResetApplication();
  }
  EXPECT_TRUE(fs::is_symlink(PrefsPath()));
  fs::remove_all(dotfiles);
}
