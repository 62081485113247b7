// The process's table of open record files. A position block names its
// entry: bytes 0-3 "QRMB", 4-7 the entry's index, 8-11 the entry's
// generation (little-endian), the rest zero. The generation changes when an
// entry is closed, so a block kept after Close or Reset, a copy of one, or
// bytes that were never a block name no open file.
#ifndef QAV_RECMAN_OPEN_FILE_TABLE_H_
#define QAV_RECMAN_OPEN_FILE_TABLE_H_

#include <cstdint>
#include <memory>

#include "recman/key_cursor.h"
#include "recman/storage.h"

namespace qav {

struct OpenFile {
  explicit OpenFile(std::unique_ptr<StoredFile> stored)
      : file(std::move(stored)), cursor(file.get()) {}

  std::unique_ptr<StoredFile> file;
  KeyCursor cursor;
  uint32_t locked = 0;  // the record this open holds locked, 0 for none
};

// The open file of a position block, or null.
OpenFile* FindOpenFile(const void* position_block);
// Enters the file and writes its position block (128 bytes).
void AddOpenFile(std::unique_ptr<OpenFile> file, void* position_block);
// Closes the file of the block, if any, and zeroes the block.
void CloseOpenFile(void* position_block);
// Closes every file of the process.
void CloseAllOpenFiles();

}  // namespace qav

#endif  // QAV_RECMAN_OPEN_FILE_TABLE_H_
