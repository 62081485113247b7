// The record manager: keyed record files reached through one call,
// RecordManagerCall, in the calling process. Records have the file's fixed
// length and a 4-byte position (from 1, never reused in a file) that stays
// valid for Get Direct until the record is deleted. Files are read in the
// order of any of their keys (key_collation.h) with ties by position;
// statuses are those of status.h; creation data and the Stat answer are laid
// out as file_definition.h says.
//
// The call, by operation (data = data buffer, length = *data_length, key =
// key buffer and key_length, number = key_number):
//
//   0  Open         key: the file's path (up to a zero byte); number: 0 normal,
//                   -4 exclusive (every other Open gets 85 until Close); data
//                   (the owner name) is not used. Fills the position block.
//   1  Close        Gives back the file, its lock and the position block.
//   2  Insert       data: the record, length = record length. number: the key
//                   whose order the file is then positioned in, on the new
//                   record, whose key value is returned in key.
//   3  Update       Replaces the current record, as Insert positions.
//   4  Delete       Deletes the current record; Next and Previous go on from
//                   where it was.
//   5  Get Equal              the first record whose key `number` equals key
//   6  Get Next               the record after the current one in the order
//   7  Get Previous           of key `number` (the key last read by)
//   8  Get Greater            the first record whose key is greater than key
//   9  Get Greater or Equal   ... greater or equal
//   10 Get Less               the last record whose key is less than key
//   11 Get Less or Equal      ... less or equal
//   12 Get First, 13 Get Last  the first or last record of key `number`
//   14 Create       key: the path; data: the creation data; number: 0 replaces
//                   an existing file (85 while it is open), -1 leaves it (59).
//                   Needs no position block.
//   15 Stat         data: the file's definition with its record count.
//   22 Get Position data: the current record's position, 4 bytes.
//   23 Get Direct   data: a position in its first 4 bytes; reads that record
//                   and positions the file on it in the order of `number`.
//   27 Unlock       Gives back the record lock of this open.
//   28 Reset        Closes every file this process opened. Needs no block.
//
// Every read (5-13, 23) returns the record in data (at most `length` bytes;
// 22 when it was longer), sets length to what it returned, writes the key
// value (exactly the key's length; 21 when key_length is shorter) to key, and
// leaves the file positioned on the record. Searches (5, 8-11) read the
// key's length of bytes from key. A read that fails changes neither buffer
// nor the position and sets length to 0.
//
// Lock bias: 200 added to a read (205-213, 223) also locks the record for
// this open until it reads another record, unlocks or closes. Another open of
// the file, in any process, then gets 84 when it reads that record with the
// lock bias, updates or deletes it; plain reads never wait and never fail for
// a lock. A read with the lock bias returns the record as it is once locked.
//
// Calls may come from several threads; they are served one at a time. A
// forked child must not use the files its parent had open (an SQLite
// connection cannot cross a fork): it opens its own.
#ifndef QAV_RECMAN_RECORD_MANAGER_H_
#define QAV_RECMAN_RECORD_MANAGER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qav {

enum RecordOperation : int16_t {
  kOpOpen = 0,
  kOpClose = 1,
  kOpInsert = 2,
  kOpUpdate = 3,
  kOpDelete = 4,
  kOpGetEqual = 5,
  kOpGetNext = 6,
  kOpGetPrevious = 7,
  kOpGetGreater = 8,
  kOpGetGreaterOrEqual = 9,
  kOpGetLess = 10,
  kOpGetLessOrEqual = 11,
  kOpGetFirst = 12,
  kOpGetLast = 13,
  kOpCreate = 14,
  kOpStat = 15,
  kOpGetPosition = 22,
  kOpGetDirect = 23,
  kOpUnlock = 27,
  kOpReset = 28,
};

constexpr int16_t kLockBias = 200;
constexpr int16_t kOpenNormal = 0;
constexpr int16_t kOpenExclusive = -4;
constexpr int16_t kCreateReplace = 0;
constexpr int16_t kCreateNew = -1;
constexpr size_t kPositionBlockSize = 128;

int16_t RecordManagerCall(int16_t operation, void* position_block, void* data,
                          uint32_t* data_length, void* key, int16_t key_length,
                          int16_t key_number);

// Inserts the records as one transaction: all of them or, on the first
// failure, none (*failed is then that record's index, or records.size() when
// the failure is not one record's). The position does not move. For loading
// files: one Insert call is one durable commit, this is one for them all.
int16_t InsertRecords(void* position_block, const std::vector<std::string>& records,
                      size_t* failed);

}  // namespace qav

#endif  // QAV_RECMAN_RECORD_MANAGER_H_
