// The list-file reader (byte-order marks, UTF-16 and UTF-32 text, line ends,
// overlong lines) and the adding of the paths it names.
//
// The lines of a list file name files and folders that the reader looks up
// and scans, so the target first confines itself to the current folder (a
// private user and mount namespace with that folder as its root): a line such
// as "/" must not start a scan of the whole machine. fuzz/run.sh starts it in
// a folder of its own, with corpus and artifact paths relative to it, and
// without the leak check (which needs /proc). Once libFuzzer has listed its
// folders, they become unlistable (write and search only) and the target
// gives up its capabilities, so that scans of "/" see only the sample files
// while libFuzzer still reads and writes the files in them.
#include <linux/capability.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "engine/jobs.h"

using namespace pixalto;

namespace {

constexpr const char* kListPath = "/list.txt";

// Exit code that CTest counts as a skipped test.
constexpr int kCannotConfine = 77;

void touch(const std::filesystem::path& p) { std::ofstream(p, std::ios::binary) << "x"; }

void hideFuzzerFolders() {
    for (const char* folder : {"/corpus", "/seeds", "/artifacts"}) chmod(folder, 0300);
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
    syscall(SYS_capset, &header, none);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::filesystem::create_directories("sub/deeper");
    touch("a.pcx");
    touch("b.txt");
    touch("sub/c.PCX");
    touch("sub/deeper/d.pcx");
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || chroot(".") != 0 || chdir("/") != 0) {
        std::fprintf(stderr, "fuzz_list_file: cannot confine itself to the current folder; not run\n");
        std::exit(kCannotConfine);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool hidden = (hideFuzzerFolders(), true);
    (void)hidden;
    {
        std::FILE* f = std::fopen(kListPath, "wb");
        if (!f) return 0;
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    inputFileList().clear();
    conversionJob().inputPath = kListPath;
    {
        std::lock_guard<std::mutex> guard(progressLock());
        workerProgress().runFlag = 1;
    }
    importListFile();  // the job body itself, on this thread
    return 0;
}
