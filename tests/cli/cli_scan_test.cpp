// The option scan and the profile loader: which fields each option sets,
// which option errors stop the scan, and how profiles mix with options.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <set>

#include "cli/command_line.h"
#include "cli/setting_options.h"
#include "tests/support/test_support.h"

namespace pixalto {
namespace {

struct Scanned {
    ConversionSettings settings;
    ConversionJob job;
    CommandLineScan scan;
};

Scanned scanOf(const Parameters& params) {
    Scanned s;
    applyDefaults(s.settings, true);
    s.scan = scanCommandLine(params, s.settings, s.job);
    return s;
}

std::string joined(const Parameters& params) {
    std::string out;
    for (const std::string& p : params) out += "[" + p + "]";
    return out;
}

TEST(ScanTest, OptionErrorsAndWhatIsNotAnError) {
    const std::string incorrect = "Incorrect number of parameters";
    const struct {
        Parameters params;
        std::string error;
    } cases[] = {
        {{"-i", "-o"}, incorrect},
        {{"-i"}, incorrect},
        {{"--input=-x.pcx"}, incorrect},
        {{"--input"}, incorrect},
        {{"--jpg-quality", "-i", "a.pcx"}, incorrect},
        {{"-i", "a.pcx", "-c"}, incorrect},
        {{"-i", "a.pcx", "-o", "--output=x"}, ""},  // the short form's value is the next parameter's value part
        {{"-i", "a.pcx", "--wm-text="}, incorrect},
        {{"-i", "a.pcx", "--gamma=--1"}, incorrect},
        {{"-i", "a.pcx", "--dither"}, incorrect},
        {{"--profile="}, incorrect},
        {{"--profile=/nonexistent/p.ini", "-i", "a.pcx"}, "Invalid profile file"},
        {{"--wm-text=-x", "-i", "a.pcx"}, ""},
        {{"x", "-v", "--VERSION", "-h", "--help", "-?", "-U", "-T"}, ""},
        {{"-i=x", "--no-such-option=1", "--", "-", ""}, ""},
        {{"-i", "a.pcx", "--wm-text=\"never closed", "--jpg-quality"}, ""},  // swallowed by the open quote
    };
    for (const auto& c : cases) EXPECT_EQ(scanOf(c.params).scan.errorText, c.error) << joined(c.params);
}

TEST(ScanTest, InputMarksAConsoleRunEvenWhenItsValueFails) {
    EXPECT_EQ(scanOf({"-i"}).job.consoleRun, 1);
    EXPECT_EQ(scanOf({"--input=-x"}).job.consoleRun, 1);
    EXPECT_EQ(scanOf({"--jpg-quality=90"}).job.consoleRun, 0);
    EXPECT_EQ(scanOf({"-i=a.pcx"}).job.consoleRun, 0);
    EXPECT_EQ(scanOf({"-I", "a.pcx"}).job.consoleRun, 1);
}

TEST(ScanTest, TheFirstErrorEndsTheScanAndKeepsEarlierValues) {
    const Scanned s = scanOf({"--jpg-quality=50", "-q", "--width", "--height=7", "-p", "--jpg-quality=60"});
    EXPECT_EQ(s.scan.errorText, "Incorrect number of parameters");
    EXPECT_EQ(s.settings.jpgQuality, 50);
    EXPECT_EQ(s.settings.imageHeight, 0);
    EXPECT_TRUE(s.scan.quiet);
    EXPECT_FALSE(s.scan.pause);
}

TEST(ScanTest, OptionsSetTheirFieldsAndSwitchTheirGroupsOn) {
    using Check = std::function<void(const Scanned&)>;
    const struct {
        Parameters params;
        Check check;
    } cases[] = {
        {{"-i", "/p/a.pcx", "-o", "/out", "-c", "png"},
         [](const Scanned& s) {
             EXPECT_EQ(s.job.inputRoot, "/p/a.pcx");
             EXPECT_EQ(s.job.outputFolder, "/out");
             EXPECT_EQ(s.job.outputExtension, "png");
         }},
        {{"--input=A.PCX", "--output=Out", "--conversion=JPG"},
         [](const Scanned& s) {
             EXPECT_EQ(s.job.inputRoot, "A.PCX");
             EXPECT_EQ(s.job.outputFolder, "Out");
             EXPECT_EQ(s.job.outputExtension, "JPG");
         }},
        {{"-i", "\"/my", "pictures/a", "b.pcx\"", "-c", "\"jpg\""},
         [](const Scanned& s) {
             EXPECT_EQ(s.job.inputRoot, "/my pictures/a b.pcx");
             EXPECT_EQ(s.job.outputExtension, "jpg");
         }},
        {{"-q", "-p", "-d"},
         [](const Scanned& s) {
             EXPECT_TRUE(s.scan.quiet);
             EXPECT_TRUE(s.scan.pause);
             EXPECT_EQ(s.job.runMode, "DEBUG");
         }},
        {{"--QUIET=no", "--pause=0", "--debug=off"},
         [](const Scanned& s) {
             EXPECT_TRUE(s.scan.quiet);
             EXPECT_TRUE(s.scan.pause);
             EXPECT_EQ(s.job.runMode, "DEBUG");
         }},
        {{"-q=1", "-P=1", "-d=1"},  // a short switch must stand alone
         [](const Scanned& s) {
             EXPECT_FALSE(s.scan.quiet);
             EXPECT_FALSE(s.scan.pause);
             EXPECT_EQ(s.job.runMode, "");
         }},
        {{"--bmp-bpp=$18", "--gif-bpp=24bit", "--png-bpp=abc", "--JPG-QUALITY=90", "--Webp-Quality=%111"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.bmpBpp, 24);
             EXPECT_EQ(s.settings.gifBpp, 24);
             EXPECT_EQ(s.settings.pngBpp, 0);
             EXPECT_EQ(s.settings.jpgQuality, 90);
             EXPECT_EQ(s.settings.webpQuality, 7);
         }},
        {{"--dither=bayer8"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doImageDither, 1);
             EXPECT_EQ(s.settings.imageDitherAlgorithm, 2);
         }},
        {{"--dither=xyz"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doImageDither, 1);
             EXPECT_EQ(s.settings.imageDitherAlgorithm, 0);
         }},
        {{"--width=50", "--width-unit= percent ", "--height=$20", "--resize-algorithm=lanczos"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doImageResize, 1);
             EXPECT_EQ(s.settings.imageWidth, 50);
             EXPECT_EQ(s.settings.imageWidthUnit, 1);
             EXPECT_EQ(s.settings.imageHeight, 32);
             EXPECT_EQ(s.settings.imageResizeAlgorithm, 5);
         }},
        {{"--width=0"}, [](const Scanned& s) { EXPECT_EQ(s.settings.doImageResize, 0); }},
        {{"--height=abc", "--width=0"}, [](const Scanned& s) { EXPECT_EQ(s.settings.doImageResize, 0); }},
        {{"--width=0", "--height=10"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doImageResize, 1);
             EXPECT_EQ(s.settings.imageWidth, 0);
         }},
        {{"--height=-5"}, [](const Scanned& s) { EXPECT_EQ(s.settings.doImageResize, 1); }},
        {{"--gamma=2.5", "--invert", "--rotation=90", "--threshold=128"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doImageColorCorrection, 1);
             EXPECT_FLOAT_EQ(s.settings.imageGamma, 2.5f);
             EXPECT_EQ(s.settings.imageInvert, 1);
             EXPECT_EQ(s.settings.doImageRotation, 1);
             EXPECT_EQ(s.settings.imageRotation, 90);
             EXPECT_EQ(s.settings.doImageThreshold, 1);
             EXPECT_EQ(s.settings.imageThreshold, 128);
         }},
        {{"--gamma=abc"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doImageColorCorrection, 1);
             EXPECT_FLOAT_EQ(s.settings.imageGamma, 0.0f);
         }},
        {{"--wm-text=Hi", "--wm-image=logo.png"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doWatermark, 2);
             EXPECT_EQ(s.settings.wmText, "Hi");
             EXPECT_EQ(s.settings.wmImage, "logo.png");
         }},
        {{"--wm-image=logo.png", "--wm-text=\"Hello", "World\""},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doWatermark, 1);
             EXPECT_EQ(s.settings.wmText, "Hello World");
         }},
        {{"--fr-solid-left=5", "--fr-solid-opacity=128", "--wm-solid-opacity=7", "--fr-solid-top-color=FF0000"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.doFrame, 1);
             EXPECT_EQ(s.settings.frameSolidLeft, 5);
             EXPECT_EQ(s.settings.frameSolidOpacity, 128);  // the profile-only key is unknown here
             EXPECT_EQ(s.settings.frameSolidTopColor, "FF0000");
         }},
        {{"--png-interlaced=0", "--keep-aspect-ratio", "--no-subfolders", "--flip-vertical"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.pngInterlaced, 1);
             EXPECT_EQ(s.settings.keepAspectRatio, 1);
             EXPECT_EQ(s.settings.keepSubfolders, 0);
             EXPECT_EQ(s.settings.doImageFlipVertical, 1);
             EXPECT_EQ(s.settings.doImageFlipHorizontal, 0);
         }},
        {{"--filename-mask=\"%filename% copy.%ext%\"", "--file-timestamp=custom",
          "--file-timestamp-custom=$7FFFFFFF"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.filenameMask, "%filename% copy.%ext%");
             EXPECT_EQ(s.settings.fileTimestamp, 2);
             EXPECT_EQ(s.settings.customTimestamp, INT32_MAX);
         }},
        {{"--tiff-compression=lzw", "--png-compression=zip", "--raw-load-as=48hs", "--wm-font-effect=strikethrought"},
         [](const Scanned& s) {
             EXPECT_EQ(s.settings.tiffCompression, 6);
             EXPECT_EQ(s.settings.pngCompression, 1);
             EXPECT_EQ(s.settings.rawLoadAs, 4);
             EXPECT_EQ(s.settings.wmFontEffect, 2);
         }},
        {{"--input-format=bmp", "--output-format=png", "--wm-text-scale=50", "--inputformat"},
         [](const Scanned& s) {  // no option sets these
             EXPECT_EQ(s.settings.inputFormat, "pcx");
             EXPECT_EQ(s.settings.outputFormat, "bmp");
             EXPECT_EQ(s.settings.wmTextScale, 10);
             EXPECT_EQ(s.scan.errorText, "");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(joined(c.params));
        const Scanned s = scanOf(c.params);
        c.check(s);
    }
}

// Every setting option of the design, by name: a misspelt or missing row
// would silently turn an option into an ignored word.
TEST(SettingOptionTableTest, HoldsEveryOptionOnceWithItsOwnField) {
    const char* names[] = {
        "--DDS-LOAD-AS", "--GIF-FRAME-LOADING", "--ICO-FRAME-LOADING", "--TIFF-FRAME-LOADING",
        "--PSD-COLOR-MODE", "--RAW-LOAD-AS", "--RAW-HEADER-SIZE", "--RAW-WIDTH", "--RAW-HEIGHT",
        "--RAW-TONE-MAPPING", "--BMP-BPP", "--DDS-BPP", "--EXR-BPP", "--GIF-BPP", "--HDR-BPP", "--ICO-BPP",
        "--J2K-BPP", "--JNG-BPP", "--JP2-BPP", "--JPG-BPP", "--JXR-BPP", "--PBM-BPP", "--PCX-BPP", "--PFM-BPP",
        "--PGM-BPP", "--PNG-BPP", "--PPM-BPP", "--PSD-BPP", "--TGA-BPP", "--TIFF-BPP", "--WBMP-BPP",
        "--WEBP-BPP", "--XPM-BPP", "--BMP-COMPRESSION", "--BMP-COLOR-TABLE", "--EXR-COMPRESSION",
        "--JPG-QUALITY", "--JPG-CHROMA", "--JPG-SAVE-AS", "--PNG-COMPRESSION", "--PNG-INTERLACED",
        "--TGA-COMPRESSION", "--TIFF-COMPRESSION", "--TIFF-COLOR-MODE", "--WEBP-QUALITY", "--ROTATION-TYPE",
        "--ROTATION", "--ROTATION-BACK-COLOR", "--WIDTH", "--WIDTH-UNIT", "--HEIGHT", "--HEIGHT-UNIT",
        "--KEEP-ASPECT-RATIO", "--RESIZE-TYPE", "--RESIZE-ALGORITHM", "--FLIP-HORIZONTAL", "--FLIP-VERTICAL",
        "--BRIGHTNESS", "--CONTRAST", "--GAMMA", "--INVERT", "--GREYSCALE", "--THRESHOLD", "--DITHER",
        "--FR-SOLID-LEFT", "--FR-SOLID-RIGHT", "--FR-SOLID-TOP", "--FR-SOLID-BOTTOM", "--FR-SOLID-LEFT-COLOR",
        "--FR-SOLID-RIGHT-COLOR", "--FR-SOLID-TOP-COLOR", "--FR-SOLID-BOTTOM-COLOR", "--FR-SOLID-OPACITY",
        "--WM-TEXT", "--WM-FONT", "--WM-FONT-SIZE", "--WM-FONT-LEADING", "--WM-FONT-COLOR", "--WM-FONT-STYLE",
        "--WM-FONT-EFFECT", "--WM-TEXT-ANTIALIASING", "--WM-TEXT-ALIGNMENT", "--WM-TEXT-PADDING",
        "--WM-TEXT-OPACITY", "--WM-BACK-COLOR", "--WM-BACK-OPACITY", "--WM-TEXT-BOUNDARY", "--WM-TEXT-POSITION",
        "--WM-TEXT-X-OFFSET", "--WM-TEXT-Y-OFFSET", "--WM-TEXT-ROTATION", "--WM-TEXT-SIZE", "--WM-IMAGE",
        "--WM-IMAGE-GREYSCALE", "--WM-IMAGE-OPACITY", "--WM-IMAGE-BOUNDARY", "--WM-IMAGE-POSITION",
        "--WM-IMAGE-X-OFFSET", "--WM-IMAGE-Y-OFFSET", "--WM-IMAGE-ROTATION", "--WM-IMAGE-SIZE",
        "--FILENAME-MASK", "--FILE-TIMESTAMP", "--FILE-TIMESTAMP-CUSTOM", "--NO-SUBFOLDERS",
    };
    EXPECT_EQ(settingOptions().size(), std::size(names));
    for (const char* name : names) EXPECT_NE(findSettingOption(name), nullptr) << name;

    // No two rows write the same field.
    ConversionSettings probe;
    std::set<const void*> fields;
    for (const SettingOption& option : settingOptions()) {
        const void* address = std::visit([&](auto member) -> const void* { return &(probe.*member); }, option.field);
        EXPECT_TRUE(fields.insert(address).second) << option.name;
    }
}

class ProfileTest : public ::testing::Test {
protected:
    test::TempDir dir;

    std::string profile(const std::string& name, const std::string& bytes) {
        test::writeFile(dir / name, bytes);
        return (dir / name).string();
    }
    static ConversionSettings defaults() {
        ConversionSettings s;
        applyDefaults(s, true);
        return s;
    }
};

TEST_F(ProfileTest, OptionsAndProfilesApplyInCommandLineOrder) {
    const std::string p80 = profile("p80.ini", "[CLI]\n--jpg-quality=80\n");
    const std::string p60 = profile("p60.ini", "[CLI]\n--jpg-quality=60\n--webp-quality=5\n");
    const struct {
        Parameters params;
        int32_t jpgQuality;
    } cases[] = {
        {{"--jpg-quality=50", "--profile=" + p80}, 80},
        {{"--profile=" + p80, "--jpg-quality=50"}, 50},
        {{"--profile=" + p80, "--profile=" + p60}, 60},
        {{"--profile=" + p60, "--profile=" + p80}, 80},
        {{"--profile=" + p60, "--jpg-quality=70", "--profile=" + p80, "--jpg-quality=$10"}, 16},
    };
    for (const auto& c : cases) {
        const Scanned s = scanOf(c.params);
        EXPECT_EQ(s.scan.errorText, "") << joined(c.params);
        EXPECT_EQ(s.settings.jpgQuality, c.jpgQuality) << joined(c.params);
    }
}

TEST_F(ProfileTest, QuotedProfilePathsWithBlanksAreJoined) {
    const std::string path = profile("my profile.ini", "[CLI]\n--bmp-bpp=8\n");
    const std::string folder = dir.str();
    const Scanned s = scanOf({"--profile=\"" + folder + "/my", "profile.ini\"", "-i", "a.pcx"});
    EXPECT_EQ(s.scan.errorText, "");
    EXPECT_EQ(s.settings.bmpBpp, 8);
    EXPECT_EQ(s.job.inputRoot, "a.pcx");
}

TEST_F(ProfileTest, ProfileKeysDifferFromTheCommandLineWhereDesigned) {
    const std::string path = profile("p.ini",
                                     "; comment\n"
                                     "[Other]\n--jpg-quality=1\n"
                                     "[cli]\n"
                                     "--Fr-Solid-Opacity=128\n"
                                     "--wm-solid-opacity=77\n"
                                     "--png-interlaced=0\n"
                                     "--no-subfolders=yes\n"
                                     "--wm-text =  \"Hi there\"  \n"
                                     "--filename-mask=\" %filename%.%ext% \"\n"
                                     "--dither= bayer16 \n"
                                     "--gamma=abc\n"
                                     "--jpg-quality=\n"
                                     "--width=$40\n"
                                     "--input=/x.pcx\n"
                                     "--quiet\n"
                                     "jpg-bpp=24\n"
                                     "--webp-quality=42\n"
                                     "--webp-quality=43\n");
    ConversionSettings s = defaults();
    ASSERT_TRUE(loadProfile(path, s));
    EXPECT_EQ(s.frameSolidOpacity, 77);
    EXPECT_EQ(s.pngInterlaced, 1);
    EXPECT_EQ(s.keepSubfolders, 0);
    EXPECT_EQ(s.doWatermark, 1);
    EXPECT_EQ(s.wmText, "\"Hi there\"");
    EXPECT_EQ(s.filenameMask, " %filename%.%ext% ");
    EXPECT_EQ(s.doImageDither, 1);
    EXPECT_EQ(s.imageDitherAlgorithm, 3);
    EXPECT_EQ(s.doImageColorCorrection, 1);
    EXPECT_FLOAT_EQ(s.imageGamma, 0.0f);
    EXPECT_EQ(s.jpgQuality, 0);  // empty values never fail in a profile
    EXPECT_EQ(s.doImageResize, 1);
    EXPECT_EQ(s.imageWidth, 64);
    EXPECT_EQ(s.jpgBpp, 0);          // keys need their leading "--"
    EXPECT_EQ(s.webpQuality, 42);    // of duplicate keys the first counts
}

TEST_F(ProfileTest, AProfileWithoutTheGroupAppliesNothing) {
    ConversionSettings s = defaults();
    EXPECT_TRUE(loadProfile(profile("empty.ini", ""), s));
    EXPECT_TRUE(loadProfile(profile("other.ini", "[Output]\n--jpg-quality=1\n--jpg-quality=2"), s));
    EXPECT_EQ(s.jpgQuality, 95);
}

TEST_F(ProfileTest, OddFilesNeitherCrashNorHang) {
    ConversionSettings s = defaults();
    // No final line end, CR LF line ends, a byte-order mark.
    EXPECT_TRUE(loadProfile(profile("crlf.ini", "\xEF\xBB\xBF[CLI]\r\n--bmp-bpp=4\r\n--jpg-quality=33"), s));
    EXPECT_EQ(s.bmpBpp, 4);
    EXPECT_EQ(s.jpgQuality, 33);

    // Binary bytes around a usable group.
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 131 + 7) % 256));
    binary += "\n[CLI]\n--pcx-bpp=24\n";
    binary.push_back('\0');
    binary += "=\xFF\xFE\n[\n=\n";
    EXPECT_TRUE(loadProfile(profile("binary.ini", binary), s));
    EXPECT_EQ(s.pcxBpp, 24);
}

TEST_F(ProfileTest, UnreadableProfilesAreInvalid) {
    ConversionSettings s = defaults();
    EXPECT_FALSE(loadProfile("", s));
    EXPECT_FALSE(loadProfile((dir / "missing.ini").string(), s));
    EXPECT_FALSE(loadProfile(dir.str(), s));  // a folder

    const std::string fifo = (dir / "fifo.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(loadProfile(fifo, s));  // opening it would wait for a writer

    const std::filesystem::path huge = dir / "huge.ini";
    test::writeFile(huge, "[CLI]\n--jpg-quality=1\n");
    std::filesystem::resize_file(huge, kMaxProfileBytes + 1);  // sparse, costs no disk
    EXPECT_FALSE(loadProfile(huge.string(), s));
    EXPECT_EQ(s.jpgQuality, 95);

    const Scanned scanned = scanOf({"--profile=" + dir.str(), "-i", "a.pcx"});
    EXPECT_EQ(scanned.scan.errorText, "Invalid profile file");
}

}  // namespace
}  // namespace pixalto
