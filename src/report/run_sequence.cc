#include "report/run_sequence.h"

#include "frame/session.h"
#include "frame/settings.h"
#include "platform/console.h"
#include "platform/system.h"

namespace qav {

void PrepareSession() {
  ReadSessionSettings();
  // A root that does not exist is not an error here: the files under it then
  // fail to open and say so.
  if (!Session().RootDir.empty()) SetCurrentFolder(Session().RootDir);
  SetProgramName("KARVELOT");
}

int RunKarvelot() {
  SetCursorShape(CursorShape::kHidden);
  PrepareSession();
  // The forms, the three data files and the report driver join here as they
  // are built; the program then ends as it always does.
  RefreshConsole();
  return 0;
}

}  // namespace qav
