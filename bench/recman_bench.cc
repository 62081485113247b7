// Reading a record file of 1,000,000 records through RecordManagerCall,
// side by side with what a programmer would write against the same SQLite
// file directly: one prepared statement stepped through the key order (for
// Get Next) and one bound and stepped per search (for Get Greater or Equal).
// Prints the time per record of each and their ratio.
//
//   recman_bench [--records=N] [Google Benchmark flags]
//
// The file is built in $TMPDIR (or /tmp) before the runs and removed after.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "recman/record_file.h"
#include "recman/record_manager.h"
#include "recman/status.h"

namespace {

using namespace qav;

constexpr int kRecordLength = 100;
constexpr int kSearches = 1 << 16;

std::string g_path;
int g_records = 1000000;
std::vector<uint32_t> g_probes;  // ids to search for, the same for both sides

// Record: a 4-byte little-endian id (key 0, binary, unique), then filler.
std::string RecordOf(uint32_t id) {
  std::string record(kRecordLength, 'r');
  for (int i = 0; i < 4; ++i) record[i] = static_cast<char>(id >> (8 * i));
  return record;
}

bool BuildFile() {
  FileDefinition definition;
  definition.record_length = kRecordLength;
  definition.page_size = 4096;
  definition.AddKey({{1, 4, kSegmentBinary}});
  if (RecordFile::Create(g_path, definition, /*replace=*/true) != kRmOk) return false;
  RecordFile file;
  if (file.Open(g_path) != kRmOk) return false;
  constexpr int kChunk = 100000;
  for (int start = 0; start < g_records; start += kChunk) {
    std::vector<std::string> records;
    for (int id = start; id < std::min(g_records, start + kChunk); ++id) {
      records.push_back(RecordOf(static_cast<uint32_t>(id) * 2));  // even ids: probes miss too
    }
    if (file.InsertAll(records) != kRmOk) return false;
  }
  std::mt19937 random(12345);
  for (int i = 0; i < kSearches; ++i) {
    g_probes.push_back(static_cast<uint32_t>(random() % (2 * static_cast<uint32_t>(g_records))));
  }
  return true;
}

struct Manager {
  std::array<unsigned char, kPositionBlockSize> block{};
  std::array<char, 1536> data{};
  std::array<char, 255> key{};
  Manager() {
    std::string path = g_path + '\0';
    uint32_t length = 0;
    if (RecordManagerCall(kOpOpen, block.data(), data.data(), &length, path.data(),
                          static_cast<int16_t>(path.size()), kOpenNormal) != kRmOk) {
      std::abort();
    }
  }
  ~Manager() { RecordManagerCall(kOpClose, block.data(), nullptr, nullptr, nullptr, 0, 0); }
  int16_t Call(int16_t operation) {
    uint32_t length = kRecordLength;
    return RecordManagerCall(operation, block.data(), data.data(), &length, key.data(), 4, 0);
  }
};

struct Direct {
  sqlite3* db = nullptr;
  sqlite3_stmt* stmt = nullptr;
  std::array<char, 1536> data{};
  std::array<char, 255> key{};
  explicit Direct(const char* sql) {
    if (sqlite3_open_v2(g_path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
      std::abort();
    }
  }
  ~Direct() {
    sqlite3_finalize(stmt);
    sqlite3_close(db);
  }
  // Copies the row out as the record manager does: record and key.
  void Take() {
    std::memcpy(data.data(), sqlite3_column_blob(stmt, 1), sqlite3_column_bytes(stmt, 1));
    std::memcpy(key.data(), sqlite3_column_blob(stmt, 2), sqlite3_column_bytes(stmt, 2));
  }
};

void BM_RecordManagerGetNext(benchmark::State& state) {
  Manager m;
  if (m.Call(kOpGetFirst) != kRmOk) std::abort();
  for (auto _ : state) {
    if (m.Call(kOpGetNext) != kRmOk && m.Call(kOpGetFirst) != kRmOk) std::abort();
    benchmark::DoNotOptimize(m.data);
  }
}

void BM_SqliteStep(benchmark::State& state) {
  Direct d("SELECT position, data, k0 FROM records ORDER BY k0, position");
  for (auto _ : state) {
    if (sqlite3_step(d.stmt) != SQLITE_ROW) {
      sqlite3_reset(d.stmt);
      if (sqlite3_step(d.stmt) != SQLITE_ROW) std::abort();
    }
    d.Take();
    benchmark::DoNotOptimize(d.data);
  }
}

void BM_RecordManagerGetGreaterOrEqual(benchmark::State& state) {
  Manager m;
  size_t i = 0;
  for (auto _ : state) {
    const uint32_t id = g_probes[i++ % g_probes.size()];
    for (int b = 0; b < 4; ++b) m.key[b] = static_cast<char>(id >> (8 * b));
    const int16_t status = m.Call(kOpGetGreaterOrEqual);
    if (status != kRmOk && status != kRmEndOfFile) std::abort();
    benchmark::DoNotOptimize(m.data);
  }
}

void BM_SqliteSeek(benchmark::State& state) {
  Direct d("SELECT position, data, k0 FROM records WHERE k0 >= ?1 ORDER BY k0, position LIMIT 1");
  size_t i = 0;
  for (auto _ : state) {
    const uint32_t id = g_probes[i++ % g_probes.size()];
    unsigned char collation[4];  // the binary key as SQLite orders it: big-endian
    for (int b = 0; b < 4; ++b) collation[b] = static_cast<unsigned char>(id >> (8 * (3 - b)));
    sqlite3_bind_blob(d.stmt, 1, collation, 4, SQLITE_STATIC);
    if (sqlite3_step(d.stmt) == SQLITE_ROW) d.Take();
    sqlite3_reset(d.stmt);
    benchmark::DoNotOptimize(d.data);
  }
}

BENCHMARK(BM_RecordManagerGetNext);
BENCHMARK(BM_SqliteStep);
BENCHMARK(BM_RecordManagerGetGreaterOrEqual);
BENCHMARK(BM_SqliteSeek);

// The console output, plus the time per iteration of each run for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration) times_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
  }
  void PrintRatio(const char* what, const char* ours, const char* theirs) {
    if (!times_.count(ours) || !times_.count(theirs)) return;
    std::printf("%-22s record manager %8.1f ns, SQLite %8.1f ns: %.2fx\n", what, times_[ours],
                times_[theirs], times_[ours] / times_[theirs]);
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--records=", 10) == 0) g_records = std::atoi(argv[i] + 10);
  }
  benchmark::Initialize(&argc, argv);
  const char* tmp = std::getenv("TMPDIR");
  g_path = std::string(tmp ? tmp : "/tmp") + "/recman_bench_" + std::to_string(getpid()) + ".dat";
  std::fprintf(stderr, "building %d records in %s\n", g_records, g_path.c_str());
  if (!BuildFile()) {
    std::fprintf(stderr, "could not build the file\n");
    return 1;
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("Get Next", "BM_RecordManagerGetNext", "BM_SqliteStep");
  reporter.PrintRatio("Get Greater or Equal", "BM_RecordManagerGetGreaterOrEqual", "BM_SqliteSeek");
  for (const char* suffix : {"", "-wal", "-shm", ".lck"}) std::filesystem::remove(g_path + suffix);
  benchmark::Shutdown();
  return 0;
}
