#include "qavprint/print_service.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "frame/session.h"
#include "frame/settings.h"
#include "platform/console.h"
#include "platform/cp850.h"
#include "platform/system.h"
#include "qavprint/notice.h"
#include "qavprint/pdf_renderer.h"
#include "qavprint/preview.h"
#include "qavprint/print_file_reader.h"
#include "qavprint/spooler.h"
#include "qavprint/text_renderer.h"

namespace qav {
namespace {

constexpr size_t kWarningsOnNotice = 12;

std::string Pages(size_t count) {
  return std::to_string(count) + (count == 1 ? " page" : " pages");
}

std::string Pagines(size_t count) {
  return std::to_string(count) + (count == 1 ? " p\x85gina" : " p\x85gines");
}

void Say(std::FILE* stream, std::string_view cp850) {
  std::fprintf(stream, "QAVPRINT: %s\n", Cp850ToUtf8(cp850).c_str());
}

std::vector<std::string> WarningNotice(const PrintDocument& document, std::string_view path) {
  std::vector<std::string> lines;
  if (document.WarningCount() == 0) return lines;
  lines.push_back("El fitxer d'impressi\xA2 " + std::string(path) + " t\x82 defectes (" +
                  std::to_string(document.WarningCount()) + "):");
  for (size_t i = 0; i < document.warnings.size() && i < kWarningsOnNotice; ++i) {
    lines.push_back("  " + WarningLine(document.warnings[i]));
  }
  if (document.WarningCount() > kWarningsOnNotice) {
    lines.push_back("  ... i " + std::to_string(document.WarningCount() - kWarningsOnNotice) +
                    " m\x82s");
  }
  lines.emplace_back();
  return lines;
}

// A temporary file of the host for the spooler, removed with the object.
class SpoolFile {
 public:
  SpoolFile() {
    std::error_code ignored;
    std::string pattern =
        (std::filesystem::temp_directory_path(ignored) / "qavprint-XXXXXX.pdf").string();
    const int fd = mkstemps(pattern.data(), 4);
    if (fd >= 0) {
      close(fd);
      path_ = pattern;
    }
  }
  ~SpoolFile() {
    if (!path_.empty()) unlink(path_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

Delivery ToPrinter(const PrintDocument& document, const Destination& destination,
                   std::string_view folder) {
  const std::string queue_en =
      destination.target.empty() ? "the default printer queue" : "the printer queue " + destination.target;
  const std::string queue_ca = destination.target.empty() ? "la impressora predeterminada"
                                                          : "la impressora " + destination.target;
  Delivery d;
  {
    SpoolFile spool;
    if (spool.path().empty()) {
      d.status = PrintStatus::Error(PrintStatus::kIoError, "cannot make a temporary file to print");
    } else {
      d.status = WritePdfHostFile(document, spool.path(), spool.path());
      if (d.status.ok()) d.status = SendToSpooler(spool.path(), destination.target, "QAVPRINT");
    }
  }
  if (d.status.ok()) {
    const size_t pages = document.pages.size();
    d.report = Pages(pages) + " sent to " + queue_en +
               (d.status.message().empty() ? "" : " (" + d.status.message() + ")");
    d.notice = {"Llistat enviat a " + queue_ca + " (" + Pagines(pages) + ")."};
    return d;
  }
  // What could not be printed is kept, so the work is not lost.
  const std::string kept = std::string(folder) + "qavprint.txt";
  const PrintStatus text = WriteTextFile(document, kept);
  d.report = "not printed on " + queue_en + ": " + d.status.message();
  d.notice = {"No s'ha pogut imprimir el llistat a " + queue_ca + ":", "  " + d.status.message()};
  if (text.ok()) {
    d.report += "; the text rendering is kept in " + kept;
    d.notice.push_back("El text del llistat s'ha desat a " + kept + ".");
  } else {
    d.report += "; " + text.message();
  }
  return d;
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

Delivery DeliverPrint(const PrintDocument& document, const Destination& destination,
                      std::string_view folder) {
  Delivery d;
  const size_t pages = document.pages.size();
  switch (destination.kind) {
    case Destination::kPdf: {
      const std::string path = OutputPath(destination, folder);
      d.status = WritePdfFile(document, path);
      if (d.status.ok()) {
        d.report = "PDF written to " + path + " (" + Pages(pages) + ")";
        d.notice = {"Llistat desat en PDF (" + Pagines(pages) + ") a:", path};
      }
      break;
    }
    case Destination::kText: {
      const std::string path = OutputPath(destination, folder);
      d.status = WriteTextFile(document, path);
      if (d.status.ok()) {
        d.report = "text written to " + path + " (" + Pages(pages) + ")";
        d.notice = {"Llistat desat en text (" + Pagines(pages) + ") a:", path};
      }
      break;
    }
    case Destination::kPrinter:
      return ToPrinter(document, destination, folder);
    case Destination::kPreview:
      d.status = PrintStatus::Error(PrintStatus::kNoTerminal, "the preview is not a file");
      break;
  }
  if (!d.status.ok()) {
    d.report = d.status.message();
    d.notice = {"No s'ha pogut desar el llistat:", "  " + d.status.message()};
  }
  return d;
}

int RunPrintService(const PrintRequest& request) {
  ReadSessionSettings();
  std::string path = request.print_file;
  if (request.from_suite) {
    // Where the suite's programs run, so that a work folder given relative
    // to the root is the same folder for the report and for its print.
    if (!Session().RootDir.empty()) SetCurrentFolder(Session().RootDir);
    SetProgramName("QAVPRINT");
    path = Session().WorkDir + "qavprint.tmp";
  }
  const std::string folder = FolderOf(path);
  // Only the suite's own call has an operator who is to read the outcome on
  // the terminal; anyone else reads it on the command line.
  const bool tell_on_terminal = request.from_suite && isatty(STDIN_FILENO);
  auto tell = [&](const std::vector<std::string>& lines) {
    std::string error;
    if (!tell_on_terminal || lines.empty() || !StartTerminalConsole(&error)) return;
    ShowNotice(lines);
    StopConsole();
  };

  PrintDocument document;
  const PrintStatus read = ReadPrintFile(path, &document);
  if (!read.ok()) {
    Say(stderr, read.message());
    tell({"No es pot llegir el fitxer d'impressi\xA2:", path});
    return 1;
  }
  for (const PrintWarning& warning : document.warnings) {
    Say(stderr, "warning: " + std::string(path) + ": " + WarningLine(warning));
  }
  if (document.warnings_left_out > 0) {
    Say(stderr, "warning: " + std::to_string(document.warnings_left_out) + " more warnings");
  }
  // An empty file is the trace of a report that failed to write it.
  const int rendered = document.lines_read > 0 ? 0 : 1;
  const Destination destination =
      ParseDestination(request.has_destination ? request.destination : document.destination);

  if (destination.kind == Destination::kPreview) {
    std::string error;
    if (!StartTerminalConsole(&error)) {
      const std::string kept = folder + "qavprint.txt";
      const PrintStatus text = WriteTextFile(document, kept);
      Say(stderr, "no terminal for the preview (" + Utf8ToCp850(error) + "); " +
                      (text.ok() ? "the text rendering is in " + kept : text.message()));
      return 1;
    }
    const std::vector<std::string> warnings = WarningNotice(document, path);
    if (!warnings.empty()) ShowNotice(warnings);
    RunPreview(document);
    StopConsole();
    return rendered;
  }

  const Delivery delivery = DeliverPrint(document, destination, folder);
  Say(delivery.status.ok() ? stdout : stderr, delivery.report);
  std::vector<std::string> notice = WarningNotice(document, path);
  notice.insert(notice.end(), delivery.notice.begin(), delivery.notice.end());
  tell(notice);
  return delivery.status.ok() ? rendered : 1;
}

}  // namespace qav
