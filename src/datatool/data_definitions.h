// Writes the data definition files of the suite's three record files
// (FinquesH.xdf, PropietH.xdf, CobramH.xdf) from the built-in definitions,
// for installing under the suite's ddf\ folder, where a missing record file
// is created from them.
#ifndef QAV_DATATOOL_DATA_DEFINITIONS_H_
#define QAV_DATATOOL_DATA_DEFINITIONS_H_

#include <string>

#include "datatool/tool_status.h"

namespace qav {

// Into a host folder, created when missing.
ToolStatus WriteDataDefinitions(const std::string& folder);

}  // namespace qav

#endif  // QAV_DATATOOL_DATA_DEFINITIONS_H_
