#include "report/run_sequence.h"

#include "data/record_files.h"
#include "data/suite_records.h"
#include "forms/form_set.h"
#include "frame/session.h"
#include "frame/settings.h"
#include "platform/console.h"
#include "platform/cp850.h"
#include "platform/system.h"
#include "report/receipt_report.h"
#include "screen/message_box.h"
#include "screen/windows.h"

namespace qav {

void PrepareSession() {
  ReadSessionSettings();
  // A root that does not exist is not an error here: the files under it then
  // fail to open and say so.
  if (!Session().RootDir.empty()) SetCurrentFolder(Session().RootDir);
  SetProgramName("KARVELOT");
}

bool StartReportFiles(std::string* error) {
  if (!LoadFormSet(error)) return false;
  const std::string& root = Session().RootDir;
  OpenRecordFile(kPropertyFile, root + "DADES\\FinquesH", PropertyBuffer(), kPropertyRecordLength);
  OpenRecordFile(kOwnerFile, root + "DADES\\PropietH", OwnerBuffer(), kOwnerRecordLength);
  OpenRecordFile(kReceiptFile, root + "DADES\\CobramH", ReceiptBuffer(), kReceiptRecordLength);
  return true;
}

int RunKarvelot() {
  SetCursorShape(CursorShape::kHidden);
  PrepareSession();
  std::string error;
  if (!StartReportFiles(&error)) {
    // Without its forms the program cannot go on: it says which file is
    // wrong and where, and ends as it always does.
    ShowMessageBox(12, error);
    Beep();
    DiscardInput();
    WaitEvent();
    CloseWindow();
    return 0;
  }
  // The report driver joins here with the selection form.
  ResetRecordFiles();
  return 0;
}

}  // namespace qav
