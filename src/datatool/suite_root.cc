#include "datatool/suite_root.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "data/suite_records.h"
#include "platform/cp850.h"
#include "platform/suite_path.h"
#include "platform/system.h"

namespace qav {

ToolStatus ResolveRoot(const std::string& root_option, std::string* root) {
  if (root_option.empty()) {
    *root = GetEnvironment("QAVROOT");
    if (root->empty()) {
      return ToolStatus::Error("no suite root: give --root DIR or set QAVROOT");
    }
    return ToolStatus();
  }
  // The suite writes "\" for "/", so a host name holding one cannot be
  // reached through suite paths; nor can one outside code page 850.
  if (root_option.find('\\') != std::string::npos || !IsCp850Representable(root_option)) {
    return ToolStatus::Error(
        "the root folder " + root_option +
        " has a character the suite cannot name (\\ or outside code page 850)");
  }
  *root = Utf8ToCp850(root_option);
  if (root->back() != '/') root->push_back('/');
  return ToolStatus();
}

std::string RecordFilePath(const std::string& root, Table table) {
  return root + "DADES\\" + InfoOf(table).file_base + ".dat";
}

ToolStatus OpenSuiteFile(const std::string& root, Table table, bool create, DataFile* file) {
  const std::string path = RecordFilePath(root, table);
  if (!create) return file->Open(path);
  const std::string folder = HostPath(root + "DADES");
  struct stat st;
  // A root that does not exist is a mistyped root, not a new suite.
  if (stat(HostPath(root).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return ToolStatus::Error("the suite root " + HostPath(root) + " is not a folder");
  }
  if (stat(folder.c_str(), &st) != 0) {
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
      return ToolStatus::Error("cannot create the folder " + folder + ": " + std::strerror(errno));
    }
  } else if (!S_ISDIR(st.st_mode)) {
    return ToolStatus::Error(folder + " is not a folder");
  }
  FileDefinition builtin;
  SuiteFileDefinition(InfoOf(table).file_base, &builtin);
  return file->OpenOrCreate(path, root + "ddf\\" + InfoOf(table).file_base + ".xdf", builtin);
}

}  // namespace qav
