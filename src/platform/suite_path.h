// Suite paths on the host. The suite writes paths with "\" and in any case;
// on the host "\" becomes "/", and a component that does not exist in
// exactly the case given is looked up without regard to case, so a suite
// copied from a case-insensitive system keeps working. Suite paths are code
// page 850; host paths are UTF-8.
#ifndef QAV_PLATFORM_SUITE_PATH_H_
#define QAV_PLATFORM_SUITE_PATH_H_

#include <string>
#include <string_view>

namespace qav {

// The host path of a suite path. Components that exist in no case are kept
// as written (a file about to be created).
std::string HostPath(std::string_view suite_path);

}  // namespace qav

#endif  // QAV_PLATFORM_SUITE_PATH_H_
