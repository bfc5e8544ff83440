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
  // As the close box or the window manager asks.
  void CloseMainWindow() { fw::test::CloseFromDesktop(W()); }
};

}  // namespace

TEST_F(PlacementTest, TheStoredPositionPlacesTheWindowAndCloseWritesSevenBytes) {
  struct Row {
    const char* what;
    char kind;  // 'n' no file, 'b' `file`, 'h' `file` grown to 2 GB, 'p' a FIFO, 'd' a folder, 'u' no folder,
                // 'l' a link to itself, 'c' a link to a link back to it
    std::string file;  // the preferences file's bytes
    int32_t left, top;
    bool save;  // the option to save the position
    int32_t movedLeft, movedTop;
    std::string written;  // by the close
  };
  const std::string moved = "\x00\x02\xFF\xEC\x01\x2C\x01"s;  // top -20, left 300, saved
  const Row rows[] = {
      {"first run", 'n', "", kCentredLeft, kCentredTop, true, 300, -20, moved},
      // With the option off the position from the start of the run is written back.
      {"flag 0", 'b', "\x00\x02\x00\x64\x00\x32\x00"s, 50, 100, false, 400, 300, "\x00\x02\x00\x64\x00\x32\x00"s},
      // Read by its first seven bytes; any flag but 0 reads as on.
      {"2 GB, flag 5", 'h', "\x00\x02\x00\x64\x00\x32\x05"s, 50, 100, true, 60, 100, "\x00\x02\x00\x64\x00\x3C\x01"s},
      // Other versions, short files, FIFOs and folders count as no file; what stands in
      // the file's place is not ours to replace. Opening a FIFO would wait for a writer.
      {"version 1", 'b', "\x00\x01\x00\x64\x00\x32\x00"s, kCentredLeft, kCentredTop, true, 300, -20, moved},
      {"version 3", 'b', "\x00\x03\x00\x64\x00\x32\x00"s, kCentredLeft, kCentredTop, true, 300, -20, moved},
      {"6 bytes", 'b', "\x00\x02\x00\x64\x00\x32"s, kCentredLeft, kCentredTop, true, 300, -20, moved},
      {"empty", 'b', "", kCentredLeft, kCentredTop, true, 300, -20, moved},
      {"FIFO", 'p', "", kCentredLeft, kCentredTop, true, 300, -20, ""},
      {"folder", 'd', "", kCentredLeft, kCentredTop, true, 300, -20, ""},
      // Links that lead round in a loop name no file: they stay as they are.
      {"link to itself", 'l', "", kCentredLeft, kCentredTop, true, 300, -20, ""},
      {"two links naming each other", 'c', "", kCentredLeft, kCentredTop, true, 300, -20, ""},
      // A folder that cannot exist, its parent a plain file: the close still quits.
      {"unwritable folder", 'u', "", kCentredLeft, kCentredTop, true, 300, -20, ""},
  };
  const std::string config = std::getenv("XDG_CONFIG_HOME");
  const std::filesystem::path other = PrefsPath().string() + ".other";
  // Where each of the loop's links points.
  const auto loop = [&](char kind) -> std::vector<std::pair<std::filesystem::path, std::string>> {
    if (kind == 'l') return {{PrefsPath(), "TSL Prefs"}};
    if (kind == 'c') return {{PrefsPath(), "TSL Prefs.other"}, {other, "TSL Prefs"}};
    return {};
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::filesystem::remove_all(PrefsPath());
    std::filesystem::remove_all(other);
    for (const auto& [link, to] : loop(r.kind)) std::filesystem::create_symlink(to, link);
    if (r.kind == 'p') {
      ASSERT_EQ(::mkfifo(PrefsPath().c_str(), 0600), 0);
    }
    if (r.kind == 'd') std::filesystem::create_directory(PrefsPath());
    if (r.kind == 'b' || r.kind == 'h') WritePrefs(r.file);
    if (r.kind == 'h') std::filesystem::resize_file(PrefsPath(), uintmax_t{2} << 30);  // sparse
    if (r.kind == 'u') {
      std::ofstream(config + "/blocker") << "x";
      ::setenv("XDG_CONFIG_HOME", (config + "/blocker/sub").c_str(), 1);
    }
    AppGlobal::ResetState();
    StartApp();
    EXPECT_EQ(W().Left(), r.left);
    EXPECT_EQ(W().Top(), r.top);
    EXPECT_EQ(AppGlobal::saveCheckBox1, r.save);
    W().SetLeft(r.movedLeft);
    W().SetTop(r.movedTop);
    CloseMainWindow();
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_TRUE(fw::test::QuitRequested());
    EXPECT_FALSE(CalMain::Exists());
    std::error_code ec;  // a loop cannot be followed
    EXPECT_EQ(std::filesystem::is_fifo(PrefsPath(), ec), r.kind == 'p');
    EXPECT_EQ(std::filesystem::is_directory(PrefsPath(), ec), r.kind == 'd');
    for (const auto& [link, to] : loop(r.kind)) {
      EXPECT_TRUE(std::filesystem::is_symlink(link)) << link << " was replaced";
      EXPECT_EQ(std::filesystem::read_symlink(link, ec), to) << link;
    }
    if (r.written != "") {
      EXPECT_EQ(ReadPrefs(), r.written);
    }
    fw::test::ResetApplication();
  }
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
