#include "recman/lock_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qav {
namespace {

constexpr off_t kStampSize = sizeof(uint64_t);

}  // namespace

int LockFile::Open(const std::string& data_path) {
  Close();
  const std::string path = data_path + ".lck";
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) return errno;
  struct stat st;
  if (fstat(fd_, &st) != 0) {
    const int error = errno;
    Close();
    return error;
  }
  // Growing to the same size in two processes at once changes nothing, and
  // an existing stamp is never cut.
  if (st.st_size < kStampSize && ftruncate(fd_, kStampSize) != 0) {
    const int error = errno;
    Close();
    return error;
  }
  void* map = mmap(nullptr, kStampSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
  if (map != MAP_FAILED) stamp_ = static_cast<uint64_t*>(map);
  return 0;
}

void LockFile::Close() {
  if (stamp_ != nullptr) munmap(stamp_, kStampSize);
  stamp_ = nullptr;
  if (fd_ >= 0) ::close(fd_);  // gives back every lock of this description
  fd_ = -1;
}

bool LockFile::SetLock(short type, int64_t start) {
  if (fd_ < 0) return false;
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = start;
  lock.l_len = 1;
  return fcntl(fd_, F_OFD_SETLK, &lock) == 0;
}

bool LockFile::TryLockOpen(bool exclusive) { return SetLock(exclusive ? F_WRLCK : F_RDLCK, 0); }

bool LockFile::TryLockRecord(uint32_t position) {
  return SetLock(F_WRLCK, 1 + static_cast<int64_t>(position));
}

void LockFile::UnlockRecord(uint32_t position) {
  SetLock(F_UNLCK, 1 + static_cast<int64_t>(position));
}

uint64_t LockFile::ChangeStamp() {
  if (stamp_ == nullptr) return ++private_stamp_;
  return __atomic_load_n(stamp_, __ATOMIC_ACQUIRE);
}

void LockFile::BumpChangeStamp() {
  if (stamp_ != nullptr) __atomic_fetch_add(stamp_, 1, __ATOMIC_ACQ_REL);
}

}  // namespace qav
