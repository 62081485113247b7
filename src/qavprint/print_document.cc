#include "qavprint/print_document.h"

namespace qav {

std::string WarningLine(const PrintWarning& warning) {
  if (warning.line <= 0) return warning.text;
  return "line " + std::to_string(warning.line) + ": " + warning.text;
}

}  // namespace qav
