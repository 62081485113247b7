// Believable sample data for the suite, as the three CSV files the import
// reads: properties (Catalan street and building names), their co-owners
// (names, apartments floor by floor) and monthly receipts, issued on the 1st
// of each month from a start month, for a fixed quota per co-owner; most
// collected a few days after issue (C, some I), some pending (P) or returned
// (D), more of them in the last months and for a few habitual debtors.
//
// The data depend only on the options: every random choice comes from
// std::mt19937, whose output the C++ standard fixes, through plain integer
// arithmetic (no distributions, no floating point), so the same seed gives
// the same bytes everywhere. Each property and each co-owner's receipts draw
// from their own stream, so asking for more receipts does not change the
// names. Rows are written as they are made, in key order.
#ifndef QAV_DATATOOL_SAMPLE_DATA_H_
#define QAV_DATATOOL_SAMPLE_DATA_H_

#include <cstdint>
#include <cstdio>
#include <string>

#include "datatool/tool_status.h"

namespace qav {

struct SampleOptions {
  uint32_t seed = 1;
  int properties = 6;  // codes 1 to this, at most 9999
  int owners = 8;      // per property, at most 9999
  int receipts = 24;   // per co-owner, one a month, at most 1200
  int start_year = 2023;
  int start_month = 1;
};

// Fails with the reason when an option is out of range.
ToolStatus CheckSampleOptions(const SampleOptions& options);

// Writes the three CSV files to the streams (left open).
ToolStatus WriteSample(const SampleOptions& options, std::FILE* properties, std::FILE* owners,
                       std::FILE* receipts);

// Writes properties.csv, owners.csv and receipts.csv into a host folder,
// creating it when missing.
ToolStatus WriteSampleFiles(const SampleOptions& options, const std::string& folder);

}  // namespace qav

#endif  // QAV_DATATOOL_SAMPLE_DATA_H_
