#include "recman/sqlite_storage.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "recman/lock_file.h"
#include "recman/status.h"

namespace qav {
namespace {

constexpr int kBusyMilliseconds = 5000;

int16_t StatusOfSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return kRmOk;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return kRmFileInUse;
    case SQLITE_CONSTRAINT:  // every value is bound, so only a UNIQUE index fails
      return kRmDuplicateKey;
    case SQLITE_FULL:
      return kRmFileFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
      return kRmNotARecordFile;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return kRmAccessDenied;
    default:
      return kRmIoError;
  }
}

int16_t StatusOfErrno(int error, int16_t otherwise) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return kRmAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return kRmFileFull;
    default:
      return otherwise;
  }
}

// The path every open of the file agrees on, so that links and different
// spellings share one lock file. A file not there yet takes its folder's.
bool CanonicalPath(const std::string& path, std::string* out) {
  if (char* real = realpath(path.c_str(), nullptr)) {
    *out = real;
    std::free(real);
    return true;
  }
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return false;
  char* real = realpath(folder.c_str(), nullptr);
  if (real == nullptr) return false;
  *out = std::string(real) + "/" + name;
  std::free(real);
  return true;
}

void RemoveDatabaseFiles(const std::string& path, bool also_main) {
  if (also_main) ::unlink(path.c_str());
  ::unlink((path + "-wal").c_str());
  ::unlink((path + "-shm").c_str());
  ::unlink((path + "-journal").c_str());
}

void SyncFolderOf(const std::string& path) {
  const std::string folder = path.substr(0, path.rfind('/') + 1);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    ::close(fd);
  }
}

std::string KeyColumn(size_t key) { return std::string("k").append(std::to_string(key)); }

// A prepared statement, reset after every use so that no read transaction
// outlives a call.
class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }

  int Prepare(sqlite3* db, const std::string& sql) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
  }
  bool prepared() const { return stmt_ != nullptr; }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class ResetOnExit {
 public:
  explicit ResetOnExit(const Statement& statement) : stmt_(statement.get()) {}
  ~ResetOnExit() { sqlite3_reset(stmt_); }

 private:
  sqlite3_stmt* stmt_;
};

void BindBlob(sqlite3_stmt* stmt, int index, const std::string& bytes) {
  sqlite3_bind_blob(stmt, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
}

std::string ColumnBlob(sqlite3_stmt* stmt, int column) {
  const void* blob = sqlite3_column_blob(stmt, column);
  const int size = sqlite3_column_bytes(stmt, column);
  return blob ? std::string(static_cast<const char*>(blob), static_cast<size_t>(size))
              : std::string();
}

// Statements of one key, prepared on first use.
struct KeyStatements {
  Statement first, last;              // from either end
  Statement after_tie, after, from;   // forward: same value later position; greater; not less
  Statement before_tie, before, to;   // backward: same value earlier position; smaller; not greater
  Statement fetch;
};

class SqliteFile : public StoredFile {
 public:
  // sqlite3_close_v2 waits for the statements, finalized by the members'
  // destructors right after; the lock file closes last of all.
  ~SqliteFile() override { sqlite3_close_v2(db_); }

  int16_t Open(const std::string& path, bool exclusive);

  const FileDefinition& definition() const override { return definition_; }
  int16_t Count(uint32_t* count) override;
  int16_t Scan(int key, bool forward, const std::string* collation, int64_t position,
               size_t limit, std::vector<StoredRow>* rows) override;
  int16_t Fetch(int key, uint32_t position, StoredRow* row) override;
  int16_t Insert(const NewRecord& record, uint32_t* position) override;
  int16_t InsertAll(const std::vector<NewRecord>& records, size_t* failed) override;
  int16_t Update(uint32_t position, const NewRecord& record) override;
  int16_t Delete(uint32_t position) override;
  bool TryLockRecord(uint32_t position) override { return locks_.TryLockRecord(position); }
  void UnlockRecord(uint32_t position) override { locks_.UnlockRecord(position); }
  uint64_t ChangeStamp() override { return locks_.ChangeStamp(); }

 private:
  int16_t PrepareKey(int key);
  int16_t Collect(const Statement& statement, size_t limit, std::vector<StoredRow>* rows,
                  size_t* used);
  int16_t ScanInto(int key, bool forward, const std::string* collation, int64_t position,
                   size_t limit, std::vector<StoredRow>* rows, size_t* used);
  int16_t Step(const Statement& statement) { return StatusOfSqlite(sqlite3_step(statement.get())); }
  // Runs `body` in one write transaction, committed only when it returns kRmOk.
  template <typename Body>
  int16_t Write(Body body);
  int16_t InsertOne(const NewRecord& record, uint32_t* position);
  int16_t AddToCount(int delta);

  sqlite3* db_ = nullptr;
  LockFile locks_;
  FileDefinition definition_;
  // Declared after db_ so that they are finalized before it closes.
  Statement begin_, commit_, rollback_, count_, add_count_, insert_, update_, delete_;
  std::vector<std::unique_ptr<KeyStatements>> keys_;
};

int16_t SqliteFile::Open(const std::string& path, bool exclusive) {
  const int error = locks_.Open(path);
  if (error != 0) return StatusOfErrno(error, kRmIoError);
  if (!locks_.TryLockOpen(exclusive)) return kRmFileInUse;

  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) {
    return access(path.c_str(), R_OK | W_OK) != 0 ? kRmAccessDenied : StatusOfSqlite(rc);
  }
  sqlite3_busy_timeout(db_, kBusyMilliseconds);

  // Identify the file before anything could write to it.
  {
    Statement id;
    if ((rc = id.Prepare(db_, "PRAGMA application_id")) != SQLITE_OK) {
      return rc == SQLITE_ERROR ? kRmNotARecordFile : StatusOfSqlite(rc);
    }
    rc = sqlite3_step(id.get());
    if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? kRmNotARecordFile : StatusOfSqlite(rc);
    if (sqlite3_column_int(id.get(), 0) != SqliteStorage::kApplicationId) {
      return kRmNotARecordFile;
    }
  }
  {
    Statement layout;
    if (layout.Prepare(db_, "SELECT layout FROM definition") != SQLITE_OK) {
      return kRmNotARecordFile;
    }
    rc = sqlite3_step(layout.get());
    if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? kRmNotARecordFile : StatusOfSqlite(rc);
    if (ParseFileDefinition(ColumnBlob(layout.get(), 0), &definition_) != kRmOk) {
      return kRmNotARecordFile;
    }
  }
  if (sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr,
                   nullptr) != SQLITE_OK) {
    return StatusOfSqlite(sqlite3_errcode(db_));
  }

  std::string columns, values = "?1";
  std::string assignments = "data = ?1";
  for (size_t k = 0; k < definition_.keys.size(); ++k) {
    const std::string n = std::to_string(k + 2);
    columns += ", " + KeyColumn(k);
    values += ", ?" + n;
    assignments += ", " + KeyColumn(k) + " = ?" + n;
  }
  const std::string last = "?" + std::to_string(definition_.keys.size() + 2);
  struct {
    Statement* statement;
    std::string sql;
  } const common[] = {
      {&begin_, "BEGIN IMMEDIATE"},
      {&commit_, "COMMIT"},
      {&rollback_, "ROLLBACK"},
      {&count_, "SELECT record_count FROM definition"},
      {&add_count_, "UPDATE definition SET record_count = record_count + ?1"},
      {&insert_, "INSERT INTO records (data" + columns + ") VALUES (" + values + ")"},
      {&update_, "UPDATE records SET " + assignments + " WHERE position = " + last},
      {&delete_, "DELETE FROM records WHERE position = ?1"},
  };
  for (const auto& entry : common) {
    rc = entry.statement->Prepare(db_, entry.sql);
    if (rc != SQLITE_OK) return rc == SQLITE_ERROR ? kRmNotARecordFile : StatusOfSqlite(rc);
  }
  keys_.resize(definition_.keys.size());
  return kRmOk;
}

int16_t SqliteFile::PrepareKey(int key) {
  if (keys_[key]) return kRmOk;
  auto statements = std::make_unique<KeyStatements>();
  const std::string k = KeyColumn(key);
  const std::string select = "SELECT position, data, " + k + " FROM records ";
  const std::string up = " ORDER BY " + k + ", position LIMIT ?";
  const std::string down = " ORDER BY " + k + " DESC, position DESC LIMIT ?";
  struct {
    Statement* statement;
    std::string sql;
  } const all[] = {
      {&statements->first, select + up},
      {&statements->last, select + down},
      {&statements->after_tie,
       select + "WHERE " + k + " = ?1 AND position > ?2 ORDER BY position LIMIT ?3"},
      {&statements->after, select + "WHERE " + k + " > ?1" + up + "2"},
      {&statements->from, select + "WHERE " + k + " >= ?1" + up + "2"},
      {&statements->before_tie,
       select + "WHERE " + k + " = ?1 AND position < ?2 ORDER BY position DESC LIMIT ?3"},
      {&statements->before, select + "WHERE " + k + " < ?1" + down + "2"},
      {&statements->to, select + "WHERE " + k + " <= ?1" + down + "2"},
      {&statements->fetch, select + "WHERE position = ?1"},
  };
  for (const auto& entry : all) {
    const int rc = entry.statement->Prepare(db_, entry.sql);
    if (rc != SQLITE_OK) return rc == SQLITE_ERROR ? kRmNotARecordFile : StatusOfSqlite(rc);
  }
  keys_[key] = std::move(statements);
  return kRmOk;
}

void AssignBlob(sqlite3_stmt* stmt, int column, std::string* out) {
  const void* blob = sqlite3_column_blob(stmt, column);
  out->assign(blob ? static_cast<const char*>(blob) : "",
              static_cast<size_t>(sqlite3_column_bytes(stmt, column)));
}

// Appends rows after the first `*used` of *rows, reusing the strings already
// there so that stepping through a file allocates nothing once warm.
int16_t SqliteFile::Collect(const Statement& statement, size_t limit,
                            std::vector<StoredRow>* rows, size_t* used) {
  ResetOnExit reset(statement);
  sqlite3_stmt* stmt = statement.get();
  while (*used < limit) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) return StatusOfSqlite(rc);
    if (*used == rows->size()) rows->emplace_back();
    StoredRow& row = (*rows)[(*used)++];
    row.position = static_cast<uint32_t>(sqlite3_column_int64(stmt, 0));
    AssignBlob(stmt, 1, &row.data);
    AssignBlob(stmt, 2, &row.collation);
  }
  return kRmOk;
}

int16_t SqliteFile::Count(uint32_t* count) {
  ResetOnExit reset(count_);
  const int rc = sqlite3_step(count_.get());
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? kRmNotARecordFile : StatusOfSqlite(rc);
  *count = static_cast<uint32_t>(sqlite3_column_int64(count_.get(), 0));
  return kRmOk;
}

int16_t SqliteFile::Scan(int key, bool forward, const std::string* collation, int64_t position,
                         size_t limit, std::vector<StoredRow>* rows) {
  size_t used = 0;
  const int16_t status = ScanInto(key, forward, collation, position, limit, rows, &used);
  rows->resize(status == kRmOk ? used : 0);
  return status;
}

int16_t SqliteFile::ScanInto(int key, bool forward, const std::string* collation,
                             int64_t position, size_t limit, std::vector<StoredRow>* rows,
                             size_t* used) {
  if (const int16_t status = PrepareKey(key); status != kRmOk) return status;
  KeyStatements& s = *keys_[key];
  const int64_t want = static_cast<int64_t>(limit);
  if (collation == nullptr) {
    const Statement& end = forward ? s.first : s.last;
    sqlite3_bind_int64(end.get(), 1, want);
    return Collect(end, limit, rows, used);
  }
  // A bound that takes every position of its value is one range.
  if (forward ? position < 1 : position > kMaxPosition) {
    const Statement& range = forward ? s.from : s.to;
    BindBlob(range.get(), 1, *collation);
    sqlite3_bind_int64(range.get(), 2, want);
    return Collect(range, limit, rows, used);
  }
  // Otherwise the rows of the same value on the far side of `position`,
  // then the values beyond.
  const bool ties = forward ? position < kMaxPosition : position > 1;
  if (ties) {
    const Statement& tie = forward ? s.after_tie : s.before_tie;
    BindBlob(tie.get(), 1, *collation);
    sqlite3_bind_int64(tie.get(), 2, position);
    sqlite3_bind_int64(tie.get(), 3, want);
    if (const int16_t status = Collect(tie, limit, rows, used); status != kRmOk) return status;
  }
  if (*used >= limit) return kRmOk;
  const Statement& beyond = forward ? s.after : s.before;
  BindBlob(beyond.get(), 1, *collation);
  sqlite3_bind_int64(beyond.get(), 2, want - static_cast<int64_t>(*used));
  return Collect(beyond, limit, rows, used);
}

int16_t SqliteFile::Fetch(int key, uint32_t position, StoredRow* row) {
  if (const int16_t status = PrepareKey(key); status != kRmOk) return status;
  const Statement& fetch = keys_[key]->fetch;
  sqlite3_bind_int64(fetch.get(), 1, position);
  std::vector<StoredRow> rows;
  size_t used = 0;
  if (const int16_t status = Collect(fetch, 1, &rows, &used); status != kRmOk) return status;
  if (used == 0) return kRmInvalidPosition;
  *row = std::move(rows[0]);
  return kRmOk;
}

template <typename Body>
int16_t SqliteFile::Write(Body body) {
  // The stamp moves before and after, so that a reader holding rows read
  // ahead sees a change whichever side of the write its lookup fell on.
  locks_.BumpChangeStamp();
  int16_t status = Step(begin_);
  sqlite3_reset(begin_.get());
  if (status == kRmOk) {
    status = body();
    if (status == kRmOk) {
      status = Step(commit_);
      sqlite3_reset(commit_.get());
    }
    if (status != kRmOk && !sqlite3_get_autocommit(db_)) {
      Step(rollback_);
      sqlite3_reset(rollback_.get());
    }
  }
  locks_.BumpChangeStamp();
  return status;
}

int16_t SqliteFile::InsertOne(const NewRecord& record, uint32_t* position) {
  ResetOnExit reset(insert_);
  sqlite3_stmt* stmt = insert_.get();
  BindBlob(stmt, 1, record.data);
  for (size_t k = 0; k < record.collations.size(); ++k) {
    BindBlob(stmt, static_cast<int>(k) + 2, record.collations[k]);
  }
  if (const int16_t status = Step(insert_); status != kRmOk) return status;
  const int64_t rowid = sqlite3_last_insert_rowid(db_);
  if (rowid < 1 || rowid > kMaxPosition) return kRmFileFull;
  *position = static_cast<uint32_t>(rowid);
  return kRmOk;
}

int16_t SqliteFile::AddToCount(int delta) {
  ResetOnExit reset(add_count_);
  sqlite3_bind_int(add_count_.get(), 1, delta);
  return Step(add_count_);
}

int16_t SqliteFile::Insert(const NewRecord& record, uint32_t* position) {
  return Write([&]() -> int16_t {
    if (const int16_t status = InsertOne(record, position); status != kRmOk) return status;
    return AddToCount(1);
  });
}

int16_t SqliteFile::InsertAll(const std::vector<NewRecord>& records, size_t* failed) {
  *failed = records.size();
  return Write([&]() -> int16_t {
    uint32_t position = 0;
    for (size_t i = 0; i < records.size(); ++i) {
      if (const int16_t status = InsertOne(records[i], &position); status != kRmOk) {
        *failed = i;
        return status;
      }
    }
    return records.size() > static_cast<size_t>(INT_MAX)
               ? kRmFileFull
               : AddToCount(static_cast<int>(records.size()));
  });
}

int16_t SqliteFile::Update(uint32_t position, const NewRecord& record) {
  return Write([&]() -> int16_t {
    ResetOnExit reset(update_);
    sqlite3_stmt* stmt = update_.get();
    BindBlob(stmt, 1, record.data);
    for (size_t k = 0; k < record.collations.size(); ++k) {
      BindBlob(stmt, static_cast<int>(k) + 2, record.collations[k]);
    }
    sqlite3_bind_int64(stmt, static_cast<int>(record.collations.size()) + 2, position);
    if (const int16_t status = Step(update_); status != kRmOk) return status;
    return sqlite3_changes(db_) == 1 ? kRmOk : kRmInvalidPosition;
  });
}

int16_t SqliteFile::Delete(uint32_t position) {
  return Write([&]() -> int16_t {
    {
      ResetOnExit reset(delete_);
      sqlite3_bind_int64(delete_.get(), 1, position);
      if (const int16_t status = Step(delete_); status != kRmOk) return status;
      if (sqlite3_changes(db_) != 1) return kRmInvalidPosition;
    }
    return AddToCount(-1);
  });
}

// The schema of a new file, in one transaction.
int16_t BuildDatabase(const std::string& path, const FileDefinition& definition) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  std::string sql = "PRAGMA application_id = " + std::to_string(SqliteStorage::kApplicationId) +
                    "; PRAGMA user_version = 1; PRAGMA journal_mode = WAL;"
                    " PRAGMA synchronous = FULL; BEGIN;"
                    " CREATE TABLE definition (layout BLOB NOT NULL,"
                    " record_count INTEGER NOT NULL);"
                    " CREATE TABLE records (position INTEGER PRIMARY KEY AUTOINCREMENT,"
                    " data BLOB NOT NULL";
  for (size_t k = 0; k < definition.keys.size(); ++k) sql += ", " + KeyColumn(k) + " BLOB NOT NULL";
  sql += ");";
  for (size_t k = 0; k < definition.keys.size(); ++k) {
    sql += std::string(" CREATE ") + (definition.keys[k].duplicates ? "" : "UNIQUE ") +
           "INDEX records_" + KeyColumn(k) + " ON records (" + KeyColumn(k) + ");";
  }
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) {
    Statement insert;
    rc = insert.Prepare(db, "INSERT INTO definition VALUES (?1, 0)");
    if (rc == SQLITE_OK) {
      const std::string layout = EncodeFileDefinition(definition);
      BindBlob(insert.get(), 1, layout);
      rc = sqlite3_step(insert.get());
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
  }
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  const int closed = sqlite3_close(db);  // checkpoints the WAL into the file
  if (rc == SQLITE_OK) rc = closed;
  if (rc == SQLITE_OK) return kRmOk;
  return StatusOfSqlite(rc) == kRmFileFull ? kRmFileFull : kRmCannotCreate;
}

}  // namespace

int16_t SqliteStorage::Create(const std::string& path, const FileDefinition& definition,
                              bool replace) {
  std::string canonical;
  if (!CanonicalPath(path, &canonical)) return kRmCannotCreate;
  // The exclusive open lock keeps every other open and Create out meanwhile.
  LockFile lock;
  if (const int error = lock.Open(canonical); error != 0) {
    return StatusOfErrno(error, kRmCannotCreate);
  }
  if (!lock.TryLockOpen(/*exclusive=*/true)) return kRmFileInUse;
  struct stat st;
  if (lstat(canonical.c_str(), &st) == 0 && !replace) return kRmFileExists;

  const std::string fresh = canonical + ".new";
  RemoveDatabaseFiles(fresh, /*also_main=*/true);
  int16_t status = BuildDatabase(fresh, definition);
  if (status == kRmOk) {
    // A WAL left by the old file would be replayed into the new one.
    RemoveDatabaseFiles(canonical, /*also_main=*/false);
    if (rename(fresh.c_str(), canonical.c_str()) != 0) {
      status = StatusOfErrno(errno, kRmCannotCreate);
    } else {
      SyncFolderOf(canonical);
    }
  }
  RemoveDatabaseFiles(fresh, /*also_main=*/status != kRmOk);
  return status;
}

int16_t SqliteStorage::Open(const std::string& path, bool exclusive,
                            std::unique_ptr<StoredFile>* file) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? kRmFileNotFound
                                               : StatusOfErrno(errno, kRmIoError);
  }
  if (!S_ISREG(st.st_mode)) return kRmNotARecordFile;
  std::string canonical;
  if (!CanonicalPath(path, &canonical)) return kRmFileNotFound;
  auto opened = std::make_unique<SqliteFile>();
  if (const int16_t status = opened->Open(canonical, exclusive); status != kRmOk) return status;
  *file = std::move(opened);
  return kRmOk;
}

}  // namespace qav
