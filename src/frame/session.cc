#include "frame/session.h"

namespace qav {
namespace {

SessionValues& Values() {
  static SessionValues values;
  return values;
}

}  // namespace

const SessionValues& Session() { return Values(); }
SessionValues& MutableSessionForSettings() { return Values(); }
void SetProgramName(const std::string& name) { Values().ProgramName = name; }
void ResetSession() { Values() = SessionValues{}; }

}  // namespace qav
