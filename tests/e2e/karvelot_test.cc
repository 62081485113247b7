#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

using testing::RunProgram;

TEST(KarvelotTest, HelpAndVersionAnswerWithoutTerminal) {
  auto help = RunProgram("karvelot --help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("Usage: karvelot"), std::string::npos);
  EXPECT_EQ(help.err, "");
  auto version = RunProgram("karvelot --version");
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out.rfind("karvelot ", 0), 0u);
  auto bad = RunProgram("karvelot --bogus");
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_NE(bad.err.find("unknown option '--bogus'"), std::string::npos);
}

TEST(KarvelotTest, SettingsOfASuite) {
  testing::TempDir dir;
  dir.Write("root/Varn.ini", "[Usuari]\r\nIdioma=OCI\r\n");
  dir.Write("work/VarnTerm.ini",
            "[Sistema]\r\nData=20241231\r\nSortida=TXT:/tmp/x.txt\r\n");
  dir.Write("work/Sessio.ini", "[Menu]\r\nTitol=Rebuts\r\n");
  const std::string env = "QAVROOT=" + dir.path() + "root/ QAVTMP=" + dir.path() +
                          "work/ QAVEXE=" + dir.path() + "bin/";
  auto run = RunProgram("karvelot --settings", env);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  for (const std::string& expected :
       {"WorkDir          \"" + dir.path() + "work/\"", std::string("SessionLanguage  \"OCI\""),
        std::string("WorkDate         \"94988C9F\""), std::string("MenuTitle        \" Rebuts \""),
        std::string("PrintDevice      \"TXT:/tmp/x.txt\""), std::string("ProgramName      \"KARVELOT\""),
        std::string("ColourTable      \"15/0 7/0 0/7 0/7 0/7\"")}) {
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
  }
}

TEST(KarvelotTest, NoTerminalIsAClearMessage) {
  // Without a controlling terminal (a new session) the program cannot draw.
  auto run = RunProgram("karvelot", "exec setsid -w");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("karvelot: cannot use the terminal"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace qav
