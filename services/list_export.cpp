#include "services/list_export.h"

#include <sys/stat.h>

#include <mutex>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "platform/files.h"

namespace pixalto {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

std::vector<std::string>& rowsToExport() {
    static std::vector<std::string> rows;
    return rows;
}

}  // namespace

std::string listFileText(std::span<const std::string> rows) {
    std::string text(kByteOrderMark);
    for (const std::string& row : rows) {
        text += row;
        text += kLineEnd;
    }
    return text;
}

int32_t writeListFile(const std::vector<std::string>& rows, const std::string& path) {
    size_t taken = 0;
    for (; taken < rows.size(); ++taken) {
        std::lock_guard<std::mutex> lock(progressLock());
        if (workerProgress().runFlag != 1) break;
        workerProgress().progressIndex = static_cast<int32_t>(taken + 1);
    }
    int32_t written = static_cast<int32_t>(taken);
    if (!writeFileAtomically(path, listFileText(std::span(rows).first(taken)))) written = 0;
    std::lock_guard<std::mutex> lock(progressLock());
    workerProgress().resultCount += written;
    return written;
}

void setRowsToExport(std::vector<std::string> rows) { rowsToExport() = std::move(rows); }

void exportListFile() { writeListFile(rowsToExport(), conversionJob().inputPath); }

std::string exportFileName(const std::string& chosen) {
    return fileExtensionOf(chosen).empty() ? chosen + ".txt" : chosen;
}

bool exportNeedsOverwriteQuestion(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

}  // namespace pixalto
