#include "forms/form_set.h"

#include <gtest/gtest.h>

#include "forms/translate.h"
#include "frame/session.h"
#include "support/temp_dir.h"
#include "util/packed_digits.h"

namespace qav {
namespace {

// Two forms and one lookup list, with comments where records begin.
constexpr char kForms[] =
    "' KARVELOT forms\r\n"
    "2,6\r\n"
    "\r\n"
    "' selection\r\n"
    "\"1b,d,4800\",4,2,3,5,12,70\r\n"
    "2,3,\"Data des de: \",10,0,0,0,1,0,\"\"\r\n"
    "3,3,\"Data fins a: \",10,0,0,0,1,0,\"\"\r\n"
    "5,3,\"Finca des de: \",4,0,30,0,2,1,\"\"\r\n"
    "6,3,Finca fins a: ,4,0,30,8,2,1,\r\n"
    "' confirmation\r\n"
    "\"1b,d\",1,0,10,20,14,60\r\n"
    "2,3,\"Correcte? \",1,0,10,0,0,0,\"|S,S\xA1|N,No\"\r\n"
    "'lookups\r\n"
    "1\r\n"
    "' the properties\r\n"
    "511,0,4,10,20,70,0,\"Codi  Nom de la finca\",0\r\n";

class FormSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetTranslations();
    ResetFormSet();
    SessionValues& s = MutableSessionForSettings();
    s.RootDir = dir_.path();
    s.ProgramName = "KARVELOT";
    s.SessionLanguage = "CAT";
    s.WorkDate = PackDigits("20240403");
  }
  bool Load(const std::string& content) {
    error_.clear();
    return LoadFormSetFrom(content, "KARVELOT.QPN", &error_);
  }
  testing::TempDir dir_;
  std::string error_;
};

TEST_F(FormSetTest, LoadsFormsFieldsAndLookups) {
  ASSERT_TRUE(Load(kForms)) << error_;
  EXPECT_EQ(FormCount(), 2);
  EXPECT_EQ(MaxFields(), 6);
  EXPECT_EQ(LookupCount(), 1);
  const FormDef* f1 = Form(1);
  ASSERT_NE(f1, nullptr);
  EXPECT_EQ(f1->FormKeys, "1b,d,4800");
  EXPECT_EQ(f1->FieldCount, 4);
  EXPECT_EQ(f1->NextForm, 2);
  EXPECT_EQ(f1->FormWindow, (std::array<int16_t, 4>{3, 5, 12, 70}));
  const FieldDef* code_to = Field(1, 4);
  ASSERT_NE(code_to, nullptr);
  EXPECT_EQ(code_to->FieldPrompt, "Finca fins a:");  // unquoted: to the comma, blanks cut
  EXPECT_EQ(code_to->FieldFlags, kCursorAtEnd);
  EXPECT_EQ(code_to->FieldType, kNumberField);
  EXPECT_EQ(code_to->FieldLookup, 1);
  EXPECT_EQ(code_to->FieldOptions, "");
  EXPECT_EQ(Field(2, 1)->FieldOptions, "|S,S\xA1|N,No");
  EXPECT_EQ(Field(2, 1)->FieldValue, " ");
  EXPECT_EQ(Lookup(1)->LookupFile, 511);
  EXPECT_EQ(Lookup(1)->LookupHeading, "Codi  Nom de la finca");
  EXPECT_EQ(Lookup(2), nullptr);
  EXPECT_EQ(Field(1, 5), nullptr);
  EXPECT_EQ(Field(3, 1), nullptr);
  // The selection form's initial values.
  EXPECT_EQ(FieldValue(1, 1), "030424    ");
  EXPECT_EQ(FieldValue(1, 2), "030424    ");
  EXPECT_EQ(FieldValue(1, 3), "1   ");
  EXPECT_EQ(FieldValue(1, 4), "999 ");
  SetFieldValue(1, 3, "123456");
  EXPECT_EQ(FieldValue(1, 3), "1234");
  // Catalan: no language file is looked for.
  EXPECT_FALSE(std::filesystem::exists(dir_.path() + "LOCALE"));
}

TEST_F(FormSetTest, TranslatesAtLoad) {
  dir_.Write("LOCALE/KARVELOT.LNG",
             "\"Data des de: \",\"Data desde: \",\"Data dempu\x82s: \",\"Fecha desde: \"\r\n"
             "\"Correcte? \",\"Correcto? \",\"Corr\x8a""cte? \",\"\xA8""Correcto? \"\r\n"
             "\"Codi  Nom de la finca\",\"Cod.\",\"C\xA2""d.\",\"\"\r\n");
  struct Case {
    const char* language;
    std::string prompt;
    std::string heading;
  } cases[] = {
      {"SPA", "Fecha desde: ", ""},  // an empty translation is empty
      {"GLG", "Data desde: ", "Cod."},
      {"OCI", "Data dempu\x82s: ", "C\xA2" "d."},
      {"ENG", "Data des de: ", "Codi  Nom de la finca"},  // other codes keep the text
      {"   ", "Data des de: ", "Codi  Nom de la finca"},
  };
  for (const Case& c : cases) {
    MutableSessionForSettings().SessionLanguage = c.language;
    ASSERT_TRUE(Load(kForms)) << error_;
    EXPECT_EQ(Field(1, 1)->FieldPrompt, c.prompt) << c.language;
    EXPECT_EQ(Lookup(1)->LookupHeading, c.heading) << c.language;
    EXPECT_EQ(Field(1, 2)->FieldPrompt, "Data fins a: ") << c.language;  // no record
  }
}

TEST_F(FormSetTest, TranslateLookups) {
  MutableSessionForSettings().SessionLanguage = "SPA";
  // Missing file and folder: the text itself.
  EXPECT_EQ(Translate("PÀGINA"), "PÀGINA");
  // A missing file in an existing folder is created empty.
  dir_.Write("LOCALE/.keep", "");
  EXPECT_EQ(Translate("TOTAL"), "TOTAL");
  EXPECT_TRUE(std::filesystem::exists(dir_.path() + "LOCALE/KARVELOT.LNG"));
  dir_.Write("LOCALE/KARVELOT.LNG",
             "TOTAL,TOTAL G,TOTAL O,TOTAL E\r\n"
             "TOTAL,second,second,second\r\n"
             "\"TOTAL \",x,x,x\r\n"
             "LAST ONLY");
  EXPECT_EQ(Translate("TOTAL"), "TOTAL E");  // the first record wins
  EXPECT_EQ(Translate("TOTAL "), "x");       // keys match byte for byte
  EXPECT_EQ(Translate("TOTA"), "TOTA");
  EXPECT_EQ(Translate("LAST ONLY"), "LAST ONLY");
  // The file is read again when it changes.
  dir_.Write("LOCALE/KARVELOT.LNG", "TOTAL,a,b,SUMA TOTAL\r\n");
  EXPECT_EQ(Translate("TOTAL"), "SUMA TOTAL");
}

TEST_F(FormSetTest, DamagedFilesAreNamedWithTheirLine) {
  struct Case {
    const char* name;
    std::string content;
    const char* fault;
  } cases[] = {
      {"empty", "", "line 1: the form count: the file ends"},
      {"one form", "1,4\r\n", "the form count 1 is outside 2 to 100"},
      {"too many fields", "2,2\r\n\"\",3,0,0,0,0,0\r\n", "line 2: the field count 3 is outside 0 to 2"},
      {"not a number", "2,x6\r\n", "the most fields of a form: expected a number, found \"x6\""},
      {"huge number", "2,99999999\r\n", "out of range"},
      {"cut short", std::string(kForms).substr(0, 200), "line 9: the info width: expected a number, found nothing"},
      {"missing lookup list", std::string(kForms).substr(0, std::string(kForms).find("'lookups")),
       "the lookup count: the file ends"},
      {"lookup out of range",
       std::string(kForms).substr(0, std::string(kForms).find("'lookups")) + "0\r\n",
       "the lookup count 0 is outside 1 to 100"},
      {"binary", std::string("2,6\r\n\0\x01\x02", 8), "binary content"},
      {"few selection fields",
       "2,6\r\n\"\",1,0,0,0,0,0\r\n1,1,a,1,0,0,0,0,0,\r\n\"\",1,0,0,0,0,0\r\n1,1,a,1,0,0,0,0,0,\r\n1\r\n"
       "1,0,1,1,5,5,0,h,0\r\n",
       "form 1 needs its four selection fields"},
      {"comment inside a form group",
       "2,6\r\n\"\",4,0,0,0,0,0\r\n' no\r\n", "line 3: the field row: expected a number"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Load(c.content)) << c.name;
    EXPECT_NE(error_.find(c.fault), std::string::npos) << c.name << ": " << error_;
    EXPECT_EQ(error_.rfind("KARVELOT.QPN", 0), 0u) << c.name;
    EXPECT_EQ(FormCount(), 0) << c.name;  // nothing half-loaded
    EXPECT_EQ(Field(1, 1), nullptr) << c.name;
  }
}

TEST_F(FormSetTest, MissingFormFile) {
  std::string error;
  EXPECT_FALSE(LoadFormSet(&error));
  EXPECT_NE(error.find("FORMS\\KARVELOT.QPN: the form file cannot be read"), std::string::npos)
      << error;
  dir_.Write("forms/karvelot.qpn", kForms);  // found in any case
  EXPECT_TRUE(LoadFormSet(&error)) << error;
}

}  // namespace
}  // namespace qav
