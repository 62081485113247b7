// The outcome of a step of the print service: success, or what went wrong
// and a message for the person who asked for the print. Every operation of
// the service that can fail returns one of these instead of throwing.
#ifndef QAV_QAVPRINT_PRINT_STATUS_H_
#define QAV_QAVPRINT_PRINT_STATUS_H_

#include <string>
#include <utility>

namespace qav {

class PrintStatus {
 public:
  enum Code {
    kOk,
    kNotFound,       // the print file does not exist
    kIoError,        // a file could not be read or written
    kNoTerminal,     // the preview has no terminal to run on
    kNoSpooler,      // the system has no print spooler (lp)
    kPrinterFailed,  // the spooler refused the job
  };

  PrintStatus() = default;
  static PrintStatus Ok(std::string message = {}) { return PrintStatus(kOk, std::move(message)); }
  static PrintStatus Error(Code code, std::string message) {
    return PrintStatus(code, std::move(message));
  }

  bool ok() const { return code_ == kOk; }
  Code code() const { return code_; }
  // English, one line, in code page 850 like every text of the program (it
  // may quote paths and file contents); for the command line and the notice
  // on the terminal.
  const std::string& message() const { return message_; }

 private:
  PrintStatus(Code code, std::string message) : code_(code), message_(std::move(message)) {}

  Code code_ = kOk;
  std::string message_;
};

}  // namespace qav

#endif  // QAV_QAVPRINT_PRINT_STATUS_H_
