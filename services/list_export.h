#pragma once
// Writing the file list to a list file: UTF-8 with a byte-order mark, one
// path per line, every line (the last included) ended by CR LF.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pixalto {

// The list file's bytes for the rows.
std::string listFileText(std::span<const std::string> rows);

// Writes the rows to the file at path (atomically) while runFlag stays 1,
// setting progressIndex to the row number before each row. The rows taken
// before a stop are written. Adds the rows written to resultCount and returns
// their number: 0 when the file cannot be written.
int32_t writeListFile(const std::vector<std::string>& rows, const std::string& path);

// The rows that the next export job writes; the window sets them before it
// starts the job.
void setRowsToExport(std::vector<std::string> rows);

// Job body: writes the rows set above to the ConversionJob's inputPath.
void exportListFile();

// The name chosen in the export dialog, with ".txt" added when it has no extension.
std::string exportFileName(const std::string& chosen);

// True when a file of that name exists and holds at least one byte, so that
// the export must ask before replacing it.
bool exportNeedsOverwriteQuestion(const std::string& path);

}  // namespace pixalto
