// The record-access layer: the program's only way to the record manager. It
// keeps a table of up to 40 open record files, each named by a number the
// caller chooses and bound to the caller's record variable, into which
// every read copies the record found. Files are read by key, stepped in key
// order and re-read by position; the layer adds file name resolution (".dat"
// by default), creation of a missing file from ddf\<base>.xdf under the root
// folder, waiting while a file or record is locked (with a message), the
// key bookkeeping, the collation form of keys, and the fatal open error in
// the operator's language.
#ifndef QAV_DATA_RECORD_FILES_H_
#define QAV_DATA_RECORD_FILES_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qav {

// Statuses of the layer itself; every other non-zero status is the record
// manager's (recman/status.h).
constexpr int16_t kFileNotOpen = 3;
constexpr int16_t kFileNumberInUse = 1002;
constexpr int16_t kNoFreeSlot = 1003;
constexpr int16_t kNoSuchKey = 1004;

constexpr int kRecordSlots = 40;
constexpr size_t kDataBufferSize = 1536;
constexpr size_t kKeyBufferSize = 256;

// Opens (creating it when missing) and registers a record file. `buffer`
// receives every record read; it holds `buffer_size` bytes and must stay in
// place while the file is open. 1002 and 1003 are returned; any other
// failure is the fatal open error: the message (open error text, the name as
// given, " (status)") is shown, a key awaited, every file closed and the
// program ended with exit code 0. Returns 0 when open.
int16_t OpenRecordFile(int16_t file, std::string_view name, void* buffer, size_t buffer_size);

// Closes every record file; on success empties the table.
int16_t ResetRecordFiles();

// Reads the first record whose key `key_number` is equal to (direction 0),
// greater or equal to (> 0) or less or equal to (< 0) `value`, which is
// padded with zero bytes or cut to the key's length.
int16_t ReadByKey(int16_t file, int16_t key_number, std::string_view value, int direction);

// Moves `count` records forward (> 0) or backward (< 0) in the order of the
// key last read by; 0 does nothing.
int16_t StepRecord(int16_t file, int count);

// Position 0: the current record's 4-byte position (0 on any error).
// Otherwise reads the record at that position and returns the status.
int32_t RecordPosition(int16_t file, int32_t position);

// Lock mode letters, in order: D no locking, A lock and wait while locked,
// B lock without waiting, + save the mode, - restore the last saved one.
// Returns 3 when the file is not open, else 0.
int16_t SetLockMode(int16_t file, std::string_view letters);

// Bytes that compare, byte by byte, in the order of the file's current key:
// binary segments reversed, alternate-collation segments translated.
std::string CollationForm(std::string_view key, int16_t file);
std::string CurrentKeyCollation(int16_t file);

// The current key value of an open file (empty when not open), its key
// number and lock mode; for callers that keep their place and for tests.
std::string CurrentKey(int16_t file);
int16_t LockMode(int16_t file);

// The open error text of the session language ("NO ES POT ACCEDIR AL
// FITXER " in Catalan) and the lock message.
std::string OpenErrorText();
std::string LockMessageText();

// What happens on a fatal open error. By default: the message box, a beep,
// a key wait, every file closed and the process ended with exit code 0.
// The batch mode tells it on standard error and ends with its own code.
using OpenFailureHandler = std::function<void(const std::string& message, int16_t status)>;
void SetOpenFailureHandler(OpenFailureHandler handler);
// The ending of the default handler; tests replace it so the process goes on.
void SetProgramEndForTest(std::function<void(int code)> end);

// Empties the table without calling the record manager; for tests.
void ForgetRecordFiles();

}  // namespace qav

#endif  // QAV_DATA_RECORD_FILES_H_
