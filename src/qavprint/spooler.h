// Hands a rendered print to the system's print spooler: the CUPS/System V
// command `lp`, found on PATH and started directly (no shell, so a queue
// name is never read as a command). Its answer is collected rather than
// left on the terminal, so that it can be shown where the operator looks.
#ifndef QAV_QAVPRINT_SPOOLER_H_
#define QAV_QAVPRINT_SPOOLER_H_

#include <string>
#include <string_view>

#include "qavprint/print_status.h"

namespace qav {

// Queues the file (a host path) on the named queue, or on the default one
// when `queue` (code page 850) is empty. kNoSpooler when there is no `lp`,
// kPrinterFailed when it refused the job; the message carries its answer.
PrintStatus SendToSpooler(const std::string& host_file, std::string_view queue,
                          std::string_view title);

}  // namespace qav

#endif  // QAV_QAVPRINT_SPOOLER_H_
