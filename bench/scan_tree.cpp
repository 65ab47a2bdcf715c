// Scans a folder tree into the conversion queue the way a console run does,
// and prints how many files were queued. Used by bench/scan.sh.
#include <cstdio>
#include <string>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scan_tree FOLDER\n");
        return 2;
    }
    pixalto::resetConversionJob();
    pixalto::conversionJob().inputRoot = pixalto::withTrailingSeparator(argv[1]);
    pixalto::workerProgress().resultCount = 0;
    pixalto::runJobAndWait(pixalto::scanInputFolder);
    std::printf("%d\n", pixalto::workerProgress().resultCount);
    return 0;
}
