// The least a converter can do: load every PCX file of a folder with FreeImage
// and save it in the output format, nothing else. The benchmark compares the
// whole program against this loop.
//
//   bare_loop INPUT_FOLDER OUTPUT_FOLDER jpg|png|tiff
#include <FreeImage.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s INPUT_FOLDER OUTPUT_FOLDER jpg|png|tiff\n", argv[0]);
        return 2;
    }
    const std::string format = argv[3];
    // The same save flags as the program's options in bench/convert.sh.
    struct Target {
        const char* extension;
        FREE_IMAGE_FORMAT fif;
        int flags;
    };
    const Target targets[] = {{"jpg", FIF_JPEG, 95 | JPEG_SUBSAMPLING_444},
                              {"png", FIF_PNG, PNG_Z_DEFAULT_COMPRESSION},
                              {"tiff", FIF_TIFF, TIFF_LZW}};
    const auto target = std::find_if(std::begin(targets), std::end(targets),
                                     [&](const Target& t) { return format == t.extension; });
    if (target == std::end(targets)) return 2;

    std::vector<fs::path> inputs;
    for (const auto& entry : fs::directory_iterator(argv[1]))
        if (entry.path().extension() == ".pcx") inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());

    int failed = 0;
    for (const fs::path& input : inputs) {
        FIBITMAP* dib = FreeImage_Load(FIF_PCX, input.c_str(), 0);
        if (dib && !FreeImage_FIFSupportsExportBPP(target->fif, static_cast<int>(FreeImage_GetBPP(dib)))) {
            FIBITMAP* wide = FreeImage_ConvertTo24Bits(dib);
            FreeImage_Unload(dib);
            dib = wide;
        }
        const fs::path output = fs::path(argv[2]) / (input.stem().string() + "." + target->extension);
        if (!dib || !FreeImage_Save(target->fif, dib, output.c_str(), target->flags)) ++failed;
        if (dib) FreeImage_Unload(dib);
    }
    if (failed) std::fprintf(stderr, "%d files failed\n", failed);
    return failed ? 1 : 0;
}
