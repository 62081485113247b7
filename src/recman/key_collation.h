// Key values and their collation form. A key's value is its segments' bytes
// taken from the record one after another; its collation form is bytes of
// the same length whose plain byte order (memcmp, as SQLite compares BLOBs)
// is the key order: binary segments reversed, so that a little-endian
// unsigned number compares by its most significant byte first, segments
// with the alternate collating sequence translated through its table, the
// others unchanged.
#ifndef QAV_RECMAN_KEY_COLLATION_H_
#define QAV_RECMAN_KEY_COLLATION_H_

#include <string>
#include <string_view>

#include "recman/file_definition.h"

namespace qav {

// `record` holds at least the file's record length.
std::string KeyValue(const FileDefinition& definition, int key, std::string_view record);

// `value` holds exactly the key's length.
std::string CollationForm(const FileDefinition& definition, int key, std::string_view value);

}  // namespace qav

#endif  // QAV_RECMAN_KEY_COLLATION_H_
