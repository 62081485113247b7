#include "qavprint/text_renderer.h"

#include "platform/cp850.h"
#include "platform/files.h"
#include "qavprint/page_layout.h"

namespace qav {

std::string RenderText(const PrintDocument& document) {
  std::string out;
  for (size_t p = 0; p < document.pages.size(); ++p) {
    if (p > 0) out += '\f';
    for (const std::string& line : LayOutPage(document.pages[p])) {
      out += Cp850ToUtf8(line);
      out += '\n';
    }
  }
  return out;
}

PrintStatus WriteTextFile(const PrintDocument& document, std::string_view path) {
  TextFileWriter file;
  if (!file.Open(path)) {
    return PrintStatus::Error(PrintStatus::kIoError,
                              "cannot create the text file " + std::string(path));
  }
  const bool written = file.Write(RenderText(document));
  if (!file.Close() || !written) {
    return PrintStatus::Error(PrintStatus::kIoError,
                              "the text file " + std::string(path) + " could not be written whole");
  }
  return PrintStatus::Ok();
}

}  // namespace qav
