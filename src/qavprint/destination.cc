#include "qavprint/destination.h"

namespace qav {
namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return u;
}

}  // namespace

Destination ParseDestination(std::string_view text) {
  const std::string_view trimmed = Trimmed(text);
  const std::string upper = Upper(trimmed);
  if (upper.empty() || upper == "PANTALLA") return {Destination::kPreview, ""};
  if (upper == "LPT1" || upper == "LPT2" || upper == "PRN") return {Destination::kPrinter, ""};
  const size_t colon = upper.find(':');
  const std::string kind = upper.substr(0, colon);
  const std::string path =
      colon == std::string::npos ? "" : std::string(Trimmed(trimmed.substr(colon + 1)));
  if (kind == "PDF") return {Destination::kPdf, path};
  if (kind == "TXT" || kind == "FILE") {
    return {Destination::kText, path};
  }
  return {Destination::kPrinter, std::string(trimmed)};
}

std::string OutputPath(const Destination& destination, std::string_view folder) {
  if (!destination.target.empty()) return destination.target;
  return std::string(folder) + (destination.kind == Destination::kPdf ? "qavprint.pdf" : "qavprint.txt");
}

}  // namespace qav
