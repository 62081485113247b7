#include "platform/suite_path.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

TEST(SuitePathTest, MapsSeparatorsAndCase) {
  testing::TempDir dir;
  dir.Write("DADES/FinquesH.dat", "x");
  dir.Write("forms/Karvelot.qpn", "y");
  dir.Write("Gesti\xC3\xB3/a.txt", "z");  // "Gestió" on the host, in UTF-8
  const std::string root = dir.path();
  struct Case {
    std::string suite;
    std::string host;
  } cases[] = {
      {root + "DADES\\FinquesH.dat", root + "DADES/FinquesH.dat"},
      {root + "dades\\finquesh.DAT", root + "DADES/FinquesH.dat"},
      {root + "FORMS\\KARVELOT.QPN", root + "forms/Karvelot.qpn"},
      {root + "GESTI\xE0\\A.TXT", root + "Gesti\xC3\xB3/a.txt"},  // code page 850 Ó folds to ó
      // Missing parts are kept as written, below a folder that exists or not.
      {root + "DADES\\CobramH.dat", root + "DADES/CobramH.dat"},
      {root + "NOVA\\Sub\\f.tmp", root + "NOVA/Sub/f.tmp"},
  };
  for (const Case& c : cases) EXPECT_EQ(HostPath(c.suite), c.host) << c.suite;
}

TEST(SuitePathTest, RelativeAndEmptyPaths) {
  EXPECT_EQ(HostPath(""), "");
  EXPECT_EQ(HostPath("no-such-folder\\x"), "no-such-folder/x");
  EXPECT_EQ(HostPath("C:\\TMP\\"), "C:/TMP/");
}

TEST(SuitePathTest, ExactNameWinsOverOtherCase) {
  testing::TempDir dir;
  dir.Write("a/File.txt", "1");
  dir.Write("a/FILE.txt", "2");
  EXPECT_EQ(HostPath(dir.path() + "a\\FILE.txt"), dir.path() + "a/FILE.txt");
  // Without an exact match the choice is the same every time.
  EXPECT_EQ(HostPath(dir.path() + "a\\file.txt"), dir.path() + "a/FILE.txt");
}

}  // namespace
}  // namespace qav
