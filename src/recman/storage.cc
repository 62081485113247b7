#include "recman/storage.h"

#include "recman/sqlite_storage.h"

namespace qav {

Storage& StorageFor(const std::string&) {
  static SqliteStorage sqlite;
  return sqlite;
}

}  // namespace qav
