// Entry point: start-up, then the console front end; the desktop face follows
// when the command line names no input.
#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "cli/command_line.h"
#include "core/format_catalogue.h"
#include "engine/input_file_list.h"
#include "platform/allocator.h"
#include "platform/instance_guard.h"
#include "platform/paths.h"

namespace {

// File name of the running program without its extension ("pixalto").
std::string executableName(const char* argv0) {
    std::string name = pixalto::filePart(argv0 ? argv0 : "pixalto");
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name.empty() ? std::string("pixalto") : name;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace pixalto;

    // Status lines are informative only: a reader that goes away (pixalto ... | head)
    // must not kill a conversion halfway, and the exit code stays 0.
    std::signal(SIGPIPE, SIG_IGN);
    keepPictureBuffersInHeap();

    // The format lists and the (empty) list of input files.
    inputExtensions();
    outputExtensions();
    inputFileList();

    FreeImage_Initialise(FALSE);
    ilInit();
    iluInit();

    // A second instance ends at once, silently.
    if (!acquireInstanceGuard(productTitle())) return 0;

    const Parameters params(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (runCommandLine(executableName(argc > 0 ? argv[0] : nullptr), params) == FrontEndEnd::Finished) return 0;

    std::fprintf(stderr, "This build of Pixalto has no desktop interface.\n");
    return 0;
}
