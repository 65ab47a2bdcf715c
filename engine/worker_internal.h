#pragma once
// Helpers shared by the input list and the jobs, not part of their interface.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversion_settings.h"
#include "engine/input_file_list.h"
#include "platform/files.h"

namespace pixalto {

// A random number from 1 to 99999, both ends included.
int32_t drawRandomNumber();

// Rebuilds the extensions that the add-file rule accepts from the enabled input kinds.
void rebuildAcceptedExtensions();

// True when the extension of the path is one the add-file rule accepts.
bool hasAcceptedExtension(std::string_view path);
// The add-file rule for a path whose extension was accepted and whose size
// (as fileSizeOf gives it) is known already.
bool addInputFileOfSize(std::string path, int64_t size);

using LinePrinter = std::function<void(const std::string&)>;

// True while the running job may go on (runFlag, read under the lock).
bool mayGoOn();

// Creates job.outputFolder + job.relativeFolder, part by part.
void makeOutputSubfoldersFor(const ConversionJob& job);

// Sets the output's file date from fileTimestamp (ORIGINAL or CUSTOM).
void stampOutputDate(const ConversionJob& job, const ConversionSettings& settings);

// The conversion of one entry whose path and subfolder are in the job: its
// output subfolders, the leading debug lines, convertFile. millis gets the
// time it took, at least 1000.
bool convertEntry(ConversionJob& job, const ConversionSettings& settings, bool debug, const LinePrinter& print,
                  int64_t& millis);
// The debug line that says how the entry ended.
void printOutcome(bool converted, const ConversionJob& job, bool debug, const LinePrinter& print);

// Threads that convert at once: PIXALTO_THREADS when it holds a positive
// number, else the processor count.
int conversionThreadCount();
// True when a file's output may depend on the files converted before it
// ("%n%", "%rnd%" or "%bpp%" in the mask or the text watermark).
bool outputsDependOnFileOrder(const ConversionSettings& settings);
// Converts the entries on several threads with the same outputs, lines and
// counts as one thread would give.
void runParallelConversion(const std::vector<const InputFileEntry*>& entries, size_t threads, bool debug);

}  // namespace pixalto
