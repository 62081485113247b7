#include "recman/key_collation.h"

#include <algorithm>

namespace qav {

std::string KeyValue(const FileDefinition& definition, int key, std::string_view record) {
  std::string value;
  for (const KeySegment& segment : definition.keys[key].segments) {
    value.append(record.substr(segment.position - 1, segment.length));
  }
  return value;
}

std::string CollationForm(const FileDefinition& definition, int key, std::string_view value) {
  std::string form(value);
  size_t at = 0;
  for (const KeySegment& segment : definition.keys[key].segments) {
    const auto begin = form.begin() + static_cast<std::ptrdiff_t>(at);
    const auto end = begin + segment.length;
    if (segment.flags & kSegmentBinary) {
      std::reverse(begin, end);
    } else if (segment.flags & kSegmentAlternate) {
      for (auto it = begin; it != end; ++it) {
        *it = static_cast<char>(definition.alternate_table[static_cast<uint8_t>(*it)]);
      }
    }
    at += segment.length;
  }
  return form;
}

}  // namespace qav
