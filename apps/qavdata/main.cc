// qavdata: the suite's data tool. Creates the record files, imports and
// exports them as CSV, generates sample data and reports on the files.
// This file only reads the command line; the commands live in
// src/datatool/commands.h.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "datatool/commands.h"
#include "datatool/record_rows.h"
#include "datatool/sample_data.h"

namespace {

constexpr char kUsage[] =
    "Usage: qavdata [--root DIR] COMMAND [ARGUMENTS]\n"
    "\n"
    "The suite's data tool. The record files are found as karvelot finds them:\n"
    "ROOT + DADES\\FinquesH.dat (properties), DADES\\PropietH.dat (owners) and\n"
    "DADES\\CobramH.dat (receipts), ROOT being QAVROOT as given or the host folder\n"
    "of --root DIR. A missing file is created from ROOT + ddf\\<base>.xdf when\n"
    "that exists, else from the built-in definition (the DADES folder too).\n"
    "\n"
    "Commands:\n"
    "  import TABLE FILE.csv   append the rows of the CSV file to the table's record\n"
    "                          file; all or nothing: a bad row or a key already\n"
    "                          present stops it with FILE:LINE: reason, exit code 1\n"
    "  export TABLE            write the table's CSV, in key order, to standard output\n"
    "  generate [--seed N] [--properties N] [--owners N] [--receipts N]\n"
    "           [--start YYYY-MM] DIR\n"
    "                          write properties.csv, owners.csv and receipts.csv of\n"
    "                          sample data into DIR: N properties, N owners per\n"
    "                          property, N monthly receipts per owner from the start\n"
    "                          month; the same seed gives the same files (defaults:\n"
    "                          seed 1, 6 properties, 8 owners, 24 receipts, 2023-01)\n"
    "  stat FILE               print the record length, page size, keys and record\n"
    "                          count of a record file\n"
    "  check FILE              read the file in the order of every key and check the\n"
    "                          count, the key order and every record; prints OK or\n"
    "                          the problems (exit code 1)\n"
    "  ddf DIR                 write FinquesH.xdf, PropietH.xdf and CobramH.xdf\n"
    "\n"
    "TABLE is properties, owners or receipts (or FinquesH, PropietH, CobramH).\n"
    "FILE is a TABLE, found under the root, or a path (.dat is added when its last\n"
    "component has no extension; write ./FinquesH for a file of that name here).\n"
    "\n"
    "CSV files are UTF-8 with a header row, RFC 4180 quoting and LF or CR LF line\n"
    "ends; export writes LF. Columns:\n"
    "  properties  code,name\n"
    "  owners      property,owner,name,apartment\n"
    "  receipts    property,owner,issued,sequence,collected,amount_cents,state\n"
    "code, property and owner 0 to 9999; sequence 0 to 99; dates YYYY-MM-DD,\n"
    "collected empty when not collected; amount_cents a signed 32-bit number of\n"
    "euro cents; state empty or one character (C, I collected; P, D pending).\n"
    "Names hold up to 30 characters, apartments 10, of code page 850 and no\n"
    "control characters; trailing blanks are not kept.\n"
    "\n"
    "  --root DIR   the suite's root folder, instead of QAVROOT\n"
    "  --help       print this text;  --version  print the version\n"
    "\n"
    "Exit codes: 0 done, 1 failed, 2 wrong command line.\n";

int Usage(const std::string& message) {
  std::fprintf(stderr, "qavdata: %s\nRun 'qavdata --help' for the commands.\n", message.c_str());
  return 2;
}

bool ParseInt(const std::string& text, long long max, long long* value) {
  if (text.empty() || text.size() > 10) return false;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v > max) return false;
  *value = v;
  return true;
}

int Generate(const std::vector<std::string>& args) {
  qav::SampleOptions options;
  std::string folder;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      if (!folder.empty()) return Usage("generate takes one folder");
      folder = a;
      continue;
    }
    if (i + 1 >= args.size()) return Usage("option " + a + " needs a value");
    const std::string& value = args[++i];
    long long n = 0;
    if (a == "--start") {
      long long year = 0, month = 0;
      if (value.size() != 7 || value[4] != '-' || !ParseInt(value.substr(0, 4), 9999, &year) ||
          !ParseInt(value.substr(5, 2), 12, &month)) {
        return Usage("--start must be a month YYYY-MM");
      }
      options.start_year = static_cast<int>(year);
      options.start_month = static_cast<int>(month);
      continue;
    }
    const long long max = a == "--seed" ? 4294967295LL : 1000000;
    if (!ParseInt(value, max, &n)) return Usage("option " + a + " needs a whole number");
    if (a == "--seed") {
      options.seed = static_cast<uint32_t>(n);
    } else if (a == "--properties") {
      options.properties = static_cast<int>(n);
    } else if (a == "--owners") {
      options.owners = static_cast<int>(n);
    } else if (a == "--receipts") {
      options.receipts = static_cast<int>(n);
    } else {
      return Usage("unknown option '" + a + "'");
    }
  }
  if (folder.empty()) return Usage("generate needs a folder");
  if (qav::ToolStatus status = qav::CheckSampleOptions(options); !status.ok()) {
    return Usage(status.message());
  }
  return qav::RunGenerate(options, folder);
}

bool Table(const std::string& name, qav::Table* table) { return qav::TableByName(name, table); }

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a == "--version") {
      std::printf("qavdata %s\n", QAV_VERSION);
      return 0;
    }
    if (a == "--root") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return Usage("--root needs a folder");
      root = argv[++i];
    } else if (a.rfind("--root=", 0) == 0) {
      root = a.substr(7);
      if (root.empty()) return Usage("--root needs a folder");
    } else {
      args.push_back(a);
    }
  }
  if (args.empty()) return Usage("no command given");
  const std::string& command = args[0];
  if (command == "generate") return Generate(args);
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i].size() > 1 && args[i][0] == '-') return Usage("unknown option '" + args[i] + "'");
  }
  auto want = [&](size_t n) { return args.size() == n + 1; };
  qav::Table table;
  if (command == "import") {
    if (!want(2)) return Usage("import needs a table and a CSV file");
    if (!Table(args[1], &table)) return Usage("unknown table '" + args[1] + "'");
    return qav::RunImport(root, table, args[2]);
  }
  if (command == "export") {
    if (!want(1)) return Usage("export needs a table");
    if (!Table(args[1], &table)) return Usage("unknown table '" + args[1] + "'");
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    return qav::RunExport(root, table);
  }
  if (command == "stat" || command == "check") {
    if (!want(1)) return Usage(command + " needs a file");
    return command == "stat" ? qav::RunStat(root, args[1]) : qav::RunCheck(root, args[1]);
  }
  if (command == "ddf") {
    if (!want(1)) return Usage("ddf needs a folder");
    return qav::RunDdf(args[1]);
  }
  if (command[0] == '-') return Usage("unknown option '" + command + "'");
  return Usage("unknown command '" + command + "'");
}
