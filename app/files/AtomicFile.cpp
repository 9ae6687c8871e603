#include "files/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "files/FileError.h"

namespace tallisk {
namespace {

namespace fs = std::filesystem;

constexpr char kSource[] = "WriteFileAtomically";

std::error_code Errno(int value) {
  return {value, std::generic_category()};
}

// Closes a descriptor once, whatever path leaves the scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // The result of close itself, which can carry a late write failure.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// ".name.k3X9aQ.tmp": hidden, beside the target so that the rename stays in one file
// system, and recognisable as ours if a crash ever leaves one.
fs::path TemporaryName(const fs::path& target) {
  static constexpr char kLetters[] =
      "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  std::string name = "." + target.filename().string() + ".";
  for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
  return target.parent_path() / (name + ".tmp");
}

}  // namespace

void WriteFileAtomically(const fs::path& target, std::string_view content, bool createFolder) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  if (createFolder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw FileError(target, error, kSource);
  }

  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

  fs::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryName(target);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw FileError(target, Errno(errno), kSource);

  Descriptor file(fd);
  auto fail = [&](int error) {
    if (file.get() >= 0) file.Close();
    ::unlink(temporary.c_str());
    throw FileError(target, Errno(error), kSource);
  };
  if (!WriteAll(file.get(), content)) fail(errno);
  // A replaced file keeps who may read it; failing to copy the mode spoils nothing.
  if (replacing) (void)::fchmod(file.get(), old.st_mode & 07777);
  if (::fsync(file.get()) != 0) fail(errno);
  if (file.Close() != 0) fail(errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) fail(errno);

  // The new name is on the disk once the folder is; the file is in place either way.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
}

std::optional<std::string> ReadWholeFile(const fs::path& path, std::error_code* reason) {
  auto failed = [&](int error) -> std::optional<std::string> {
    if (reason != nullptr) *reason = Errno(error);
    return std::nullopt;
  };
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return failed(errno);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return failed(errno);
  if (S_ISDIR(info.st_mode)) return failed(EISDIR);
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return failed(errno);
    }
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  if (reason != nullptr) reason->clear();
  return content;
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    // A descriptor that takes nothing would keep this loop going for ever.
    if (written == 0) {
      errno = EIO;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace tallisk
