#include "platform/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace bd::platform {
namespace {

std::string KindReason(mode_t mode) {
  if (S_ISDIR(mode)) return "it is a folder";
  return "it is not a regular file";
}

}  // namespace

std::string UnreadableReason(int error) {
  if (error == ENOENT) return "it does not exist";
  if (error == EISDIR) return "it is a folder";
  return std::string("it cannot be read (") + std::strerror(error) + ")";
}

std::optional<std::vector<uint8_t>> ReadRegularFile(const std::string& path, size_t max_bytes,
                                                    std::string& reason) {
  // Non-blocking, so that opening a FIFO returns at once and fstat can refuse it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    reason = UnreadableReason(errno);
    return std::nullopt;
  }
  struct stat status {};
  std::optional<std::vector<uint8_t>> bytes;
  if (::fstat(fd, &status) != 0) {
    reason = UnreadableReason(errno);
  } else if (!S_ISREG(status.st_mode)) {
    reason = KindReason(status.st_mode);
  } else {
    bytes.emplace();
    uint8_t block[4096];
    while (bytes->size() < max_bytes) {
      const size_t want = std::min(sizeof block, max_bytes - bytes->size());
      const ssize_t got = ::read(fd, block, want);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        reason = UnreadableReason(errno);
        bytes.reset();
        break;
      }
      if (got == 0) break;
      bytes->insert(bytes->end(), block, block + got);
    }
  }
  ::close(fd);
  return bytes;
}

bool MayReplaceWithFile(const std::string& path, std::string& reason) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return true;  // nothing there yet, or the save will say why
  if (S_ISREG(status.st_mode)) return true;
  reason = KindReason(status.st_mode);
  return false;
}

}  // namespace bd::platform
