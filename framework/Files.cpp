#include "framework/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fw {

namespace fs = std::filesystem;

BinaryStream::~BinaryStream() {
  if (writing_ && !closed_) Close();
}

bool BinaryStream::ReadBytes(uint8_t* out, size_t n) {
  if (data_.size() - pos_ < n) {
    readError_ = true;
    pos_ = data_.size();
    return false;
  }
  for (size_t i = 0; i < n; ++i) out[i] = data_[pos_ + i];
  pos_ += n;
  return true;
}

int16_t BinaryStream::ReadShort() {
  uint8_t b[2];
  if (!ReadBytes(b, 2)) return 0;
  return static_cast<int16_t>(static_cast<uint16_t>((b[0] << 8) | b[1]));
}

bool BinaryStream::ReadBoolean() {
  uint8_t b;
  if (!ReadBytes(&b, 1)) return false;
  return b != 0;
}

void BinaryStream::WriteShort(int16_t value) {
  const auto u = static_cast<uint16_t>(value);
  data_.push_back(static_cast<uint8_t>(u >> 8));
  data_.push_back(static_cast<uint8_t>(u & 0xFF));
}

void BinaryStream::WriteBoolean(bool value) { data_.push_back(value ? 1 : 0); }

namespace {

bool WriteAll(int fd, const std::vector<uint8_t>& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool BinaryStream::Close() {
  if (closed_) return true;
  closed_ = true;
  if (!writing_) return true;

  std::string temp = (target_.parent_path() / (target_.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  const bool written = WriteAll(fd, data_) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temp.c_str(), target_.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // mkstemp makes the file private; give it the usual mode of a new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(target_.c_str(), 0666 & ~mask);
  return true;
}

bool FolderItem::Exists() const {
  std::error_code ec;
  return fs::exists(path_, ec);
}

std::unique_ptr<BinaryStream> FolderItem::OpenAsBinaryFile(bool readWrite) const {
  if (readWrite) return nullptr;  // only reading is offered
  std::error_code ec;
  if (!fs::is_regular_file(path_, ec)) return nullptr;
  std::ifstream in(path_, std::ios::binary);
  if (!in) return nullptr;
  std::unique_ptr<BinaryStream> s(new BinaryStream());
  s->data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return nullptr;
  return s;
}

std::unique_ptr<BinaryStream> FolderItem::CreateBinaryFile(const std::string& /*fileType*/) const {
  std::error_code ec;
  fs::create_directories(path_.parent_path(), ec);
  if (!fs::is_directory(path_.parent_path(), ec)) return nullptr;
  if (fs::is_directory(path_, ec)) return nullptr;
  std::unique_ptr<BinaryStream> s(new BinaryStream());
  s->writing_ = true;
  s->target_ = path_;
  return s;
}

namespace SpecialFolder {

std::optional<FolderItem> Preferences() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg && fs::path(xdg).is_absolute()) return FolderItem(xdg);
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    if (const passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
  }
  if (!home || !*home) return std::nullopt;
  return FolderItem(fs::path(home) / ".config");
}

}  // namespace SpecialFolder

}  // namespace fw
