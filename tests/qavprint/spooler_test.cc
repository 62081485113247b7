#include "qavprint/spooler.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace qav {
namespace {

// A stand-in for the system's lp, first on PATH: it records its arguments,
// one a line, and answers as told.
class SpoolerTest : public ::testing::Test {
 protected:
  void InstallLp(const std::string& script_body) {
    const std::string lp = dir_.Write("bin/lp", "#!/bin/sh\n" + script_body);
    chmod(lp.c_str(), 0755);
  }
  std::string Arguments() const { return dir_.Read("args"); }

  testing::TempDir dir_;
  testing::ScopedEnv path_{"PATH", (dir_.path() + "bin:/usr/bin:/bin").c_str()};
};

TEST_F(SpoolerTest, QueuesOnTheNamedOrTheDefaultQueue) {
  InstallLp("for a in \"$@\"; do echo \"$a\" >> '" + dir_.path() +
            "args'; done\necho 'request id is Laser-7 (1 file(s))'\n");
  PrintStatus named = SendToSpooler("/tmp/x.pdf", "Oficina; rm -rf ~", "QAVPRINT");
  ASSERT_TRUE(named.ok()) << named.message();
  EXPECT_EQ(named.message(), "request id is Laser-7 (1 file(s))");
  EXPECT_EQ(Arguments(), "-d\nOficina; rm -rf ~\n-t\nQAVPRINT\n/tmp/x.pdf\n");

  std::remove((dir_.path() + "args").c_str());
  ASSERT_TRUE(SendToSpooler("/tmp/y.pdf", "", "QAVPRINT").ok());
  EXPECT_EQ(Arguments(), "-t\nQAVPRINT\n/tmp/y.pdf\n");
}

TEST_F(SpoolerTest, ARefusalCarriesTheSpoolersAnswer) {
  InstallLp("echo 'lp: Error - The printer or class does not exist.' >&2\nexit 1\n");
  const PrintStatus status = SendToSpooler("/tmp/x.pdf", "Nowhere", "QAVPRINT");
  EXPECT_EQ(status.code(), PrintStatus::kPrinterFailed);
  EXPECT_EQ(status.message(),
            "the print spooler refused the print: lp: Error - The printer or class does not exist.");
}

TEST_F(SpoolerTest, NoSpoolerAtAll) {
  testing::ScopedEnv empty_path("PATH", (dir_.path() + "nothing").c_str());
  const PrintStatus status = SendToSpooler("/tmp/x.pdf", "", "QAVPRINT");
  EXPECT_EQ(status.code(), PrintStatus::kNoSpooler);
  EXPECT_NE(status.message().find("no print spooler"), std::string::npos);
}

}  // namespace
}  // namespace qav
