#include "frame/settings.h"

#include <gtest/gtest.h>

#include "frame/session.h"
#include "support/temp_dir.h"
#include "util/packed_digits.h"

namespace qav {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

TEST(ReadSettingTest, Lookups) {
  TempDir dir;
  const std::string file = dir.Write(
      "s.ini",
      "Titol=before any section\r\n"
      "; a comment\r\n"
      "   [ pantalla ]  \r\n"
      "seleccio=2\r\n"
      "Seleccio=3\r\n"
      "Sortida=LPT1 ; printer\r\n"
      "Buit=\r\n"
      "Titol = Gestió\r\n"
      "Quote=\"\r\n"
      "Quotes=\"\"\r\n"
      "Quoted=\"a;b\"\r\n"
      "Wrapped=\" x \"\r\n"
      "Tabbed\t=1\r\n"
      "no equals sign\r\n"
      "[Sistema\r\n"
      "Data=20240403\n"
      "[Pantalla]\r\n"
      "Only=second\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"Pantalla", "Seleccio", "2"},          // the first of two keys
      {" PANTALLA ", " seleccio ", "2"},      // names trimmed, any case
      {"Pantalla", "Sortida", "LPT1 "},       // the blank before ";" stays
      {"Pantalla", "Buit", ""},
      {"Pantalla", "Titol", " Gestió"},       // the blank after "=" stays
      {"Pantalla", "Quote", "\""},            // one quote is kept
      {"Pantalla", "Quotes", ""},             // a pair becomes empty
      {"Pantalla", "Quoted", "\"a"},           // ";" cuts even inside quotes
      {"Pantalla", "Wrapped", " x "},
      {"Pantalla", "Tabbed\t", "1"},          // tabs are ordinary characters
      {"Pantalla", "Only", ""},               // only the first section of a name
      {"Sistema", "Data", "20240403"},        // header without "]"
      {"Menu", "Titol", ""},                  // keys before any section are never found
      {"Pantalla", "Missing", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadSetting(file, c.section, c.key), c.value) << c.section << "/" << c.key;
  }
}

TEST(ReadSettingTest, UnreadableFilesAreEmpty) {
  TempDir dir;
  EXPECT_EQ(ReadSetting(dir.path() + "missing.ini", "A", "B"), "");
  EXPECT_EQ(ReadSetting(dir.path(), "A", "B"), "");  // a folder
  std::string binary;
  for (int i = 0; i < 100000; ++i) binary.push_back(static_cast<char>(i * 7919));
  dir.Write("bin.ini", binary + "\n[A]\nB=found\n");
  EXPECT_EQ(ReadSetting(dir.path() + "bin.ini", "A", "B"), "found");
  dir.Write("huge.ini", "[A]\nB=" + std::string(1 << 20, 'v') + "\n");
  EXPECT_EQ(ReadSetting(dir.path() + "huge.ini", "A", "B").size(), (64u << 10) - 2);
}

TEST(NormaliseFolderTest, Cases) {
  EXPECT_EQ(NormaliseFolder("C:\\TMP"), "C:\\TMP\\");
  EXPECT_EQ(NormaliseFolder("C:"), "C:");
  EXPECT_EQ(NormaliseFolder("C:\\TMP\\"), "C:\\TMP\\");
  EXPECT_EQ(NormaliseFolder(""), "");
  // On this host "/" ends a folder as well.
  EXPECT_EQ(NormaliseFolder("/tmp/work/"), "/tmp/work/");
  EXPECT_EQ(NormaliseFolder("/tmp/work"), "/tmp/work\\");
}

TEST(ReadNumber16Test, Cases) {
  struct Case {
    const char* text;
    int16_t value;
  } cases[] = {
      {"2", 2},     {"  7", 7},  {"", 0},         {"abc", 0},      {"1a", 1},
      {"2.5", 2},   {"3.5", 4},  {"-1.5", -2},    {"99999", 32767}, {"-99999", -32768},
      {"1e2", 100}, {"1e", 1},   {"inf", 0},      {"0x10", 0},      {".", 0},
      {"+4", 4},    {"15", 15},  {"00", 0},       {"1e999", 32767},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadNumber16(c.text), c.value) << c.text;
}

TEST(CurrencyModeTest, Sequence) {
  ResetSession();
  SetCurrencyMode("a,E");
  EXPECT_EQ(Session().BaseCurrency, "E");
  EXPECT_EQ(Session().CurrentCurrency, "E");
  SetCurrencyMode("p");  // no print currency yet
  EXPECT_EQ(Session().CurrentCurrency, "E");
  SetCurrencyMode("i, p ");
  EXPECT_EQ(Session().PrintCurrency, "P");
  EXPECT_EQ(Session().CurrentCurrency, "E");
  SetCurrencyMode("p");
  EXPECT_EQ(Session().CurrentCurrency, "P");
  SetCurrencyMode("");
  EXPECT_EQ(Session().CurrentCurrency, "E");
  SetCurrencyMode("x,");  // blank letter: the base currency
  EXPECT_EQ(Session().PrintCurrency, "E");
  SetCurrencyMode("A, ");
  EXPECT_EQ(Session().BaseCurrency, "E");
  SetCurrencyMode(",P");  // comma first: no comma form
  EXPECT_EQ(Session().CurrentCurrency, "E");
}

class SessionSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    root_ = dir_.path() + "root/";
    work_ = dir_.path() + "work/";
    dir_.Write("root/.keep", "");
    dir_.Write("work/.keep", "");
  }
  TempDir dir_;
  std::string root_, work_;
  ScopedEnv root_env_{"QAVROOT", nullptr};
  ScopedEnv exe_env_{"QAVEXE", nullptr};
  ScopedEnv tmp_env_{"QAVTMP", nullptr};
  ScopedEnv term_env_{"TERM", nullptr};
  ScopedEnv agent_{"HTTP_USER_AGENT", nullptr};
  ScopedEnv accept_{"HTTP_ACCEPT", nullptr};
  ScopedEnv windir_{"WINDIR", nullptr};
  ScopedEnv sysroot_{"SYSTEMROOT", nullptr};
};

TEST_F(SessionSettingsTest, FullSuite) {
  ScopedEnv root("QAVROOT", root_.c_str());
  ScopedEnv exe("QAVEXE", "/opt/qav/bin/");
  ScopedEnv tmp("QAVTMP", work_.c_str());
  dir_.Write("work/Sessio.ini",
             "[Menu]\r\nTitol=Gesti\xA2\r\nNomMenu=REBUTS\r\n[Terminal]\r\nDir=T01\r\n");
  dir_.Write("work/VarnTerm.ini",
             "[Pantalla]\r\nSeleccio=2\r\nCol0=00000000000000000000\r\n"
             "Col2=14010701150400020003\r\n[Sistema]\r\nData=20240403\r\n"
             "Sortida=PDF\r\nIdioma=SPANISH\r\n");
  ReadSessionSettings();
  const SessionValues& s = Session();
  EXPECT_EQ(s.RootDir, root_);
  EXPECT_EQ(s.ExeDir, "/opt/qav/bin/");
  EXPECT_EQ(s.WorkDir, work_);
  EXPECT_EQ(s.MenuTitle, " Gesti\xA2 ");
  EXPECT_EQ(s.MenuName, "REBUTS");
  EXPECT_EQ(s.TerminalDir, "T01\\");
  EXPECT_EQ(s.ColourTable[0][0], 14);
  EXPECT_EQ(s.ColourTable[0][1], 1);
  EXPECT_EQ(s.ColourTable[1][0], 7);
  EXPECT_EQ(s.ColourTable[1][1], 1);
  EXPECT_EQ(s.ColourTable[2][0], 15);
  EXPECT_EQ(s.ColourTable[2][1], 4);
  EXPECT_EQ(s.ColourTable[4][0], 0);
  EXPECT_EQ(s.ColourTable[4][1], 3);
  EXPECT_EQ(s.WorkDate, PackDigits("20240403"));
  EXPECT_EQ(s.PrintDevice, "PDF");
  EXPECT_EQ(s.SessionLanguage, "SPA");
  EXPECT_EQ(s.RunEnvironment, "DOS");
  EXPECT_EQ(s.CurrentCurrency, "E");
  EXPECT_EQ(s.PrintCurrency, "");
}

TEST_F(SessionSettingsTest, DefaultsWhenNothingIsThere) {
  ScopedEnv term("TERM", "xterm");
  ReadSessionSettings();
  const SessionValues& s = Session();
  EXPECT_EQ(s.RootDir, "");
  EXPECT_EQ(s.MenuTitle, "  ");
  EXPECT_EQ(s.TerminalDir, "xterm\\");
  EXPECT_EQ(s.WorkDir, "xterm\\");  // falls back to the terminal folder
  const int16_t expected[5][2] = {{15, 0}, {7, 0}, {0, 7}, {0, 7}, {0, 7}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(s.ColourTable[i][0], expected[i][0]);
    EXPECT_EQ(s.ColourTable[i][1], expected[i][1]);
  }
  EXPECT_EQ(s.WorkDate, "");
  EXPECT_EQ(s.SessionLanguage, "   ");
}

TEST_F(SessionSettingsTest, SchemeAndLanguageFallBacks) {
  ScopedEnv root("QAVROOT", root_.c_str());
  ScopedEnv tmp("QAVTMP", work_.c_str());
  dir_.Write("root/Varn.ini", "[Usuari]\r\nIdioma=glg\r\n");
  // Seleccio missing: Col0; a short scheme leaves the rest at 0 on 0.
  dir_.Write("work/VarnTerm.ini", "[Pantalla]\r\nCol0=1500\r\n[Sistema]\r\nIdioma=   \r\n");
  ReadSessionSettings();
  const SessionValues& s = Session();
  EXPECT_EQ(s.ColourTable[0][0], 15);
  EXPECT_EQ(s.ColourTable[0][1], 0);
  for (int i = 1; i < 5; ++i) {
    EXPECT_EQ(s.ColourTable[i][0], 0);
    EXPECT_EQ(s.ColourTable[i][1], 0);
  }
  EXPECT_EQ(s.SessionLanguage, "glg");  // stored as read, so it means Catalan
}

TEST_F(SessionSettingsTest, RunEnvironmentOrder) {
  struct Case {
    const char* agent;
    const char* accept;
    const char* windir;
    const char* sysroot;
    const char* expected;
  } cases[] = {
      {nullptr, "text/html", "C:\\WINDOWS", nullptr, "CGI"},
      {"Mozilla", nullptr, nullptr, nullptr, "CGI"},
      {nullptr, nullptr, nullptr, "C:\\WINDOWS", "WIN"},
      {nullptr, nullptr, nullptr, nullptr, "DOS"},
      {"", "", "", "", "DOS"},
  };
  for (const Case& c : cases) {
    ScopedEnv a("HTTP_USER_AGENT", c.agent), b("HTTP_ACCEPT", c.accept), w("WINDIR", c.windir),
        r("SYSTEMROOT", c.sysroot);
    ReadSessionSettings();
    EXPECT_EQ(Session().RunEnvironment, c.expected);
  }
}

}  // namespace
}  // namespace qav
