#include "data/record_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "frame/session.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "recman/child_process.h"
#include "recman/file_definition.h"
#include "recman/record_manager.h"
#include "screen/colours.h"
#include "screen/windows.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

// Records of 12 bytes: a 2-byte binary id (key 0, unique), a 4-byte text
// through an upper-casing table (key 1, duplicates), 6 bytes of data.
FileDefinition ItemsDefinition() {
  std::array<uint8_t, 256> upper;
  for (int i = 0; i < 256; ++i) upper[i] = static_cast<uint8_t>(i >= 'a' && i <= 'z' ? i - 32 : i);
  FileDefinition d;
  d.record_length = 12;
  d.AddKey({{1, 2, kSegmentBinary}}).AddKey({{3, 4, kSegmentAlternate}}, true).SetAlternate(upper, "UPPER");
  return d;
}

std::string Item(uint16_t id, const char* name) {
  std::string r(12, '.');
  r[0] = static_cast<char>(id & 0xFF);
  r[1] = static_cast<char>(id >> 8);
  r.replace(2, 4, std::string(name).substr(0, 4));
  return r;
}

std::string Id(uint16_t id) { return std::string{static_cast<char>(id & 0xFF), static_cast<char>(id >> 8)}; }

class RecordFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessConsole();
    ResetWindows();
    ResetColours();
    ResetSession();
    ResetRecordFiles();
    SessionValues& s = MutableSessionForSettings();
    s.RootDir = dir_.path();
    s.WorkDir = dir_.path();
    s.SessionLanguage = "CAT";
    s.ColourTable = {{{15, 0}, {7, 0}, {0, 7}, {0, 7}, {0, 7}}};
    const std::string creation = EncodeFileDefinition(ItemsDefinition());
    std::string xdf{static_cast<char>(creation.size() & 0xFF), static_cast<char>(creation.size() >> 8)};
    dir_.Write("ddf/Items.xdf", xdf + creation);
    SetOpenFailureHandler([this](const std::string& message, int16_t status) {
      failures_.push_back(message);
      last_failure_ = status;
    });
    SetSleepForTest([this](int ms) {
      sleeps_.push_back(ms);
      if (on_sleep_) on_sleep_();
    });
    SetRandomForTest([] { return 0.5; });
  }
  void TearDown() override {
    ResetRecordFiles();
    SetOpenFailureHandler(nullptr);
    SetProgramEndForTest(nullptr);
    ResetClock();
  }
  std::string Path(const char* name) { return dir_.path() + name; }
  // Creates DADES\Items with the given records, through the record manager.
  void Fill(const std::vector<std::string>& records) {
    ASSERT_EQ(OpenRecordFile(600, Path("DADES\\Items"), scratch_, sizeof scratch_), 0);
    std::array<char, kPositionBlockSize> block{};
    std::string key(256, '\0');
    std::string path = Path("DADES\\Items.dat");
    path.push_back('\0');
    uint32_t length = 0;
    ASSERT_EQ(RecordManagerCall(kOpOpen, block.data(), nullptr, &length, path.data(),
                                static_cast<int16_t>(path.size() - 1), 0), 0);
    for (const std::string& r : records) {
      std::string data = r;
      length = static_cast<uint32_t>(data.size());
      ASSERT_EQ(RecordManagerCall(kOpInsert, block.data(), data.data(), &length, key.data(), 255, 0), 0);
    }
    RecordManagerCall(kOpClose, block.data(), nullptr, &length, nullptr, 0, 0);
    ASSERT_EQ(ResetRecordFiles(), 0);
  }

  testing::TempDir dir_;
  char scratch_[12] = {};
  char record_[12] = {};
  std::vector<std::string> failures_;
  int16_t last_failure_ = 0;
  std::vector<int> sleeps_;
  std::function<void()> on_sleep_;
};

TEST_F(RecordFilesTest, CreatesFromDefinitionThenReadsAndSteps) {
  std::filesystem::create_directories(Path("DADES"));
  Fill({Item(30, "cccc"), Item(10, "aaaa"), Item(20, "BBBB"), Item(300, "aaaa")});
  ASSERT_EQ(OpenRecordFile(511, Path("DADES\\Items"), record_, sizeof record_), 0);
  EXPECT_EQ(CurrentKey(511), std::string(2, '\0'));  // key 0's length, zero bytes
  EXPECT_EQ(ReadByKey(511, 0, Id(15), 1), 0);
  EXPECT_EQ(std::string(record_, 12), Item(20, "BBBB"));
  EXPECT_EQ(StepRecord(511, 1), 0);
  EXPECT_EQ(std::string(record_, 12), Item(30, "cccc"));
  EXPECT_EQ(StepRecord(511, 1), 0);
  EXPECT_EQ(std::string(record_, 12), Item(300, "aaaa"));  // binary keys in numeric order
  EXPECT_NE(StepRecord(511, 1), 0);                         // end of the file
  EXPECT_EQ(std::string(record_, 12), Item(300, "aaaa"));   // a failed read changes nothing
  EXPECT_EQ(StepRecord(511, -2), 0);
  EXPECT_EQ(std::string(record_, 12), Item(20, "BBBB"));
  EXPECT_EQ(StepRecord(511, 0), 0);
  EXPECT_EQ(std::string(record_, 12), Item(20, "BBBB"));
  // Equal and less-or-equal; a short value is padded with zero bytes.
  EXPECT_EQ(ReadByKey(511, 0, std::string(1, '\x0A'), 0), 0);
  EXPECT_EQ(std::string(record_, 12), Item(10, "aaaa"));
  EXPECT_EQ(ReadByKey(511, 0, Id(299) + "longer", -1), 0);
  EXPECT_EQ(std::string(record_, 12), Item(30, "cccc"));
  EXPECT_EQ(ReadByKey(511, 5, Id(1), 0), kNoSuchKey);
  // Key 1 through its table: "aaaa", "aaaa", "BBBB", "cccc".
  EXPECT_EQ(ReadByKey(511, 1, "", 1), 0);
  EXPECT_EQ(std::string(record_, 12), Item(10, "aaaa"));
  EXPECT_EQ(CurrentKeyCollation(511), "AAAA");
  EXPECT_EQ(StepRecord(511, 2), 0);
  EXPECT_EQ(std::string(record_, 12), Item(20, "BBBB"));
  EXPECT_EQ(ReadByKey(511, 0, Id(300), 0), 0);
  EXPECT_EQ(CurrentKeyCollation(511), std::string("\x01\x2C", 2));  // binary: reversed
  // Positions.
  const int32_t position = RecordPosition(511, 0);
  EXPECT_NE(position, 0);
  EXPECT_EQ(ReadByKey(511, 0, Id(10), 0), 0);
  EXPECT_EQ(RecordPosition(511, position), 0);
  EXPECT_EQ(std::string(record_, 12), Item(300, "aaaa"));
  EXPECT_EQ(CurrentKey(511), Id(300));
  EXPECT_TRUE(std::filesystem::exists(Path("DADES/Items.dat")));
}

TEST_F(RecordFilesTest, TableLimitsAndFilesNotOpen) {
  std::filesystem::create_directories(Path("DADES"));
  ASSERT_EQ(OpenRecordFile(1, Path("DADES\\Items"), record_, sizeof record_), 0);
  EXPECT_EQ(RecordPosition(1, 0), 0);  // no current record
  EXPECT_EQ(OpenRecordFile(1, Path("DADES\\Items"), record_, sizeof record_), kFileNumberInUse);
  for (int16_t f = 2; f <= kRecordSlots; ++f) {
    ASSERT_EQ(OpenRecordFile(f, Path("DADES\\Items"), record_, sizeof record_), 0) << f;
  }
  EXPECT_EQ(OpenRecordFile(41, Path("DADES\\Items"), record_, sizeof record_), kNoFreeSlot);
  EXPECT_EQ(ReadByKey(99, 0, "", 1), kFileNotOpen);
  EXPECT_EQ(StepRecord(99, 1), kFileNotOpen);
  EXPECT_EQ(RecordPosition(99, 0), 0);
  EXPECT_EQ(SetLockMode(99, "a"), kFileNotOpen);
  EXPECT_EQ(CollationForm("ab", 99), "ab");
  EXPECT_EQ(CurrentKeyCollation(99), "");
  EXPECT_EQ(ResetRecordFiles(), 0);
  EXPECT_EQ(ReadByKey(1, 0, "", 1), kFileNotOpen);
  EXPECT_TRUE(failures_.empty());
}

TEST_F(RecordFilesTest, NamesAndTheirDefinitionFiles) {
  std::filesystem::create_directories(Path("X.Y"));
  std::filesystem::create_directories(Path("DADES"));
  std::string creation = EncodeFileDefinition(ItemsDefinition());
  std::string xdf{static_cast<char>(creation.size() & 0xFF), static_cast<char>(creation.size() >> 8)};
  dir_.Write("ddf/A.xdf", xdf + creation);
  dir_.Write("ddf/FILE.xdf", xdf + creation);
  EXPECT_EQ(OpenRecordFile(1, Path("X.Y\\FILE"), record_, sizeof record_), 0);
  EXPECT_TRUE(std::filesystem::exists(Path("X.Y/FILE.dat")));
  EXPECT_EQ(OpenRecordFile(2, Path("DADES\\A.B.C"), record_, sizeof record_), 0);
  EXPECT_TRUE(std::filesystem::exists(Path("DADES/A.B.C")));
  EXPECT_TRUE(failures_.empty());
}

TEST_F(RecordFilesTest, FatalOpenErrorInEveryLanguage) {
  struct Case {
    const char* language;
    const char* text;
  } cases[] = {
      {"CAT", "NO ES POT ACCEDIR AL FITXER "},
      {"SPA", "NO SE PUEDE ACCEDER AL FICHERO "},
      {"GLG", "NOM SE PODE ACEDER AO FICHEIRO "},
      {"OCI", "NON SE P\xE3T ACCEDIR ATH FICH\xD4R "},
      {"xyz", "NO ES POT ACCEDIR AL FITXER "},
  };
  for (const Case& c : cases) {
    MutableSessionForSettings().SessionLanguage = c.language;
    failures_.clear();
    // No folder and no definition: the file cannot be made.
    const std::string name = Path("NOWHERE\\Missing");
    EXPECT_NE(OpenRecordFile(7, name, record_, sizeof record_), 0);
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0], c.text + name + " (" + std::to_string(last_failure_) + ")");
    EXPECT_EQ(ReadByKey(7, 0, "", 1), kFileNotOpen);  // nothing left open under it
  }
}

TEST_F(RecordFilesTest, DefaultFatalOpenErrorShowsWaitsAndEnds) {
  SetOpenFailureHandler(nullptr);
  std::vector<int> ends;
  SetProgramEndForTest([&](int code) { ends.push_back(code); });
  std::filesystem::create_directories(Path("DADES"));
  ASSERT_EQ(OpenRecordFile(511, Path("DADES\\Items"), record_, sizeof record_), 0);
  HeadlessBackend& console = StartHeadlessConsole();
  console.PushText("typed ahead");  // discarded before the wait
  dir_.Write("DADES/Bad.dat", "this is not a record file at all");
  const std::string name = Path("DADES\\Bad");
  EXPECT_NE(OpenRecordFile(513, name, record_, sizeof record_), 0);
  EXPECT_EQ(ends, std::vector<int>{0});
  EXPECT_EQ(console.Beeps(), 1);
  EXPECT_EQ(console.ExhaustedReads(), 1);  // one key awaited, after the typed ones were dropped
  EXPECT_EQ(WindowDepth(), 0);             // the box is gone
  EXPECT_EQ(ReadByKey(511, 0, "", 1), kFileNotOpen);  // every file closed
}

TEST_F(RecordFilesTest, LockModeStack) {
  std::filesystem::create_directories(Path("DADES"));
  ASSERT_EQ(OpenRecordFile(1, Path("DADES\\Items"), record_, sizeof record_), 0);
  ASSERT_EQ(OpenRecordFile(2, Path("DADES\\Items"), record_, sizeof record_), 0);
  EXPECT_EQ(LockMode(1), 0);
  SetLockMode(1, "a");
  SetLockMode(2, "B");
  SetLockMode(1, "+d");
  EXPECT_EQ(LockMode(1), 0);
  SetLockMode(2, "+a");
  SetLockMode(1, "-");
  EXPECT_EQ(LockMode(1), 1);
  SetLockMode(1, "-");  // nothing saved for file 1 any more
  EXPECT_EQ(LockMode(1), 1);
  SetLockMode(2, "x-");
  EXPECT_EQ(LockMode(2), 2);
}

// Another process holds record 20 locked until told to let it go.
class LockedRecordTest : public RecordFilesTest {
 protected:
  void StartHolder(bool exclusive) {
    std::filesystem::create_directories(Path("DADES"));
    Fill({Item(10, "aaaa"), Item(20, "bbbb")});
    const std::string path = Path("DADES\\Items.dat");
    holder_ = std::make_unique<testing::ChildProcess>([path, exclusive](const testing::Channel& ch) {
      std::array<char, kPositionBlockSize> block{};
      std::string p = path;
      p.push_back('\0');
      uint32_t length = 0;
      if (RecordManagerCall(kOpOpen, block.data(), nullptr, &length, p.data(),
                            static_cast<int16_t>(path.size()), exclusive ? kOpenExclusive : 0) != 0) {
        return 1;
      }
      if (!exclusive) {
        std::string data(12, ' '), key = Id(20);
        key.resize(256, '\0');
        length = 12;
        if (RecordManagerCall(kLockBias + kOpGetEqual, block.data(), data.data(), &length,
                              key.data(), 2, 0) != 0) {
          return 2;
        }
      }
      ch.Send('L');  // holding
      ch.Receive();  // until told
      RecordManagerCall(kOpClose, block.data(), nullptr, &length, nullptr, 0, 0);
      ch.Send('F');  // free
      ch.Receive();
      return 0;
    });
    ASSERT_EQ(holder_->Receive(), 'L');
  }
  void Release() {
    holder_->Send('x');
    ASSERT_EQ(holder_->Receive(), 'F');
  }
  std::unique_ptr<testing::ChildProcess> holder_;
};

TEST_F(LockedRecordTest, WaitModeShowsTheMessageUntilTheRecordIsFree) {
  StartHolder(/*exclusive=*/false);
  ASSERT_EQ(OpenRecordFile(514, Path("DADES\\Items"), record_, sizeof record_), 0);
  for (int row = 20; row <= 25; ++row) {
    PutCursor(row, 1);
    WriteText(std::string(80, '#'));
  }
  std::string during;  // the box around row 24: rows 21 to 23
  on_sleep_ = [&] {
    if (sleeps_.size() == 2) {
      during = ScreenRowText(22);
      Release();
    }
  };
  SetLockMode(514, "a");
  EXPECT_EQ(ReadByKey(514, 0, Id(20), 0), 0);
  EXPECT_EQ(std::string(record_, 12), Item(20, "bbbb"));
  EXPECT_EQ(sleeps_, (std::vector<int>{5001, 5001}));  // 10000 × 0.5 + 1
  EXPECT_NE(during.find("FITXER BLOQUEJAT. ESPEREU UN MOMENT."), std::string::npos) << during;
  for (int row = 20; row <= 25; ++row) EXPECT_EQ(ScreenRowText(row), std::string(80, '#'));
  EXPECT_EQ(WindowDepth(), 0);
}

TEST_F(LockedRecordTest, OtherModesAnswerAtOnce) {
  StartHolder(/*exclusive=*/false);
  ASSERT_EQ(OpenRecordFile(514, Path("DADES\\Items"), record_, sizeof record_), 0);
  SetLockMode(514, "b");
  EXPECT_EQ(ReadByKey(514, 0, Id(20), 0), 84);
  SetLockMode(514, "d");
  EXPECT_EQ(ReadByKey(514, 0, Id(20), 0), 0);  // plain reads never wait
  EXPECT_EQ(std::string(record_, 12), Item(20, "bbbb"));
  EXPECT_TRUE(sleeps_.empty());
  Release();
}

TEST_F(LockedRecordTest, OpenWaitsWhileTheFileIsExclusive) {
  StartHolder(/*exclusive=*/true);
  on_sleep_ = [&] {
    if (sleeps_.size() == 1) Release();
  };
  EXPECT_EQ(OpenRecordFile(511, Path("DADES\\Items"), record_, sizeof record_), 0);
  EXPECT_EQ(sleeps_, std::vector<int>{3000});
  EXPECT_TRUE(failures_.empty());
}

}  // namespace
}  // namespace qav
