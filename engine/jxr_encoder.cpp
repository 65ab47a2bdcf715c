#include "engine/jxr_encoder.h"

#include <cstring>

// jxrlib's header defines min and max as macros.
#include <JXRGlue.h>
#undef min
#undef max

namespace pixalto {

bool encodeJpegXr(const std::string& path, const uint8_t* pixels, unsigned width, unsigned height, size_t stride,
                  JxrPixels layout) {
    const PKPixelFormatGUID* format = &GUID_PKPixelFormat24bppBGR;
    if (layout == JxrPixels::Grey8) format = &GUID_PKPixelFormat8bppGray;
    if (layout == JxrPixels::Bgra32) format = &GUID_PKPixelFormat32bppBGRA;
    if (layout == JxrPixels::Rgb48) format = &GUID_PKPixelFormat48bppRGB;

    PKFactory* factory = nullptr;
    PKCodecFactory* codecs = nullptr;
    PKImageEncode* encoder = nullptr;
    WMPStream* stream = nullptr;
    bool ok = PKCreateFactory(&factory, PK_SDK_VERSION) >= 0 &&
              factory->CreateStreamFromFilename(&stream, path.c_str(), "wb") >= 0 &&
              PKCreateCodecFactory(&codecs, WMP_SDK_VERSION) >= 0 &&
              codecs->CreateCodec(&IID_PKImageWmpEncode, reinterpret_cast<void**>(&encoder)) >= 0;
    if (ok) {
        CWMIStrCodecParam params;
        std::memset(&params, 0, sizeof params);
        params.bVerbose = FALSE;
        params.cfColorFormat = layout == JxrPixels::Grey8 ? Y_ONLY : YUV_444;
        params.bdBitDepth = BD_LONG;
        params.bfBitstreamFormat = FREQUENCY;
        params.bProgressiveMode = TRUE;
        params.olOverlap = OL_ONE;
        params.sbSubband = SB_ALL;
        params.uAlphaMode = layout == JxrPixels::Bgra32 ? 2 : 0;
        params.uiDefaultQPIndex = 1;  // lossless
        params.uiDefaultQPIndexAlpha = 1;
        ok = encoder->Initialize(encoder, stream, &params, sizeof params) >= 0;
        if (ok) stream = nullptr;  // the encoder closes it when released
        ok = ok && encoder->SetPixelFormat(encoder, *format) >= 0 &&
             encoder->SetSize(encoder, static_cast<I32>(width), static_cast<I32>(height)) >= 0 &&
             encoder->SetResolution(encoder, 96.0f, 96.0f) >= 0 &&
             encoder->WritePixels(encoder, height, const_cast<U8*>(pixels), static_cast<U32>(stride)) >= 0;
    }
    if (encoder) encoder->Release(&encoder);  // finishes and closes the file
    if (stream) stream->Close(&stream);
    if (codecs) codecs->Release(&codecs);
    if (factory) factory->Release(&factory);
    return ok;
}

}  // namespace pixalto
