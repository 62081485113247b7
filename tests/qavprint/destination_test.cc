#include "qavprint/destination.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

TEST(DestinationTest, ReadsTheDestinationText) {
  struct Case {
    const char* text;
    Destination expected;
  };
  using D = Destination;
  const Case cases[] = {
      {"", {D::kPreview, ""}},
      {"   ", {D::kPreview, ""}},
      {"PANTALLA", {D::kPreview, ""}},
      {" pantalla ", {D::kPreview, ""}},
      {"PDF", {D::kPdf, ""}},
      {"pdf:", {D::kPdf, ""}},
      {"PDF: /srv/llistats/rebuts.pdf ", {D::kPdf, "/srv/llistats/rebuts.pdf"}},
      {"Pdf:C:\\LLISTATS\\Rebuts.pdf", {D::kPdf, "C:\\LLISTATS\\Rebuts.pdf"}},  // path case kept
      {"TXT:/tmp/r.txt", {D::kText, "/tmp/r.txt"}},
      {"file:r\x82s.txt", {D::kText, "r\x82s.txt"}},
      {"TXT", {D::kText, ""}},
      {"LPT1", {D::kPrinter, ""}},
      {"lpt2", {D::kPrinter, ""}},
      {" PRN ", {D::kPrinter, ""}},
      {"LPT3", {D::kPrinter, "LPT3"}},
      {"Oficina_Laser", {D::kPrinter, "Oficina_Laser"}},
      {"PDFX", {D::kPrinter, "PDFX"}},
      {"x; rm -rf ~", {D::kPrinter, "x; rm -rf ~"}},  // a name, never a command
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseDestination(c.text), c.expected) << "\"" << c.text << "\"";
  }
}

TEST(DestinationTest, OutputPathOfFileDestinations) {
  EXPECT_EQ(OutputPath({Destination::kPdf, ""}, "/w/"), "/w/qavprint.pdf");
  EXPECT_EQ(OutputPath({Destination::kText, ""}, "C:\\W\\"), "C:\\W\\qavprint.txt");
  EXPECT_EQ(OutputPath({Destination::kPdf, ""}, ""), "qavprint.pdf");
  EXPECT_EQ(OutputPath({Destination::kText, "/x/y.txt"}, "/w/"), "/x/y.txt");
}

}  // namespace
}  // namespace qav
