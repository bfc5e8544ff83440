// Where the main window opens, and the preferences file that remembers it.
//
// "TSL Prefs", 7 bytes, big-endian: version (16-bit, 2), the window's top and left
// (16-bit signed), and the "Save last screen location" flag (1 byte).

#include <optional>

#include "framework/Basic.h"
#include "framework/Files.h"
#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"

namespace {

constexpr const char* kPrefsFileName = "TSL Prefs";
constexpr const char* kPrefsFileType = "MyPref";
constexpr int64_t kPrefsFileSize = 7;

std::optional<fw::FolderItem> PrefsFile() {
  std::optional<fw::FolderItem> folder = fw::SpecialFolder::Preferences();
  if (!folder) return std::nullopt;
  return folder->Child(kPrefsFileName);
}

}  // namespace

void CalMain::Event_Open() {
  bool placed = false;
  if (std::optional<fw::FolderItem> file = PrefsFile(); file && file->Exists()) {
    // A file that cannot be read, or is too short to hold a position, counts as none.
    if (auto stream = file->OpenAsBinaryFile(false); stream && stream->Length() >= kPrefsFileSize) {
      if (stream->ReadShort() == FilePrefVersion) {
        const int16_t top = stream->ReadShort();
        const int16_t left = stream->ReadShort();
        AppGlobal::saveCheckBox1 = stream->ReadBoolean();
        // A position left on a monitor that is gone since would open the window where
        // nobody can reach it; it opens centred instead, as without a stored position.
        if (TopStripOnScreenAt(left, top)) {
          SetTop(top);
          SetLeft(left);
          placed = true;
        }
      }
      stream->Close();
    }
  }
  if (!placed) CentreOnMainScreen();
  OriginalTop = static_cast<int16_t>(Top());
  OriginalLeft = static_cast<int16_t>(Left());

  MonthTXT->SetText(fw::Str(AppGlobal::CurrentDate.Month));
  YearTXT->SetText(fw::Str(AppGlobal::CurrentDate.Year));
}

void CalMain::Event_Close() {
  if (std::optional<fw::FolderItem> file = PrefsFile()) {
    if (auto stream = file->CreateBinaryFile(kPrefsFileType)) {
      stream->WriteShort(FilePrefVersion);
      // Where the platform cannot tell the window where it stands, the place it
      // opened at is the best there is: its current Left and Top are made up.
      if (AppGlobal::saveCheckBox1 && fw::WindowPositionsKnown()) {
        stream->WriteShort(static_cast<int16_t>(Top()));
        stream->WriteShort(static_cast<int16_t>(Left()));
      } else {
        stream->WriteShort(OriginalTop);
        stream->WriteShort(OriginalLeft);
      }
      stream->WriteBoolean(AppGlobal::saveCheckBox1);
      stream->Close();
    }
  }
  fw::Quit(0);
}
