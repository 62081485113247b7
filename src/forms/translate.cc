#include "forms/translate.h"

#include <sys/stat.h>

#include <array>
#include <unordered_map>

#include "forms/item_reader.h"
#include "frame/session.h"
#include "platform/files.h"
#include "platform/suite_path.h"

namespace qav {
namespace {

struct TranslationState {
  std::string file_name;  // the language file's base name: the program's
  std::string loaded_path;
  int64_t loaded_size = -1;
  int64_t loaded_mtime_ns = -1;
  // Catalan key → Galician, Aranese, Spanish; the first record of a key wins.
  std::unordered_map<std::string, std::array<std::string, 3>> records;
};

TranslationState& State() {
  static TranslationState state;
  return state;
}

void LoadIfChanged(const std::string& path) {
  TranslationState& s = State();
  struct stat st;
  if (stat(HostPath(path).c_str(), &st) != 0) {
    s.records.clear();
    s.loaded_path.clear();
    return;
  }
  const int64_t mtime = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  if (s.loaded_path == path && s.loaded_size == st.st_size && s.loaded_mtime_ns == mtime) return;
  s.records.clear();
  s.loaded_path = path;
  s.loaded_size = st.st_size;
  s.loaded_mtime_ns = mtime;
  std::string content;
  if (!ReadWholeFile(path, &content)) return;
  ItemReader reader(std::move(content));
  std::string key;
  while (reader.ReadText(&key)) {
    std::array<std::string, 3> texts;
    bool complete = true;
    for (std::string& t : texts) complete = complete && reader.ReadText(&t);
    if (!complete) break;  // a last record of only a key ends the file
    s.records.emplace(key, std::move(texts));
  }
}

}  // namespace

std::string Translate(std::string_view text) {
  const SessionValues& session = Session();
  if (session.SessionLanguage == "CAT") return std::string(text);
  TranslationState& s = State();
  if (s.file_name.empty()) s.file_name = session.ProgramName;
  const std::string path = session.RootDir + "LOCALE\\" + s.file_name + ".LNG";
  if (!FileExists(path)) {
    TextFileWriter create;
    if (create.Open(path, /*append=*/true)) create.Close();
  }
  LoadIfChanged(path);
  const auto found = s.records.find(std::string(text));
  if (found == s.records.end()) return std::string(text);
  const std::string& language = session.SessionLanguage;
  if (language == "SPA") return found->second[2];
  if (language == "GLG") return found->second[0];
  if (language == "OCI") return found->second[1];
  return std::string(text);
}

void ResetTranslations() { State() = TranslationState{}; }

}  // namespace qav
