#include "core/format_catalogue.h"

#include <FreeImage.h>
#include <IL/il.h>

#include <cctype>
#include <cstdlib>

namespace pixalto {

const std::vector<OutputFormat>& outputFormats() {
    static const std::vector<OutputFormat> table = {
        {"bmp", FIF_BMP, Writer::FreeImage, "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
        {"dds", IL_DDS, Writer::DevIL, "DirectDraw Surface", "32"},
        {"exr", FIF_EXR, Writer::FreeImage, "ILM OpenEXR", "96"},
        {"gif", FIF_GIF, Writer::FreeImage, "Graphics Interchange Format", "8"},
        {"hdr", FIF_HDR, Writer::FreeImage, "High Dynamic Range Image", "96"},
        {"ico", FIF_ICO, Writer::FreeImage, "Windows Icon", "1,4,8,16,24,32"},
        {"j2k", FIF_J2K, Writer::FreeImage, "JPEG-2000 Codestream", "8,24,32,48"},
        {"jng", FIF_JNG, Writer::FreeImage, "JPEG Network Graphics", "24,32"},
        {"jp2", FIF_JP2, Writer::FreeImage, "JPEG-2000 File Format", "8,24,32,48"},
        {"jpg", FIF_JPEG, Writer::FreeImage, "JPEG File Format", "8,24"},
        {"jxr", FIF_JXR, Writer::FreeImage, "JPEG XR Image Format", "1,8,16,24,32,48,96"},
        {"pbm", FIF_PBM, Writer::FreeImage, "Portable Bitmap", "1"},
        {"pcx", IL_PCX, Writer::DevIL, "ZSoft Paintbrush", "24"},
        {"pfm", FIF_PFM, Writer::FreeImage, "Portable Floatmap", "96"},
        {"pgm", FIF_PGM, Writer::FreeImage, "Portable Greymap", "8"},
        {"png", FIF_PNG, Writer::FreeImage, "Portable Network Graphics", "1,4,8,24,32,48"},
        {"ppm", FIF_PPM, Writer::FreeImage, "Portable Pixelmap", "24,48"},
        {"psd", IL_PSD, Writer::DevIL, "Adobe Photoshop", "32"},
        {"tga", FIF_TARGA, Writer::FreeImage, "Truevision Targa", "8,16,24,32"},
        {"tiff", FIF_TIFF, Writer::FreeImage, "Tagged Image File Format", "1,4,8,24,32,48,96"},
        {"wbmp", FIF_WBMP, Writer::FreeImage, "Wireless Bitmap", "1"},
        {"webp", FIF_WEBP, Writer::FreeImage, "Google WebP Image Format", "24,32"},
        {"xpm", FIF_XPM, Writer::FreeImage, "X11 Pixmap Format", "24"},
    };
    return table;
}

const std::vector<InputKind>& inputKinds() {
    static const std::vector<InputKind> table = [] {
        struct Family {
            const char* group;
            const char* description;
            std::vector<const char*> members;
        };
        const Family families[] = {
            {"bmp", "Windows or OS/2 Bitmap", {"bmp", "rle", "dib"}},
            {"dds", "DirectDraw Surface File", {"dds"}},
            {"emf", "Enhanced Metafile Format", {"emf", "emz"}},
            {"gif", "GIF File", {"gif"}},
            {"hdr", "High Dynamic Range File", {"hdr", "hdri"}},
            {"ico", "Windows Icon", {"ico"}},
            {"jpg", "JPEG File", {"jpg", "jpeg", "jpe", "jif"}},
            {"pcd", "Kodak PhotoCD File", {"pcd", "pcd1", "pcds", "ppcd"}},
            {"pcx", "ZSoft Paintbrush File", {"pcx"}},
            {"pic", "Macintosh PICT", {"pic", "pict", "pct"}},
            {"png", "Portable Network Graphics", {"png"}},
            {"psd", "Adobe Photoshop File", {"psd"}},
            {"tga", "Truevision Targa", {"tga", "targa"}},
            {"tiff", "Tagged Image File Format", {"tiff", "tif"}},
            {"wmf", "Windows Metafile Format", {"wmf", "wmz"}},
            {"raw", "Camera RAW Image", {"raw", "raw1", "raw2"}},
        };
        std::vector<InputKind> kinds;
        for (const Family& f : families)
            for (const char* m : f.members) kinds.push_back({m, f.group, f.description});
        // Members with a description of their own.
        auto insertAfter = [&kinds](const char* after, InputKind kind) {
            for (auto it = kinds.begin(); it != kinds.end(); ++it)
                if (std::string_view(it->extension) == after) {
                    kinds.insert(it + 1, kind);
                    return;
                }
        };
        insertAfter("wmz", {"apm", "wmf", "Aldus Placeable Metafile"});
        const std::pair<std::vector<const char*>, const char*> cameras[] = {
            {{"3fr"}, "Hasselblad Camera RAW Image"},
            {{"arw", "sr2", "srf"}, "Sony Camera RAW Image"},
            {{"bay"}, "Casio Camera RAW Image"},
            {{"bmq"}, "NuCore RAW Image"},
            {{"cap", "iiq", "eip"}, "Phase One Camera RAW Image"},
            {{"cine"}, "Phantom RAW Image"},
            {{"cr2", "crw"}, "Canon Camera RAW Image"},
            {{"cs1"}, "Capture Shop RAW Image"},
            {{"dc2", "dcr", "drf", "dsc", "k25", "kc2", "kdc", "dcs"}, "Kodak Camera RAW Image"},
            {{"dng"}, "Adobe Digital Negative Image"},
            {{"erf"}, "Epson Camera RAW Image"},
            {{"fff"}, "Imacon Camera RAW Image"},
            {{"ia", "sti"}, "Sinar RAW Image"},
            {{"mdc", "mrw"}, "Minolta Camera RAW Image"},
            {{"mef", "mos"}, "Mamiya Camera RAW Image"},
            {{"nef", "nrw"}, "Nikon Camera RAW Image"},
            {{"orf"}, "Olympus Camera RAW Image"},
            {{"pef", "ptx"}, "Pentax Camera RAW Image"},
            {{"pxn"}, "Logitech Camera RAW Image"},
            {{"qtk"}, "Apple Quicktake Camera RAW Image"},
            {{"raf"}, "Fuji Camera RAW Image"},
            {{"rdc"}, "Digital Foto Maker RAW Image"},
            {{"rw2"}, "Panasonic Camera RAW Image"},
            {{"rwz"}, "Rawzor Camera RAW Image"},
            {{"x3f"}, "Sigma Camera RAW Image"},
            {{"ari"}, "ARRI RAW Image"},
            {{"r3d"}, "RED RAW Image"},
            {{"rwl"}, "Leica Camera RAW Image"},
        };
        for (const auto& [members, description] : cameras)
            for (const char* m : members) kinds.push_back({m, "raw", description});
        return kinds;
    }();
    return table;
}

const std::vector<std::string>& outputExtensions() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> out;
        for (const OutputFormat& f : outputFormats()) out.emplace_back(f.extension);
        return out;
    }();
    return list;
}

const std::vector<std::string>& inputExtensions() {
    static const std::vector<std::string> list = {"pcx"};
    return list;
}

const OutputFormat* findOutputFormat(std::string_view extension) {
    for (const OutputFormat& f : outputFormats())
        if (extension == f.extension) return &f;
    return nullptr;
}

const InputKind* findInputKind(std::string_view extension) {
    for (const InputKind& k : inputKinds())
        if (extension == k.extension) return &k;
    return nullptr;
}

std::vector<std::string> acceptedInputExtensions() {
    std::vector<std::string> out;
    for (const std::string& enabled : inputExtensions())
        for (const InputKind& k : inputKinds())
            if (enabled == k.group) out.emplace_back(k.extension);
    return out;
}

std::vector<int> allowedDepthList(std::string_view extension) {
    std::vector<int> depths;
    const OutputFormat* f = findOutputFormat(extension);
    if (!f) return depths;
    const char* p = f->allowedDepths;
    while (*p) {
        char* end = nullptr;
        depths.push_back(static_cast<int>(std::strtol(p, &end, 10)));
        p = *end == ',' ? end + 1 : end;
    }
    return depths;
}

bool isBitDepthAllowed(std::string_view extension, int depth) {
    if (depth == 0) return true;
    for (int d : allowedDepthList(extension))
        if (d == depth) return true;
    return false;
}

int chooseAutoBitDepth(std::string_view extension, int sourceDepth) {
    const std::vector<int> depths = allowedDepthList(extension);
    if (depths.empty()) return 0;
    for (int d : depths)
        if (d >= sourceDepth) return d;
    return depths.back();
}

std::string outputFormatLabel(std::string_view extension) {
    const OutputFormat* f = findOutputFormat(extension);
    std::string label(extension);
    for (char& c : label) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (f) label += std::string(" (") + f->description + ")";
    return label;
}

}  // namespace pixalto
