#include "data/record_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "frame/session.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/cp850.h"
#include "platform/files.h"
#include "recman/record_manager.h"
#include "screen/message_box.h"
#include "screen/windows.h"

namespace qav {
namespace {

constexpr int16_t kStatusFileNotFound = 12;
constexpr int16_t kStatusBufferTooShort = 22;
constexpr int16_t kStatusRecordInUse = 84;
constexpr int16_t kStatusFileInUse = 85;
constexpr int kOpenRetryMs = 3000;
// The owner name the suite's files are opened with.
constexpr char kOwnerName[] = "QAVH";

struct FileSlot {
  int16_t file_number = 0;  // 0: free
  std::array<char, kPositionBlockSize> position_block{};
  char* buffer = nullptr;
  size_t buffer_size = 0;
  int32_t record_length = 0;
  int16_t key_number = 0;
  std::string current_key;
  int16_t lock_mode = 0;
};

struct RecordFilesState {
  std::array<FileSlot, kRecordSlots + 1> slots;  // slot 0 unused
  std::string lock_mode_stack;                   // pairs (slot, mode), latest last
  OpenFailureHandler on_failure;
  std::function<void(int)> end_program;
};

RecordFilesState& State() {
  static RecordFilesState state;
  return state;
}

// The slot of a file number; else minus the highest free slot; else 0.
int FindSlot(int16_t file) {
  int free_slot = 0;
  for (int i = 1; i <= kRecordSlots; ++i) {
    const int16_t number = State().slots[static_cast<size_t>(i)].file_number;
    if (number == file && file != 0) return i;
    if (number == 0) free_slot = i;
  }
  return -free_slot;
}

FileSlot* OpenSlot(int16_t file) {
  const int slot = FindSlot(file);
  return slot >= 1 ? &State().slots[static_cast<size_t>(slot)] : nullptr;
}

uint16_t Read16(const std::string& bytes, size_t at) {
  if (at + 2 > bytes.size()) return 0;
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                               static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// The file's statistics as the record manager's Stat gives them.
struct Segment {
  uint16_t length = 0;
  uint16_t flags = 0;
};
struct FileStats {
  int16_t status = 0;
  int record_length = 0;
  std::vector<std::vector<Segment>> keys;
  std::string table;  // the alternate collating sequence, 256 bytes, or empty
};

FileStats Stat(FileSlot& slot) {
  FileStats stats;
  std::string data(kDataBufferSize, '\0');
  std::memset(data.data(), ' ', 16);
  std::string key(255, ' ');
  uint32_t length = kDataBufferSize;
  stats.status = RecordManagerCall(kOpStat, slot.position_block.data(), data.data(), &length,
                                   key.data(), 255, 0);
  if (stats.status != 0 && stats.status != kStatusBufferTooShort) return stats;
  stats.status = 0;
  stats.record_length = Read16(data, 0);
  const int key_count = Read16(data, 4);
  size_t at = 16;
  for (int k = 0; k < key_count && at + 16 <= data.size(); ++k) {
    std::vector<Segment> segments;
    uint16_t flags;
    do {
      flags = Read16(data, at + 4);
      segments.push_back({Read16(data, at + 2), flags});
      at += 16;
    } while ((flags & 16) != 0 && at + 16 <= data.size());
    stats.keys.push_back(std::move(segments));
  }
  if (at + 9 + 256 <= data.size()) stats.table = data.substr(at + 9, 256);
  return stats;
}

int KeyLength(const FileStats& stats, int key_number) {
  if (key_number < 0 || key_number >= static_cast<int>(stats.keys.size())) return 0;
  int length = 0;
  for (const Segment& s : stats.keys[static_cast<size_t>(key_number)]) length += s.length;
  return length;
}

bool TakesLockBias(int operation) {
  return (operation >= 5 && operation <= 13) || operation == 19 ||
         (operation >= 22 && operation <= 24) || (operation >= 33 && operation <= 35);
}

// The lock-aware read: copies the record into the caller's buffer and keeps
// the key returned as the current key; waits while locked in lock mode 1.
int16_t ManagerCall(FileSlot& slot, int operation) {
  if (TakesLockBias(operation) && slot.lock_mode != 0) operation += kLockBias;
  int attempts = 0;
  int16_t status;
  while (true) {
    if (attempts == 1) ShowMessageBox(24, LockMessageText());
    std::string data(kDataBufferSize, ' ');
    const size_t record = std::min<size_t>(static_cast<size_t>(slot.record_length), slot.buffer_size);
    if (slot.buffer != nullptr) std::memcpy(data.data(), slot.buffer, std::min(record, data.size()));
    std::string key(kKeyBufferSize, ' ');
    const int base = operation % kLockBias;
    const char fill = (base == 8 || base == 9) ? '\0' : (base == 10 || base == 11) ? '\xFF' : ' ';
    std::fill(key.begin(), key.end(), fill);
    std::memcpy(key.data(), slot.current_key.data(), std::min(slot.current_key.size(), key.size()));
    uint32_t length = static_cast<uint32_t>(slot.record_length);
    status = RecordManagerCall(static_cast<int16_t>(operation), slot.position_block.data(),
                               data.data(), &length, key.data(),
                               static_cast<int16_t>(slot.current_key.size()), slot.key_number);
    const size_t copy = std::min({record, static_cast<size_t>(length), data.size()});
    if (slot.buffer != nullptr) std::memcpy(slot.buffer, data.data(), copy);
    slot.current_key = key.substr(0, slot.current_key.size());
    if ((status == kStatusRecordInUse || status == kStatusFileInUse) && slot.lock_mode == 1) {
      SleepMilliseconds(static_cast<int>(std::lround(10000 * RandomUnit() + 1)));
      if (attempts < 2) ++attempts;
      continue;
    }
    break;
  }
  if (attempts > 0) CloseWindow();
  return status;
}

// The key returned by a call, as long as the current key. Keys with binary
// segments hold zero bytes, so the key is never cut at its first zero byte:
// that would leave a key too short for the next call.
void KeepReturnedKey(FileSlot& slot, const std::string& key) {
  slot.current_key = key.substr(0, slot.current_key.size());
}

void SplitName(std::string_view name, std::string* full_path, std::string* base) {
  std::string prefix;
  std::string b(name);
  std::string extension = ".dat";
  size_t base_end = name.size();
  for (size_t i = name.size(); i >= 1; --i) {
    const char c = name[i - 1];
    if (c == ':' || c == '\\' || c == '/') {
      prefix = std::string(name.substr(0, i));
      b = std::string(name.substr(i, base_end - i));
      break;
    }
    if (c == '.') {
      b = std::string(name.substr(0, i - 1));
      extension = std::string(name.substr(i - 1));
      base_end = i - 1;
    }
  }
  *full_path = prefix + b + extension;
  *base = b;
}

// Creates a missing record file from its data definition; the definition
// file's first two bytes give the length of the creation data after them.
int16_t CreateFromDefinition(const std::string& full_path, const std::string& base) {
  std::string creation;
  std::string definition;
  if (ReadWholeFile(Session().RootDir + "ddf\\" + base + ".xdf", &definition, 1 << 16) &&
      definition.size() >= 2) {
    const int16_t n = static_cast<int16_t>(Read16(definition, 0));
    if (n > 0) creation = definition.substr(2, static_cast<size_t>(n));
  }
  std::string data(kDataBufferSize, '\0');
  std::memcpy(data.data(), creation.data(), std::min(creation.size(), data.size()));
  std::string key = full_path;
  key.push_back('\0');
  uint32_t length = kDataBufferSize;
  std::array<char, kPositionBlockSize> block{};
  return RecordManagerCall(kOpCreate, block.data(), data.data(), &length, key.data(),
                           static_cast<int16_t>(full_path.size()), kCreateNew);
}

void DefaultOpenFailure(const std::string& message, int16_t /*status*/) {
  ShowMessageBox(12, message);
  Beep();
  DiscardInput();
  WaitEvent();
  CloseWindow();
  ResetRecordFiles();
  RecordFilesState& s = State();
  if (s.end_program) {
    s.end_program(0);
  } else {
    StopConsole();
    std::exit(0);
  }
}

std::string ByLanguage(const char* cat, const char* spa, const char* glg, const char* oci) {
  const std::string& language = Session().SessionLanguage;
  const char* text = language == "SPA" ? spa : language == "GLG" ? glg : language == "OCI" ? oci : cat;
  return Utf8ToCp850(text);
}

}  // namespace

std::string OpenErrorText() {
  return ByLanguage("NO ES POT ACCEDIR AL FITXER ", "NO SE PUEDE ACCEDER AL FICHERO ",
                    "NOM SE PODE ACEDER AO FICHEIRO ", "NON SE PÒT ACCEDIR ATH FICHÈR ");
}

std::string LockMessageText() {
  return ByLanguage("FITXER BLOQUEJAT. ESPEREU UN MOMENT.", "FICHERO BLOQUEADO. ESPERE UN MOMENTO.",
                    "FICHEIRO BLOQUEADO. ESPERE UM MOMENTO.",
                    "FICHÈR BLOQUEJAT. ESPERATZ UN MOMENT.");
}

int16_t OpenRecordFile(int16_t file, std::string_view name, void* buffer, size_t buffer_size) {
  const int found = FindSlot(file);
  if (found >= 1) return kFileNumberInUse;
  if (found == 0) return kNoFreeSlot;
  FileSlot& slot = State().slots[static_cast<size_t>(-found)];
  slot = FileSlot{};
  slot.file_number = file;
  slot.buffer = static_cast<char*>(buffer);
  slot.buffer_size = buffer_size;

  std::string full_path, base;
  SplitName(name, &full_path, &base);
  int16_t status;
  bool created = false;
  while (true) {
    std::string data(kOwnerName, 4);
    data.push_back('\0');
    std::string key = full_path;
    key.push_back('\0');
    uint32_t length = 5;
    status = RecordManagerCall(kOpOpen, slot.position_block.data(), data.data(), &length,
                               key.data(), static_cast<int16_t>(full_path.size()), kOpenNormal);
    if (status == kStatusFileInUse) {
      SleepMilliseconds(kOpenRetryMs);
      continue;
    }
    // Create once: a file that is still missing afterwards is an error, not
    // a reason to go round again.
    if (status == kStatusFileNotFound && !created) {
      created = true;
      status = CreateFromDefinition(full_path, base);
      if (status == 0) continue;
    }
    break;
  }
  if (status == 0) {
    const FileStats stats = Stat(slot);
    status = stats.status;
    if (status == 0) {
      slot.record_length = stats.record_length;
      slot.current_key.assign(static_cast<size_t>(KeyLength(stats, 0)), '\0');
      return 0;
    }
  }
  slot = FileSlot{};  // nothing is open under this number
  const std::string message = OpenErrorText() + std::string(name) + " (" + std::to_string(status) + ")";
  RecordFilesState& s = State();
  if (s.on_failure) {
    s.on_failure(message, status);
  } else {
    DefaultOpenFailure(message, status);
  }
  return status;
}

int16_t ResetRecordFiles() {
  std::array<char, kPositionBlockSize> block;
  block.fill(' ');
  uint32_t length = 0;
  const int16_t status = RecordManagerCall(kOpReset, block.data(), nullptr, &length, nullptr, 0, 0);
  if (status == 0) ForgetRecordFiles();
  return status;
}

int16_t ReadByKey(int16_t file, int16_t key_number, std::string_view value, int direction) {
  FileSlot* slot = OpenSlot(file);
  if (slot == nullptr) return kFileNotOpen;
  const int length = KeyLength(Stat(*slot), key_number);
  if (length == 0) return kNoSuchKey;
  slot->key_number = key_number;
  std::string key(value.substr(0, static_cast<size_t>(length)));
  key.resize(static_cast<size_t>(length), '\0');
  slot->current_key = key;
  const int operation = direction == 0 ? kOpGetEqual : direction > 0 ? kOpGetGreaterOrEqual
                                                                     : kOpGetLessOrEqual;
  const int16_t status = ManagerCall(*slot, operation);
  return status == kStatusBufferTooShort ? 0 : status;
}

int16_t StepRecord(int16_t file, int count) {
  FileSlot* slot = OpenSlot(file);
  if (slot == nullptr) return kFileNotOpen;
  const int16_t operation = count >= 0 ? kOpGetNext : kOpGetPrevious;
  int remaining = std::abs(count);
  int16_t status = 0;
  while (remaining > 1 && status == 0) {
    std::string data(kDataBufferSize, ' ');
    std::string key(kKeyBufferSize, '\0');
    std::memcpy(key.data(), slot->current_key.data(), std::min(slot->current_key.size(), key.size()));
    // The whole scratch buffer is offered for the key returned: a length
    // taken up to the key's first zero byte would be too short for keys
    // with binary segments.
    uint32_t length = kDataBufferSize;
    status = RecordManagerCall(operation, slot->position_block.data(), data.data(), &length,
                               key.data(), static_cast<int16_t>(kKeyBufferSize - 1),
                               slot->key_number);
    if (status == kStatusBufferTooShort) status = 0;
    if (status == 0) KeepReturnedKey(*slot, key);
    --remaining;
  }
  if (count != 0 && status == 0) {
    status = ManagerCall(*slot, operation);
    if (status == kStatusBufferTooShort) status = 0;
  }
  return status;
}

int32_t RecordPosition(int16_t file, int32_t position) {
  FileSlot* slot = OpenSlot(file);
  if (slot == nullptr) return 0;
  std::string data(kDataBufferSize, '\0');
  uint32_t length = kDataBufferSize;
  if (position == 0) {
    const int16_t status = RecordManagerCall(kOpGetPosition, slot->position_block.data(),
                                             data.data(), &length, nullptr, 0, 0);
    if (status != 0) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(Read16(data, 0)) |
                                static_cast<uint32_t>(Read16(data, 2)) << 16);
  }
  const uint32_t p = static_cast<uint32_t>(position);
  for (int i = 0; i < 4; ++i) data[static_cast<size_t>(i)] = static_cast<char>((p >> (8 * i)) & 0xFF);
  std::string key(kKeyBufferSize, '\0');
  int16_t status = RecordManagerCall(kOpGetDirect, slot->position_block.data(), data.data(),
                                     &length, key.data(), static_cast<int16_t>(kKeyBufferSize),
                                     slot->key_number);
  if (status == kStatusBufferTooShort) status = 0;
  if (status == 0) {
    KeepReturnedKey(*slot, key);
    const size_t copy = std::min({static_cast<size_t>(slot->record_length), slot->buffer_size,
                                  static_cast<size_t>(length)});
    if (slot->buffer != nullptr) std::memcpy(slot->buffer, data.data(), copy);
  }
  return status;
}

int16_t SetLockMode(int16_t file, std::string_view letters) {
  const int index = FindSlot(file);
  if (index < 1) return kFileNotOpen;
  RecordFilesState& s = State();
  FileSlot& slot = s.slots[static_cast<size_t>(index)];
  for (char c : letters) {
    switch (c) {
      case 'D':
      case 'd':
        slot.lock_mode = 0;
        break;
      case 'A':
      case 'a':
        slot.lock_mode = 1;
        break;
      case 'B':
      case 'b':
        slot.lock_mode = 2;
        break;
      case '+':
        s.lock_mode_stack.push_back(static_cast<char>(index));
        s.lock_mode_stack.push_back(static_cast<char>(slot.lock_mode));
        break;
      case '-':
        for (size_t at = s.lock_mode_stack.size(); at >= 2; at -= 2) {
          if (s.lock_mode_stack[at - 2] == static_cast<char>(index)) {
            slot.lock_mode = static_cast<int16_t>(s.lock_mode_stack[at - 1]);
            s.lock_mode_stack.erase(at - 2, 2);
            break;
          }
        }
        break;
      default:
        break;
    }
  }
  return 0;
}

std::string CollationForm(std::string_view key, int16_t file) {
  std::string form(key);
  FileSlot* slot = OpenSlot(file);
  if (slot == nullptr) return form;
  const FileStats stats = Stat(*slot);
  if (slot->key_number < 0 || slot->key_number >= static_cast<int>(stats.keys.size())) return form;
  size_t g = 0;  // where the segment starts in the key bytes
  for (const Segment& segment : stats.keys[static_cast<size_t>(slot->key_number)]) {
    const size_t end = g + segment.length;
    if (segment.flags & 4) {
      if (form.size() < end) form.resize(end, '\0');
      std::reverse(form.begin() + static_cast<long>(g), form.begin() + static_cast<long>(end));
    } else if ((segment.flags & 32) && stats.table.size() == 256) {
      for (size_t i = g; i < end && i < form.size(); ++i) {
        form[i] = stats.table[static_cast<unsigned char>(form[i])];
      }
    }
    g = end;
  }
  return form;
}

std::string CurrentKeyCollation(int16_t file) {
  FileSlot* slot = OpenSlot(file);
  return slot == nullptr ? std::string() : CollationForm(slot->current_key, file);
}

std::string CurrentKey(int16_t file) {
  FileSlot* slot = OpenSlot(file);
  return slot == nullptr ? std::string() : slot->current_key;
}

int16_t LockMode(int16_t file) {
  FileSlot* slot = OpenSlot(file);
  return slot == nullptr ? 0 : slot->lock_mode;
}

void SetOpenFailureHandler(OpenFailureHandler handler) { State().on_failure = std::move(handler); }
void SetProgramEndForTest(std::function<void(int)> end) { State().end_program = std::move(end); }

void ForgetRecordFiles() {
  RecordFilesState& s = State();
  for (FileSlot& slot : s.slots) slot = FileSlot{};
  s.lock_mode_stack.clear();
}

}  // namespace qav
