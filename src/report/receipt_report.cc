#include "report/receipt_report.h"

#include <array>
#include <cstring>

#include "data/record_files.h"
#include "data/suite_records.h"
#include "forms/translate.h"
#include "frame/session.h"
#include "frame/settings.h"
#include "report/print_file.h"
#include "report/selection.h"
#include "util/dates.h"
#include "util/number_mask.h"
#include "util/packed_digits.h"
#include "util/text.h"

namespace qav {
namespace {

constexpr int16_t kPageLength = 66;
constexpr char kAmountMask[] = "ZZ,ZZZ,ZZ9";

struct ReportBuffers {
  std::array<char, kPropertyRecordLength> property{};
  std::array<char, kOwnerRecordLength> owner{};
  std::array<char, kReceiptRecordLength> receipt{};
};

ReportBuffers& Buffers() {
  static ReportBuffers buffers;
  return buffers;
}

// What one report keeps while it walks one property.
struct PropertyTotals {
  int16_t page = 0;
  double collected = 0;
  double pending = 0;
};

// The report's fixed texts, in the operator's language, looked up once per
// report rather than on every page.
struct ReportTexts {
  std::string organisation, page, range, property, receipt, apartment, owner, issued,
      collected_on, collected, pending, total;
};

ReportTexts& Texts() {
  static ReportTexts texts;
  return texts;
}

void PrepareTexts() {
  const SelectionBounds& s = Selection();
  ReportTexts& t = Texts();
  t.organisation = OrganisationName();
  t.page = Translate("P\xB7GINA ");
  t.range = Translate("RELACI\xE0 DE REBUTS D'HORITZONTAL EMESOS ENTRE ") +
            FormatDate(s.SelDateFrom, 0, "dma") + Translate(" I ") +
            FormatDate(s.SelDateTo, 0, "dma");
  t.property = Translate("CORRESPONENTS A LA FINCA ");
  t.receipt = Translate("REBUT");
  t.apartment = Translate("DEPART.");
  t.owner = Translate("COPROPIETARI");
  t.issued = Translate("D.EXPED.");
  t.collected_on = Translate("D.COBR.");
  t.collected = Translate("    COBRAT");
  t.pending = Translate("   PENDENT");
  t.total = Translate("TOTAL");
}

std::string PropertyCode() { return std::string(Buffers().property.data(), 2); }
std::string OwnerKey() { return std::string(Buffers().owner.data(), 4); }

// An item at a centred column: never left of the first column.
int16_t CentredColumn(const std::string& text) {
  const int16_t offset = CenterOffset(text, 96);
  return offset < 1 ? int16_t{1} : offset;
}

void Justify(const char* mode) {
  std::string m = mode;
  SetJustify(&m);
}

void PrintPageHeading(PropertyTotals& totals) {
  ++totals.page;
  NewPage(kPageLength);
  PrintControl("@e");
  const ReportTexts& t = Texts();
  PrintItem(1, t.organisation, 0);
  Justify("D");
  PrintItem(85, t.page + FormatPicture("ZZZ9", totals.page), 2);
  PrintItem(CentredColumn(t.range), t.range, 1);
  const PropertyRecord property = DecodeProperty({Buffers().property.data(), kPropertyRecordLength});
  std::string name = property.name;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  const std::string heading = t.property + UnpackDigits(property.code).substr(1, 3) + " - " + name;
  PrintItem(CentredColumn(heading), heading, 2);
  PrintControl("q");
  PrintItem(1, t.receipt, 0);
  PrintItem(18, t.apartment, 0);
  PrintItem(36, t.owner, 0);
  PrintItem(74, t.issued, 0);
  PrintItem(90, t.collected_on, 0);
  Justify("D");
  PrintItem(107, t.collected, 0);
  PrintItem(126, t.pending, 1);
  PrintItem(1, std::string(135, '-'), 1);
}

void PrintReceiptLine(PropertyTotals& totals) {
  if (totals.page == 0) PrintPageHeading(totals);
  if (LinesOnPage() > 60) PrintPageHeading(totals);
  const OwnerRecord owner = DecodeOwner({Buffers().owner.data(), kOwnerRecordLength});
  const ReceiptRecord receipt = DecodeReceipt({Buffers().receipt.data(), kReceiptRecordLength});
  const std::string digits = UnpackDigits(receipt.owner_key);
  const std::string number =
      digits.substr(1, 3) + digits.substr(5, 3) + "H" + UnpackDigits(receipt.sequence);
  PrintItem(1, number, 0);
  PrintItem(18, owner.apartment, 0);
  PrintItem(36, owner.name, 0);
  PrintItem(74, FormatDate(receipt.issued, 0, "dma"), 0);
  PrintItem(90, FormatDate(receipt.collected, 0, "dma"), 0);
  Justify("D");
  const bool pending_column = receipt.state == 'P' || receipt.state == 'D';
  PrintItem(pending_column ? 126 : 107, FormatAmount(kAmountMask, receipt.amount_cents), 1);
  if (receipt.state == 'C' || receipt.state == 'I') {
    totals.collected += receipt.amount_cents;
  } else {
    totals.pending += receipt.amount_cents;
  }
}

void PrintPropertyTotal(PropertyTotals& totals) {
  PrintItem(107, std::string(29, '-'), 1);
  if (LinesOnPage() > 59) PrintPageHeading(totals);
  PrintItem(74, Texts().total, 0);
  Justify("D");
  PrintItem(107, FormatAmount(kAmountMask, totals.collected), 0);
  PrintItem(126, FormatAmount(kAmountMask, totals.pending), 1);
  PrintItem(74, std::string(62, '='), 1);
}

void ReadReceipts() {
  const SelectionBounds& s = Selection();
  int16_t status = ReadByKey(kPropertyFile, 0, s.SelCodeFrom, 1);
  while (status == 0 && PropertyCode() <= s.SelCodeTo) {
    PropertyTotals totals;
    const std::string code = PropertyCode();
    status = ReadByKey(kOwnerFile, 0, code, 1);
    while (status == 0 && OwnerKey().substr(0, 2) == code) {
      const std::string owner_key = OwnerKey();
      const std::string last = owner_key + s.SelDateTo;
      status = ReadByKey(kReceiptFile, 0, owner_key + s.SelDateFrom, 1);
      while (status == 0 && std::string(Buffers().receipt.data(), 8) <= last) {
        PrintReceiptLine(totals);
        status = StepRecord(kReceiptFile, 1);
      }
      status = StepRecord(kOwnerFile, 1);
    }
    if (totals.page > 0) PrintPropertyTotal(totals);
    status = StepRecord(kPropertyFile, 1);
  }
}

}  // namespace

char* PropertyBuffer() { return Buffers().property.data(); }
char* OwnerBuffer() { return Buffers().owner.data(); }
char* ReceiptBuffer() { return Buffers().receipt.data(); }

std::string OrganisationName() {
  return ReadSetting(Session().RootDir + "Varn.ini", "Usuari", "Empresa").substr(0, 40);
}

bool WriteReceiptReport() {
  OpenPrintFile(Session().PrintDevice);
  PrepareTexts();
  SetCurrencyMode("p");
  ReadReceipts();
  SetCurrencyMode("");
  return ClosePrintFile();
}

}  // namespace qav
