#include "datatool/data_definitions.h"

#include <filesystem>
#include <fstream>

#include "data/suite_records.h"
#include "datatool/record_rows.h"

namespace qav {

ToolStatus WriteDataDefinitions(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error)
    return ToolStatus::Error("cannot create the folder " + folder + ": " + error.message());
  for (Table table : {Table::kProperties, Table::kOwners, Table::kReceipts}) {
    const std::string base = InfoOf(table).file_base;
    FileDefinition definition;
    SuiteFileDefinition(base, &definition);
    const std::string bytes = DataDefinitionFile(definition);
    const std::string path = (std::filesystem::path(folder) / (base + ".xdf")).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return ToolStatus::Error("cannot write " + path);
  }
  return ToolStatus();
}

}  // namespace qav
