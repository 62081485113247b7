// The session values: what the suite's environment and settings files say
// about this run (folders, language, colours, working date, print
// destination, currency). One process-wide record, filled once at start by
// ReadSessionSettings and read by every module; only the currency values
// change afterwards, through SetCurrencyMode.
#ifndef QAV_FRAME_SESSION_H_
#define QAV_FRAME_SESSION_H_

#include <array>
#include <cstdint>
#include <string>

namespace qav {

struct SessionValues {
  std::string RootDir;      // QAVROOT as given; paths are formed by appending to it
  std::string ExeDir;       // QAVEXE as given
  std::string WorkDir;      // QAVTMP normalised, else TerminalDir
  std::string TerminalDir;  // Sessio.ini [Terminal] Dir, else TERM, normalised
  std::string MenuTitle;    // " " + Sessio.ini [Menu] Titol + " "
  std::string MenuName;     // Sessio.ini [Menu] NomMenu
  // Five colour pairs (foreground, background).
  std::array<std::array<int16_t, 2>, 5> ColourTable{};
  std::string WorkDate;         // packed digits of VarnTerm.ini [Sistema] Data
  std::string PrintDevice;      // VarnTerm.ini [Sistema] Sortida
  std::string SessionLanguage;  // 3 characters: SPA, GLG, OCI, anything else Catalan
  std::string RunEnvironment;   // CGI, WIN or DOS
  std::string BaseCurrency;
  std::string PrintCurrency;
  std::string CurrentCurrency;  // "P" pesetas, anything else euros
  std::string ProgramName;
};

// Read access for every module.
const SessionValues& Session();

// The program's name, set once by start-up.
void SetProgramName(const std::string& name);

// Empties every value, as before start-up; for tests.
void ResetSession();

// Write access for the settings reader only (settings.cc) and for tests
// that need a given session.
SessionValues& MutableSessionForSettings();

}  // namespace qav

#endif  // QAV_FRAME_SESSION_H_
