#pragma once
// Files in the user's folders, and binary streams over them (big-endian).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class BinaryStream {
 public:
  ~BinaryStream();
  BinaryStream(const BinaryStream&) = delete;
  BinaryStream& operator=(const BinaryStream&) = delete;

  // Reading past the end gives 0 (False) and sets ReadError.
  int16_t ReadShort();
  bool ReadBoolean();
  void WriteShort(int16_t value);
  void WriteBoolean(bool value);

  int64_t Length() const { return writing_ ? static_cast<int64_t>(data_.size()) : length_; }
  int64_t Position() const { return pos_; }
  bool ReadError() const { return readError_; }

  // A stream opened for writing reaches its file only here, all at once: the bytes
  // go to a temporary file beside it, which then replaces the file, so that an
  // interrupted write never leaves a short file behind. The file's mode is kept and a
  // symbolic link is written through. A read-only file, something other than a plain
  // file in its place, or links that lead to no file (a loop) are left alone. False
  // when nothing was written. No other file is touched: one killed in the instant
  // between naming its temporary file and the rename leaves that file beside the old one.
  bool Close();

 private:
  friend class FolderItem;
  BinaryStream() = default;
  bool ReadBytes(uint8_t* out, size_t n);

  // Reading: the open file, read on demand.
  int fd_ = -1;
  int64_t length_ = 0;
  int64_t pos_ = 0;
  bool readError_ = false;
  // Writing: the bytes so far and where they go.
  std::vector<uint8_t> data_;
  bool writing_ = false;
  bool closed_ = false;
  std::filesystem::path target_;
};

class FolderItem {
 public:
  explicit FolderItem(std::filesystem::path path) : path_(std::move(path)) {}

  FolderItem Child(const std::string& name) const { return FolderItem(path_ / name); }
  bool Exists() const;
  const std::filesystem::path& Path() const { return path_; }

  // The file, for reading (readWrite must be false); bytes are read as they are asked
  // for. Null when it cannot be read or is not a plain file (a folder, a FIFO, a device).
  std::unique_ptr<BinaryStream> OpenAsBinaryFile(bool readWrite) const;
  // A new, empty file replacing any old one once the stream is closed; its folder is
  // created when missing. `fileType` names the kind of file; nothing here records it.
  std::unique_ptr<BinaryStream> CreateBinaryFile(const std::string& fileType) const;

 private:
  std::filesystem::path path_;
};

namespace SpecialFolder {
// The user's preferences folder: $XDG_CONFIG_HOME, else ~/.config; none when
// neither can be found.
std::optional<FolderItem> Preferences();
}  // namespace SpecialFolder

}  // namespace fw
