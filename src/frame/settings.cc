#include "frame/settings.h"

#include <cmath>
#include <cstdlib>

#include "frame/session.h"
#include "platform/files.h"
#include "platform/system.h"
#include "util/packed_digits.h"

namespace qav {
namespace {

constexpr char kDefaultScheme[] = "15000700000700070007";

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Letters compare without case in code page 850's ASCII range; the suite's
// section and key names are ASCII.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

std::string FitTo3(std::string text) {
  text.resize(3, ' ');
  return text;
}

}  // namespace

std::string ReadSetting(std::string_view path, std::string_view section, std::string_view key) {
  std::string result;
  TextFileReader file;
  if (!file.Open(path)) return result;
  const std::string_view wanted_section = TrimSpaces(section);
  const std::string_view wanted_key = TrimSpaces(key);
  bool in_section = false;
  std::string raw;
  while (file.ReadLine(&raw)) {
    std::string_view line = raw;
    if (size_t semicolon = line.find(';'); semicolon != std::string_view::npos) {
      line = line.substr(0, semicolon);
    }
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (TrimSpaces(line).empty()) continue;
    if (!in_section) {
      if (line.front() != '[') continue;
      std::string_view name = line.substr(1);
      if (size_t close = name.find(']'); close != std::string_view::npos) {
        name = name.substr(0, close);
      }
      in_section = SameName(TrimSpaces(name), wanted_section);
      continue;
    }
    if (line.front() == '[') break;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view name = line.substr(0, equals);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (SameName(name, wanted_key)) {
      result.assign(line.substr(equals + 1));
      break;
    }
  }
  file.Close();
  if (result.size() > 1 && result.front() == '"' && result.back() == '"') {
    result = result.substr(1, result.size() - 2);
  }
  return result;
}

std::string NormaliseFolder(std::string folder) {
  // "/" ends a folder on this host just as "\\" does in the suite's paths.
  if (!folder.empty() && folder.back() != ':' && folder.back() != '\\' && folder.back() != '/') {
    folder.push_back('\\');
  }
  return folder;
}

int16_t ReadNumber16(std::string_view text) {
  // Only what forms a decimal number is taken: blanks, a sign, digits, a
  // decimal point and an exponent. Words such as "inf" or "0x10" read as
  // far as they are digits.
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string number;
  auto digits = [&] {
    size_t n = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && number.size() < 400) {
      number.push_back(text[i++]);
      ++n;
    }
    return n;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.push_back(text[i++]);
  size_t mantissa = digits();
  if (i < text.size() && text[i] == '.') {
    number.push_back(text[i++]);
    mantissa += digits();
  }
  if (mantissa == 0) return 0;
  if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    const size_t mark = i;
    std::string exponent = "e";
    ++i;
    if (text[i] == '+' || text[i] == '-') exponent.push_back(text[i++]);
    const size_t before = number.size();
    if (digits() > 0) {
      number.insert(before, exponent);
    } else {
      i = mark;
    }
  }
  long double value = std::strtold(number.c_str(), nullptr);
  value = std::nearbyint(value);  // the default rounding mode: halves to even
  if (!(value <= 32767)) return 32767;
  if (value < -32768) return -32768;
  return static_cast<int16_t>(value);
}

void SetCurrencyMode(std::string_view spec) {
  SessionValues& s = MutableSessionForSettings();
  auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
  const char first = spec.empty() ? '\0' : upper(spec.front());
  const size_t comma = spec.find(',');
  if (comma != std::string_view::npos && comma > 0) {
    const std::string_view after = TrimSpaces(spec.substr(comma + 1));
    if (first == 'A') {
      s.BaseCurrency = after.empty() ? std::string("E") : std::string(1, upper(after.front()));
      s.CurrentCurrency = s.BaseCurrency;
    } else {
      s.PrintCurrency = after.empty() ? s.BaseCurrency : std::string(1, upper(after.front()));
    }
    return;
  }
  if (first == 'P' && !s.PrintCurrency.empty()) {
    s.CurrentCurrency = s.PrintCurrency;
  } else {
    s.CurrentCurrency = s.BaseCurrency;
  }
}

void ReadSessionSettings() {
  SessionValues& s = MutableSessionForSettings();
  for (auto& slot : s.ColourTable) slot = {0, 0};
  s.RootDir = GetEnvironment("QAVROOT");
  s.ExeDir = GetEnvironment("QAVEXE");
  s.WorkDir = NormaliseFolder(GetEnvironment("QAVTMP"));

  const std::string session_file = s.WorkDir + "Sessio.ini";
  s.MenuTitle = " " + ReadSetting(session_file, "Menu", "Titol") + " ";
  s.MenuName = ReadSetting(session_file, "Menu", "NomMenu");
  s.TerminalDir = ReadSetting(session_file, "Terminal", "Dir");
  if (s.TerminalDir.empty()) s.TerminalDir = GetEnvironment("TERM");
  s.TerminalDir = NormaliseFolder(s.TerminalDir);
  if (s.WorkDir.empty()) s.WorkDir = s.TerminalDir;

  SetCurrencyMode("a,E");

  const std::string terminal_file = s.WorkDir + "VarnTerm.ini";
  const int16_t scheme_number = ReadNumber16(ReadSetting(terminal_file, "Pantalla", "Seleccio"));
  std::string scheme =
      ReadSetting(terminal_file, "Pantalla", "Col" + std::to_string(scheme_number));
  if (scheme.empty()) scheme = kDefaultScheme;
  for (size_t slot = 0; slot < 5; ++slot) {
    for (size_t part = 0; part < 2; ++part) {
      const size_t at = 4 * slot + 2 * part;
      s.ColourTable[slot][part] = at < scheme.size() ? ReadNumber16(scheme.substr(at, 2)) : 0;
    }
  }
  s.WorkDate = PackDigits(ReadSetting(terminal_file, "Sistema", "Data"));
  s.PrintDevice = ReadSetting(terminal_file, "Sistema", "Sortida");
  s.SessionLanguage = FitTo3(ReadSetting(terminal_file, "Sistema", "Idioma"));
  if (TrimSpaces(s.SessionLanguage).empty()) {
    s.SessionLanguage =
        FitTo3(ReadSetting(GetEnvironment("QAVROOT") + "Varn.ini", "Usuari", "Idioma"));
  }

  if (!GetEnvironment("HTTP_USER_AGENT").empty() || !GetEnvironment("HTTP_ACCEPT").empty()) {
    s.RunEnvironment = "CGI";
  } else if (!GetEnvironment("WINDIR").empty() || !GetEnvironment("SYSTEMROOT").empty()) {
    s.RunEnvironment = "WIN";
  } else {
    s.RunEnvironment = "DOS";
  }
}

}  // namespace qav
