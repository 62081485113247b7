#include "datatool/data_definitions.h"

#include <gtest/gtest.h>

#include "data/suite_records.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

TEST(DataDefinitionsTest, WritesTheThreeDefinitionFiles) {
  testing::TempDir dir;
  ASSERT_TRUE(WriteDataDefinitions(dir.path() + "ddf").ok());
  struct Case {
    const char* file;
    FileDefinition definition;
  } cases[] = {{"ddf/FinquesH.xdf", PropertyFileDefinition()},
               {"ddf/PropietH.xdf", OwnerFileDefinition()},
               {"ddf/CobramH.xdf", ReceiptFileDefinition()}};
  for (const Case& c : cases) {
    const std::string bytes = dir.Read(c.file);
    EXPECT_EQ(bytes, DataDefinitionFile(c.definition)) << c.file;
    // What a missing file is created from: the length, then creation data.
    ASSERT_GE(bytes.size(), 2u);
    FileDefinition parsed;
    EXPECT_EQ(ParseFileDefinition(bytes.substr(2), &parsed), 0);
    EXPECT_EQ(parsed.record_length, c.definition.record_length);
  }
  dir.Write("file", "x");
  EXPECT_FALSE(WriteDataDefinitions(dir.path() + "file/ddf").ok());
}

}  // namespace
}  // namespace qav
