#include "platform/suite_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/cp850.h"

namespace qav {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// Case folding for the letters code page 850 holds: ASCII and Latin-1.
std::u32string Folded(std::string_view utf8) {
  std::u32string out;
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t u = 0;
    size_t used = DecodeUtf8(utf8, pos, &u);
    if (used == 0) {
      u = 0xFFFD0000u | static_cast<unsigned char>(utf8[pos]);  // keeps bad bytes distinct
      used = 1;
    }
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) u += 0x20;
    out.push_back(u);
    pos += used;
  }
  return out;
}

// The entry of `folder` that equals `name` without regard to case, or empty.
std::string FindWithoutCase(const std::string& folder, const std::string& name) {
  struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
  };
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return {};
  const std::u32string wanted = Folded(name);
  std::vector<std::string> matches;
  while (dirent* entry = readdir(dir.get())) {
    const std::string candidate = entry->d_name;
    if (Folded(candidate) == wanted) matches.push_back(candidate);
  }
  if (matches.empty()) return {};
  return *std::min_element(matches.begin(), matches.end());  // the same choice every time
}

}  // namespace

std::string HostPath(std::string_view suite_path) {
  std::string path = Cp850ToUtf8(suite_path);
  std::replace(path.begin(), path.end(), '\\', '/');
  std::string result;
  size_t start = 0;
  if (!path.empty() && path[0] == '/') {
    result.assign(1, '/');
    start = 1;
  }
  bool looking = true;  // false once a folder is missing: nothing below it exists
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    const std::string component = path.substr(start, slash - start);
    std::string chosen = component;
    if (looking && !component.empty() && component != "." && component != "..") {
      if (!Exists(result + component)) {
        const std::string found = FindWithoutCase(result, component);
        if (found.empty()) {
          looking = false;
        } else {
          chosen = found;
        }
      }
    }
    result += chosen;
    if (slash < path.size()) result.push_back('/');
    start = slash + 1;
  }
  return result;
}

}  // namespace qav
