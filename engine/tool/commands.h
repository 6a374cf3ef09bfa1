// The commands of altavo-db. Each returns the process exit status.
#pragma once

#include "table.h"

#include <memory>
#include <string>

namespace altavodb {

// Opens TABLE (with or without .dbf); prints the fault and returns null.
std::unique_ptr<c4::Table> openTable(const std::string& path, bool quietWarnings = false);

int runInfo(const std::string& path);
int runDump(const std::string& path, bool csv);
int runCheck(const std::string& path);
int runReindex(const std::string& path);

} // namespace altavodb
