// The lock file beside a record file (its path + ".lck"), which carries what
// the open files of every process must agree on: who has the file open and
// how, which records are locked, and a change stamp that moves whenever a
// write begins or ends.
//
// Locks are open file description locks (F_OFD_SETLK), so they belong to one
// LockFile object: two opens in one process contend like two processes, and
// a process that dies gives its locks back. Byte 0 is the open lock (shared
// for a normal open, exclusive for an exclusive open or a Create); byte
// 1 + position is the lock of the record at that position. The change stamp
// is a 64-bit counter in the file's first 8 bytes, shared through a memory
// mapping; the lock file is never shrunk or deleted, so every process maps
// the same bytes.
#ifndef QAV_RECMAN_LOCK_FILE_H_
#define QAV_RECMAN_LOCK_FILE_H_

#include <cstdint>
#include <string>

namespace qav {

class LockFile {
 public:
  LockFile() = default;
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;
  ~LockFile() { Close(); }

  // Opens or creates the lock file of `data_path`. Returns 0 or the errno.
  int Open(const std::string& data_path);
  void Close();

  // No waiting: false when another LockFile holds a conflicting lock.
  bool TryLockOpen(bool exclusive);
  bool TryLockRecord(uint32_t position);
  void UnlockRecord(uint32_t position);

  // Without the shared mapping (a file system that refuses it) the stamp
  // changes on every reading, so that nothing is ever taken as unchanged.
  uint64_t ChangeStamp();
  void BumpChangeStamp();

 private:
  bool SetLock(short type, int64_t start);

  int fd_ = -1;
  uint64_t* stamp_ = nullptr;
  uint64_t private_stamp_ = 0;
};

}  // namespace qav

#endif  // QAV_RECMAN_LOCK_FILE_H_
