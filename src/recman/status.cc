#include "recman/status.h"

namespace qav {

const char* RecordStatusText(int16_t status) {
  switch (status) {
    case kRmOk: return "success";
    case kRmInvalidOperation: return "invalid operation";
    case kRmIoError: return "storage error";
    case kRmFileNotOpen: return "file not open";
    case kRmKeyNotFound: return "key value not found";
    case kRmDuplicateKey: return "duplicate key value";
    case kRmInvalidKeyNumber: return "invalid key number";
    case kRmDifferentKeyNumber: return "different key number";
    case kRmNoCurrentRecord: return "no current record";
    case kRmEndOfFile: return "end of file";
    case kRmInvalidFileName: return "invalid file name";
    case kRmFileNotFound: return "file not found";
    case kRmFileFull: return "disk or file full";
    case kRmKeyBufferTooShort: return "key buffer too short";
    case kRmDataBufferTooShort: return "data buffer too short";
    case kRmInvalidPageSize: return "invalid page size";
    case kRmCannotCreate: return "file cannot be created";
    case kRmInvalidKeyCount: return "invalid number of keys";
    case kRmInvalidKeyDefinition: return "invalid key definition";
    case kRmInvalidRecordLength: return "invalid record length";
    case kRmNotARecordFile: return "not a record file or damaged";
    case kRmInvalidPosition: return "invalid record position";
    case kRmAccessDenied: return "access denied";
    case kRmFileExists: return "file already exists";
    case kRmRecordInUse: return "record in use";
    case kRmFileInUse: return "file in use";
  }
  return "unknown status";
}

}  // namespace qav
