#include "framework/Files.h"

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace fw {

namespace fs = std::filesystem;

BinaryStream::~BinaryStream() {
  if (!closed_) Close();
}

bool BinaryStream::ReadBytes(uint8_t* out, size_t n) {
  size_t done = 0;
  while (fd_ >= 0 && done < n) {
    const ssize_t got = ::read(fd_, out + done, n - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  pos_ += static_cast<int64_t>(done);
  if (done < n) {
    readError_ = true;
    return false;
  }
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

bool BinaryStream::Close() {
  if (closed_) return true;
  closed_ = true;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!writing_) return true;

  // stat follows a symbolic link: the file it names is the one checked here, and the
  // one QSaveFile replaces, leaving the link as it is.
  struct stat old;
  const bool exists = ::stat(target_.c_str(), &old) == 0;
  // A name that leads to no file, such as a link to itself or two links naming each
  // other, has nothing to update: QSaveFile would put a plain file in the link's place.
  if (!exists && errno != ENOENT) return false;
  // Something else in the file's place (a FIFO, a device) is not ours to replace, and a
  // file without its owner's write permission was made read-only on purpose.
  if (exists && (!S_ISREG(old.st_mode) || !(old.st_mode & S_IWUSR))) return false;

  QSaveFile file(QFile::decodeName(target_.c_str()));
  if (!file.open(QIODevice::WriteOnly)) return false;
  // QSaveFile copies the mode as Qt's permissions see it, which can differ from the
  // file's own bits; set them exactly on the new file before it takes the old one's place.
  if (exists && ::fchmod(file.handle(), old.st_mode & 07777) != 0) {
    file.cancelWriting();
    return false;
  }
  // The bytes are flushed here, not left to commit(), which would put a file cut short
  // by a failed last write (a file-size limit, a full disk) in the old one's place.
  const auto size = static_cast<qint64>(data_.size());
  if (file.write(reinterpret_cast<const char*>(data_.data()), size) != size || !file.flush()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool FolderItem::Exists() const {
  std::error_code ec;
  return fs::exists(path_, ec);
}

std::unique_ptr<BinaryStream> FolderItem::OpenAsBinaryFile(bool readWrite) const {
  if (readWrite) return nullptr;  // only reading is offered
  // Only a plain file is read: opening a FIFO would wait for a writer, a device may
  // never end. The check is repeated on the open file in case the name changed hands.
  struct stat st;
  if (::stat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<BinaryStream> s(new BinaryStream());
  s->fd_ = fd;
  s->length_ = st.st_size;
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
