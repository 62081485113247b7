// The outcome of a data tool operation: success, or a failure with the
// message the operator is shown. The tool's operations return it instead of
// throwing, and the commands turn it into an exit code.
#ifndef QAV_DATATOOL_TOOL_STATUS_H_
#define QAV_DATATOOL_TOOL_STATUS_H_

#include <string>
#include <utility>

namespace qav {

class ToolStatus {
 public:
  ToolStatus() = default;  // success
  static ToolStatus Error(std::string message) {
    ToolStatus status;
    status.failed_ = true;
    status.message_ = std::move(message);
    return status;
  }

  bool ok() const { return !failed_; }
  const std::string& message() const { return message_; }

 private:
  bool failed_ = false;
  std::string message_;
};

}  // namespace qav

#endif  // QAV_DATATOOL_TOOL_STATUS_H_
