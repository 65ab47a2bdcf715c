#pragma once
// Background jobs (list import, folder scan, conversion worker) and the shared
// progress record through which a running job reports to its front end.
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace pixalto {

struct WorkerProgress {
    int32_t progressIndex = 0;
    std::string progressFile;
    int64_t lastFileMillis = 0;
    int32_t resultCount = 0;
    int8_t runFlag = 0;
};

WorkerProgress& workerProgress();
std::mutex& progressLock();

using JobBody = void (*)();

// Resets progressIndex, progressFile and runFlag (resultCount stays) and runs
// the body on a thread of its own.
std::thread startJob(JobBody body);
// Starts the body and waits until it has ended (the console's way).
void runJobAndWait(JobBody body);
// Asks the running job to stop after its current entry.
void requestStop();

// Job bodies: they read the ConversionJob and report through WorkerProgress.
void importListFile();      // the list file named by inputPath
void scanInputFolder();     // the folder named by inputRoot
void runConversionWorker(); // every entry of the InputFileList

// Adds every accepted file below the folder (recursively, folder links not
// followed); returns the number added.
int32_t scanFolderTree(const std::string& folder);

// Creates outputFolder + relativeFolder of the job, part by part.
void makeOutputSubfolders();

}  // namespace pixalto
