// A suite in a temporary folder for report tests: the installation's form
// and language files, Varn.ini, and the three record files filled with the
// properties, co-owners and receipts a test gives.
#ifndef QAV_TESTS_REPORT_REPORT_FIXTURE_H_
#define QAV_TESTS_REPORT_REPORT_FIXTURE_H_

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "data/record_files.h"
#include "data/suite_records.h"
#include "frame/session.h"
#include "recman/record_manager.h"
#include "support/temp_dir.h"
#include "util/dates.h"
#include "util/packed_digits.h"

namespace qav::testing {

inline std::string SourceFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().string() + "/";
}

struct Receipt {
  int property, owner;
  const char* issued;     // YYYYMMDD
  int sequence;
  const char* collected;  // YYYYMMDD or "" for none
  int32_t cents;
  char state;
};

class ReportSuite {
 public:
  ReportSuite() {
    std::filesystem::copy(SourceFolder() + "suite/FORMS", dir.path() + "FORMS");
    std::filesystem::copy(SourceFolder() + "suite/LOCALE", dir.path() + "LOCALE");
    std::filesystem::create_directories(dir.path() + "DADES");
    std::filesystem::create_directories(dir.path() + "work");
    dir.Write("ddf/FinquesH.xdf", DataDefinitionFile(PropertyFileDefinition()));
    dir.Write("ddf/PropietH.xdf", DataDefinitionFile(OwnerFileDefinition()));
    dir.Write("ddf/CobramH.xdf", DataDefinitionFile(ReceiptFileDefinition()));
    SetVarn("[Usuari]\r\nEmpresa=Finques Montseny, SL\r\n");
  }
  void SetVarn(const std::string& text) { dir.Write("Varn.ini", text); }
  std::string Root() const { return dir.path(); }

  static std::string Code(int code) { return PackDigits(ZeroPad(code, 4)); }
  static std::string OwnerKey(int property, int owner) {
    return PackDigits(ZeroPad(property, 4) + ZeroPad(owner, 4));
  }

  void AddProperty(int code, const std::string& name) {
    Insert("FinquesH", EncodeProperty({Code(code), name}));
  }
  void AddOwner(int property, int owner, const std::string& name, const std::string& apartment) {
    Insert("PropietH", EncodeOwner({OwnerKey(property, owner), name, apartment}));
  }
  void AddReceipt(const Receipt& r) {
    ReceiptRecord record;
    record.owner_key = OwnerKey(r.property, r.owner);
    record.issued = PackDigits(r.issued);
    record.sequence = PackDigits(ZeroPad(r.sequence, 2));
    record.collected = *r.collected ? PackDigits(r.collected) : std::string(kZeroDate);
    record.amount_cents = r.cents;
    record.state = r.state;
    Insert("CobramH", EncodeReceipt(record));
  }

  TempDir dir;

 private:
  void Insert(const char* base, const std::string& record) {
    const std::string path = dir.path() + "DADES/" + base + ".dat";
    if (!std::filesystem::exists(path)) {
      FileDefinition d;
      SuiteFileDefinition(base, &d);
      std::string data = EncodeFileDefinition(d);
      data.resize(1536, '\0');
      std::string key = path + '\0';
      uint32_t length = 1536;
      std::array<char, kPositionBlockSize> none{};
      ASSERT_EQ(RecordManagerCall(kOpCreate, none.data(), data.data(), &length, key.data(),
                                  static_cast<int16_t>(path.size()), kCreateNew), 0);
    }
    std::array<char, kPositionBlockSize> block{};
    std::string key = path + '\0';
    uint32_t length = 0;
    ASSERT_EQ(RecordManagerCall(kOpOpen, block.data(), nullptr, &length, key.data(),
                                static_cast<int16_t>(path.size()), 0), 0);
    std::string data = record;
    std::string key_out(256, '\0');
    length = static_cast<uint32_t>(data.size());
    ASSERT_EQ(RecordManagerCall(kOpInsert, block.data(), data.data(), &length, key_out.data(), 255, 0), 0);
    RecordManagerCall(kOpClose, block.data(), nullptr, &length, nullptr, 0, 0);
  }
};

}  // namespace qav::testing

#endif  // QAV_TESTS_REPORT_REPORT_FIXTURE_H_
