#include "engine/save.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "platform/files.h"

namespace pixalto {

namespace {

// Opens the temporary file for reading and writing (some writers read back
// what they wrote), creating it exclusively so no other file is overwritten.
int claimTempFile(const std::string& outputPath, std::string& tempPath) {
    if (!tempPath.empty()) {
        const int fd = ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    tempPath = createTempFileBeside(outputPath);
    if (tempPath.empty()) return -1;
    return ::open(tempPath.c_str(), O_RDWR | O_TRUNC | O_CLOEXEC);
}

thread_local PendingCommit* deferredCommit = nullptr;

}  // namespace

void deferCommitsOnThisThread(PendingCommit* slot) { deferredCommit = slot; }

bool writeThroughTempFile(const std::string& outputPath, std::string& tempPath,
                          const std::function<bool(std::FILE*)>& write) {
    const int fd = claimTempFile(outputPath, tempPath);
    if (fd < 0) return false;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        return false;
    }
    // Encoders hand over a few kilobytes at a time; a large buffer turns the
    // hundreds of small writes of a picture into a few.
    constexpr size_t kWriteBufferBytes = 256 * 1024;
    const std::unique_ptr<char[]> buffer(new char[kWriteBufferBytes]);
    std::setvbuf(file, buffer.get(), _IOFBF, kWriteBufferBytes);
    bool ok = write(file);
    ok = ok && !std::ferror(file) && std::fflush(file) == 0;
    if (std::fclose(file) != 0) ok = false;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    if (deferredCommit) {
        *deferredCommit = {tempPath, outputPath};
        return true;
    }
    return commitTempFile(tempPath, outputPath);
}

namespace {

// FreeImage's writers see a write-only stream that knows its own position:
// libtiff asks for the position and seeks to the end after every strip, and
// a seek to where the stream already is must not flush its buffer each time.
struct WriteHandle {
    std::FILE* file;
    long position = 0;
    long end = 0;
};

unsigned DLL_CALLCONV readProc(void*, unsigned, unsigned, fi_handle) { return 0; }
unsigned DLL_CALLCONV writeProc(void* buffer, unsigned size, unsigned count, fi_handle handle) {
    auto* h = static_cast<WriteHandle*>(handle);
    const size_t written = std::fwrite(buffer, size, count, h->file);
    h->position += static_cast<long>(written * size);
    h->end = std::max(h->end, h->position);
    return static_cast<unsigned>(written);
}
int DLL_CALLCONV seekProc(fi_handle handle, long offset, int origin) {
    auto* h = static_cast<WriteHandle*>(handle);
    const long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? h->position : h->end;
    const long target = base + offset;
    if (target < 0) return -1;
    if (target == h->position) return 0;
    if (std::fseek(h->file, target, SEEK_SET) != 0) return -1;
    h->position = target;
    return 0;
}
long DLL_CALLCONV tellProc(fi_handle handle) { return static_cast<WriteHandle*>(handle)->position; }

}  // namespace

bool saveWithFreeImage(FIBITMAP* dib, int formatId, int flags, const std::string& outputPath, std::string& tempPath) {
    if (!dib) return false;
    FreeImageIO io{readProc, writeProc, seekProc, tellProc};
    return writeThroughTempFile(outputPath, tempPath, [&](std::FILE* file) {
        WriteHandle handle{file};
        return FreeImage_SaveToHandle(static_cast<FREE_IMAGE_FORMAT>(formatId), dib, &io, &handle, flags) == TRUE;
    });
}

namespace {

// DevIL keeps one global state (bound image, error, file callbacks): one
// caller at a time.
std::mutex& devilLock() {
    static std::mutex lock;
    return lock;
}

void initDevIL() {
    static std::once_flag once;
    std::call_once(once, [] {
        ilInit();
        iluInit();
    });
}

// DevIL writes through these while it saves: "opening" the temporary file by
// name hands it the file that is already open, so every byte goes to a file
// whose write errors are seen (and DevIL never creates a file of its own).
std::FILE* devilTarget = nullptr;

ILHANDLE ILAPIENTRY devilOpen(ILconst_string) { return devilTarget; }
void ILAPIENTRY devilClose(ILHANDLE) {}
ILint ILAPIENTRY devilPutc(ILubyte c, ILHANDLE h) { return std::fputc(c, static_cast<std::FILE*>(h)); }
ILint ILAPIENTRY devilSeek(ILHANDLE h, ILint offset, ILint origin) {
    return std::fseek(static_cast<std::FILE*>(h), offset, origin);
}
ILint ILAPIENTRY devilTell(ILHANDLE h) { return static_cast<ILint>(std::ftell(static_cast<std::FILE*>(h))); }
ILint ILAPIENTRY devilWrite(const void* buffer, ILuint size, ILuint count, ILHANDLE h) {
    return static_cast<ILint>(std::fwrite(buffer, size, count, static_cast<std::FILE*>(h)));
}

}  // namespace

bool saveWithDevIL(Bitmap bitmap, int ilType, bool buildMipmaps, const std::string& outputPath,
                   std::string& tempPath) {
    const unsigned bpp = bitmap.bpp();
    if (!bitmap || FreeImage_GetImageType(bitmap.get()) != FIT_BITMAP || (bpp != 24 && bpp != 32)) return false;
    const unsigned bytesPerPixel = bpp / 8;
    const ILenum pixelFormat = bpp == 32 ? IL_BGRA : IL_BGR;
    const unsigned width = bitmap.width();
    const unsigned height = bitmap.height();
    const size_t pitch = static_cast<size_t>(width) * bytesPerPixel;
    std::unique_ptr<BYTE[]> bits(new (std::nothrow) BYTE[pitch * height]);
    if (!bits) return false;
    // Rows bottom-up, blue first.
    FreeImage_ConvertToRawBits(bits.get(), bitmap.get(), static_cast<int>(pitch), bpp, FI_RGBA_RED_MASK,
                               FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    bitmap.reset();

    initDevIL();
    std::lock_guard<std::mutex> guard(devilLock());
    ilEnable(IL_FILE_OVERWRITE);
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    const ILint depth = ilGetInteger(IL_IMAGE_DEPTH);
    bool ok = ilTexImage(width, height, depth > 0 ? depth : 1, static_cast<ILubyte>(bytesPerPixel), pixelFormat,
                         IL_UNSIGNED_BYTE, bits.get()) == IL_TRUE;
    bits.reset();  // DevIL holds its own copy now
    if (ok && buildMipmaps) ok = iluBuildMipmaps() == IL_TRUE;
    if (ok) {
        ok = writeThroughTempFile(outputPath, tempPath, [&](std::FILE* file) {
            devilTarget = file;
            ilSetWrite(devilOpen, devilClose, devilPutc, devilSeek, devilTell, devilWrite);
            const bool saved = ilSave(static_cast<ILenum>(ilType), tempPath.c_str()) == IL_TRUE;
            ilResetWrite();
            devilTarget = nullptr;
            return saved;
        });
    }
    ilDeleteImages(1, &image);
    while (ilGetError() != IL_NO_ERROR) {
    }
    return ok;
}

unsigned countUsedColors(FIBITMAP* dib) {
    if (!dib || FreeImage_GetBPP(dib) != 8) return 0;
    const unsigned width = FreeImage_GetWidth(dib);
    const unsigned height = FreeImage_GetHeight(dib);
    unsigned highest = 0;
    for (unsigned y = 0; y < height; ++y) {
        const BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x)
            if (line[x] > highest) highest = line[x];
    }
    return highest + 1;
}

namespace {

uint32_t readLE32(const BYTE* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
void writeLE32(BYTE* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<BYTE>(v >> (8 * i));
}
void writeLE16(BYTE* p, uint16_t v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}

struct MemoryStream {
    FIMEMORY* memory = FreeImage_OpenMemory(nullptr, 0);
    ~MemoryStream() {
        if (memory) FreeImage_CloseMemory(memory);
    }
};

}  // namespace

bool writeCompactPaletteBmp(FIBITMAP* dib, int formatId, int flags, const std::string& outputPath,
                            std::string& tempPath) {
    constexpr size_t kFileHeader = 14;
    constexpr size_t kInfoHeader = 40;
    if (!dib || FreeImage_GetBPP(dib) != 8) return false;
    MemoryStream stream;
    if (!stream.memory || !FreeImage_SaveToMemory(static_cast<FREE_IMAGE_FORMAT>(formatId), dib, stream.memory, flags))
        return false;
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!FreeImage_AcquireMemory(stream.memory, &data, &size) || size < kFileHeader + kInfoHeader) return false;

    // The stream holds the file header, the info header, the full colour
    // table and the pixel data from the offset its file header names.
    const size_t pixelOffset = readLE32(data + 10);
    const unsigned used = countUsedColors(dib);
    if (pixelOffset > size || pixelOffset < kFileHeader + kInfoHeader + 4 * used) return false;
    const size_t pixelBytes = size - pixelOffset;
    const size_t newOffset = kFileHeader + kInfoHeader + 4 * used;
    const size_t fileSize = newOffset + pixelBytes;

    std::vector<BYTE> out(fileSize, 0);
    writeLE16(&out[0], 0x4D42);
    writeLE32(&out[2], static_cast<uint32_t>(fileSize));
    writeLE32(&out[10], static_cast<uint32_t>(newOffset));

    static_assert(sizeof(BITMAPINFOHEADER) == kInfoHeader);
    BITMAPINFOHEADER info;
    std::memcpy(&info, FreeImage_GetInfoHeader(dib), sizeof info);
    info.biClrUsed = used;
    info.biClrImportant = used;
    info.biCompression = readLE32(data + kFileHeader + 16);  // as written: plain or RLE8
    info.biSizeImage = static_cast<DWORD>(pixelBytes);
    std::memcpy(&out[kFileHeader], &info, kInfoHeader);
    std::memcpy(&out[kFileHeader + kInfoHeader], FreeImage_GetPalette(dib), 4 * used);
    std::memcpy(&out[newOffset], data + pixelOffset, pixelBytes);

    return writeThroughTempFile(outputPath, tempPath, [&](std::FILE* file) {
        return std::fwrite(out.data(), 1, out.size(), file) == out.size();
    });
}

}  // namespace pixalto
