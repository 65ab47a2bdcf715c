#pragma once
// Owning handle of a FreeImage bitmap. A picture step takes a Bitmap by value
// and returns the one to continue with, so a step that makes a new bitmap
// releases its input when the old handle goes out of scope.
#include <FreeImage.h>

#include <utility>

namespace pixalto {

class Bitmap {
public:
    Bitmap() = default;
    explicit Bitmap(FIBITMAP* dib) : dib_(dib) {}
    ~Bitmap() { reset(); }
    Bitmap(Bitmap&& other) noexcept : dib_(std::exchange(other.dib_, nullptr)) {}
    Bitmap& operator=(Bitmap&& other) noexcept {
        if (this != &other) {
            reset();
            dib_ = std::exchange(other.dib_, nullptr);
        }
        return *this;
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    FIBITMAP* get() const { return dib_; }
    FIBITMAP* release() { return std::exchange(dib_, nullptr); }
    void reset(FIBITMAP* dib = nullptr) {
        if (dib_ && dib_ != dib) FreeImage_Unload(dib_);
        dib_ = dib;
    }
    explicit operator bool() const { return dib_ != nullptr; }

    unsigned width() const { return dib_ ? FreeImage_GetWidth(dib_) : 0; }
    unsigned height() const { return dib_ ? FreeImage_GetHeight(dib_) : 0; }
    unsigned bpp() const { return dib_ ? FreeImage_GetBPP(dib_) : 0; }

    // A bitmap made from this one by a FreeImage call. When the call fails
    // (returns null) the result is empty; the input is released either way
    // once the caller replaces its handle with the result.
    template <typename F>
    Bitmap then(F&& makeNew) const {
        return Bitmap(dib_ ? makeNew(dib_) : nullptr);
    }

private:
    FIBITMAP* dib_ = nullptr;
};

}  // namespace pixalto
