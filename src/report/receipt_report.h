// The receipt report: for the selection bounds in force, property by
// property in code order, every receipt of the property's co-owners issued
// within the date range, with its number, apartment, co-owner, issue and
// collection dates and amount (collected or pending column), a heading on
// every page (54 receipts a page) and the property's totals. Written to the
// print file over the three record files opened at start (511 properties,
// 513 co-owners, 514 receipts).
#ifndef QAV_REPORT_RECEIPT_REPORT_H_
#define QAV_REPORT_RECEIPT_REPORT_H_

#include <string>

namespace qav {

constexpr int16_t kPropertyFile = 511;
constexpr int16_t kOwnerFile = 513;
constexpr int16_t kReceiptFile = 514;

// The record buffers the three files are opened with.
char* PropertyBuffer();
char* OwnerBuffer();
char* ReceiptBuffer();

// Writes the whole report into the print file; false when the print file
// could not be written (the operator is not told; the batch mode is).
bool WriteReceiptReport();

// The organisation printed at the top of every page: Varn.ini [Usuari]
// Empresa, cut to 40 characters.
std::string OrganisationName();

}  // namespace qav

#endif  // QAV_REPORT_RECEIPT_REPORT_H_
