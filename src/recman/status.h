// Every status RecordManagerCall returns, in one table. 0 is success; 22 on a
// read is a success whose record did not fit; every other code is a failure
// after which nothing was changed: no buffer, no position, no record.
#ifndef QAV_RECMAN_STATUS_H_
#define QAV_RECMAN_STATUS_H_

#include <cstdint>

namespace qav {

constexpr int16_t kRmOk = 0;
// Unknown operation code, a lock bias on an operation that takes none, an
// open or create mode other than those of record_manager.h, or Open on a
// position block that still holds an open file.
constexpr int16_t kRmInvalidOperation = 1;
// The storage failed for a reason none of the codes below names.
constexpr int16_t kRmIoError = 2;
// The position block holds no open file (never opened, closed, or reset).
constexpr int16_t kRmFileNotOpen = 3;
// Get Equal found no record with that key value.
constexpr int16_t kRmKeyNotFound = 4;
// Insert or Update would give a key that allows no duplicates a value
// another record already has.
constexpr int16_t kRmDuplicateKey = 5;
// The key number is not one of the file's keys.
constexpr int16_t kRmInvalidKeyNumber = 6;
// Get Next or Get Previous with a key other than the one the file is
// positioned in.
constexpr int16_t kRmDifferentKeyNumber = 7;
// Get Next, Get Previous, Get Position, Update or Delete with no current
// record (nothing read yet, or the current record was deleted; Next and
// Previous still work after a Delete).
constexpr int16_t kRmNoCurrentRecord = 8;
// No record beyond the position in the direction asked (also on an empty
// file for Get First and Get Last).
constexpr int16_t kRmEndOfFile = 9;
// Open or Create with an empty file name.
constexpr int16_t kRmInvalidFileName = 11;
// Open of a file that does not exist.
constexpr int16_t kRmFileNotFound = 12;
// The disk is full, or the file has used up its 2^31 - 1 record positions.
constexpr int16_t kRmFileFull = 18;
// The key length given is shorter than the key.
constexpr int16_t kRmKeyBufferTooShort = 21;
// Reads and Stat: the data buffer was shorter than the answer, which was
// returned cut to its length (the file is positioned as for success).
constexpr int16_t kRmDataBufferTooShort = 22;
// Create: the page size is 0 or not a multiple of 512.
constexpr int16_t kRmInvalidPageSize = 24;
// Create: the file could not be made (missing folder, no permission).
constexpr int16_t kRmCannotCreate = 25;
// Create: the number of keys is outside 1 to 24.
constexpr int16_t kRmInvalidKeyCount = 26;
// Create: a key segment lies outside the record, has length 0 or unknown
// flags, a key is longer than 255 bytes or mixes duplicates flags, there
// are more than 64 segments, or the creation data end before their layout.
constexpr int16_t kRmInvalidKeyDefinition = 27;
// Create: record length outside 1 to 4096. Insert, Update: the data length
// is not the file's record length.
constexpr int16_t kRmInvalidRecordLength = 28;
// Open, or any later call: the file is empty, damaged, or not a record file.
constexpr int16_t kRmNotARecordFile = 30;
// Get Direct: no record at that position. Update, Delete: the current
// record was deleted by another open of the file.
constexpr int16_t kRmInvalidPosition = 43;
// The file or its lock file may not be read and written by this user.
constexpr int16_t kRmAccessDenied = 46;
// Create in the mode that keeps existing files, on an existing file.
constexpr int16_t kRmFileExists = 59;
// The record is locked by another open of the file (read with the lock
// bias, Update, Delete).
constexpr int16_t kRmRecordInUse = 84;
// Open: the file is open in exclusive mode elsewhere, or it is open
// elsewhere and this Open asks for exclusive mode. Create: the file is
// open. Writes: another writer kept the file busy for 5 seconds.
constexpr int16_t kRmFileInUse = 85;

// A short English description of a status, for diagnostics.
const char* RecordStatusText(int16_t status);

}  // namespace qav

#endif  // QAV_RECMAN_STATUS_H_
