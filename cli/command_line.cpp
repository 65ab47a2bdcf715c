#include "cli/command_line.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <string_view>

#include "cli/batch_run.h"
#include "cli/setting_options.h"
#include "config/language_table.h"
#include "core/format_catalogue.h"
#include "core/run_state.h"
#include "engine/input_file_list.h"
#include "platform/console.h"
#include "services/targets.h"

namespace pixalto {

namespace {

constexpr const char* kIncorrectParameters = "Incorrect number of parameters";
constexpr const char* kInvalidProfile = "Invalid profile file";

// The main and console options: input, output, conversion, profile and the
// console's own switches.
enum class MainAction { Input, Output, Conversion, Profile, Debug, Quiet, Pause };

struct MainOption {
    std::string_view name;
    std::string_view shortName;  // "" when the option has no short form
    OptionKind kind;
    MainAction action;
};

constexpr MainOption kMainOptions[] = {
    {"--INPUT", "-I", OptionKind::Path, MainAction::Input},
    {"--OUTPUT", "-O", OptionKind::Path, MainAction::Output},
    {"--CONVERSION", "-C", OptionKind::Extension, MainAction::Conversion},
    {"--PROFILE", "", OptionKind::Text, MainAction::Profile},
    {"--DEBUG", "-D", OptionKind::Switch, MainAction::Debug},
    {"--QUIET", "-Q", OptionKind::Switch, MainAction::Quiet},
    {"--PAUSE", "-P", OptionKind::Switch, MainAction::Pause},
};

const MainOption* findMainOption(std::string_view key) {
    if (key.empty()) return nullptr;
    for (const MainOption& option : kMainOptions)
        if (option.name == key || option.shortName == key) return &option;
    return nullptr;
}

// Applies a main option whose value has been read. False with the error text
// set when the option fails.
bool applyMainOption(MainAction action, const std::string& value, ConversionSettings& settings,
                     ConversionJob& job, CommandLineScan& scan) {
    switch (action) {
    case MainAction::Input: job.inputRoot = value; break;
    case MainAction::Output: job.outputFolder = value; break;
    case MainAction::Conversion: job.outputExtension = value; break;
    case MainAction::Profile:
        if (!loadProfile(value, settings)) {
            scan.errorText = kInvalidProfile;
            return false;
        }
        break;
    case MainAction::Debug: job.runMode = "DEBUG"; break;
    case MainAction::Quiet: scan.quiet = true; break;
    case MainAction::Pause: scan.pause = true; break;
    }
    return true;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
    return text;
}

}  // namespace

std::string formatVersion(int version) {
    std::string text = std::to_string(version);
    text.insert(std::min<size_t>(1, text.size()), 1, '.');
    text.insert(std::min<size_t>(3, text.size()), 1, '.');
    if (text.ends_with('0')) text.resize(std::min<size_t>(3, text.size()));
    return text;
}

std::string productTitle() { return "Pixalto " + formatVersion(kProgramVersion); }

FirstRequest firstRequest(const Parameters& params) {
    const std::string key = optionKey(params, 0);
    if (key == "-U") return FirstRequest::Uninstall;
    if (key == "-T") return FirstRequest::Screenshot;
    if (key == "-V" || key == "--VERSION") return FirstRequest::Version;
    if (key == "-H" || key == "-?" || key == "--HELP") return FirstRequest::Help;
    return FirstRequest::None;
}

CommandLineScan scanCommandLine(const Parameters& params, ConversionSettings& settings, ConversionJob& job) {
    CommandLineScan scan;
    for (size_t i = 0; i < params.size(); ++i) {
        const std::string key = optionKey(params, i);
        std::string value;
        if (const MainOption* option = findMainOption(key)) {
            if (option->action == MainAction::Input) job.consoleRun = 1;  // also when the value fails
            if (!readOptionValue(params, i, option->kind, value)) {
                scan.errorText = kIncorrectParameters;
                break;
            }
            if (!applyMainOption(option->action, value, settings, job, scan)) break;
        } else if (const SettingOption* setting = findSettingOption(key)) {
            if (!readOptionValue(params, i, setting->kind, value)) {
                scan.errorText = kIncorrectParameters;
                break;
            }
            storeSettingValue(*setting, value, settings);
        }
    }
    return scan;
}

std::vector<std::string> helpLines(const std::string& executableName) {
    static const char* const kLines[] = {
        " ",
        "Usage: %s1% -i <filename> [options]",
        " ",
        "  %s1% -i example.%s2%",
        "  %s1% -i /tmp/example.%s2%",
        "  %s1% -i /tmp/example.%s2% -o ~/converted",
        "  %s1% -i /tmp/filelist.txt",
        "  %s1% -i /tmp/ -o ~/converted --jpg-quality=95",
        "  %s1% -i /tmp/ -o ~/converted -c %s2% --jpg-quality=95",
        " ",
        "Options:",
        " ",
        "  -h, -?, --help            Display this help and exit",
        "  -i FILE, --input=FILE     Set input file/list/folder",
        "  -o PATH, --output=PATH    Set output folder",
        "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
        " ",
        "Advanced options:",
        " ",
        "  --width=NUM               Set output image width",
        "  --height=NUM              Set output image height",
        "  --filename-mask=STR       Define output filename format",
        "  --flip-horizontal         Flip output image horizontally",
        "  --flip-vertical           Flip output image vertically",
        "  --brightness=NUM          Set output image brightness, NUM = -100..100",
        "  --contrast=NUM            Set output image contrast, NUM = -100..100",
        "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
        "  --invert                  Invert output image",
        "  --greyscale               Greyscale output image",
        "  --profile=FILE            Set configuration file with required settings",
        "    ...                     Refer documentation for all available options",
        " ",
        "Other options:",
        " ",
        "  -q, --quiet               Don't print status messages to stdout",
        "  -d, --debug               Print debug information to stdout",
        "  -p, --pause               Pause at exit",
        "  -v, --version             Display version information and exit",
    };
    constexpr size_t kLastExample = 8;  // its %s2% is the first output extension

    const std::vector<std::string>& inputs = inputExtensions();
    std::random_device seed;
    std::uniform_int_distribution<size_t> pick(0, inputs.empty() ? 0 : inputs.size() - 1);
    const std::string inputExtension = inputs.empty() ? std::string() : inputs[pick(seed)];
    const std::string& outputExtension = outputExtensions().front();

    std::vector<std::string> lines;
    for (size_t n = 0; n < std::size(kLines); ++n)
        lines.push_back(
            fillPlaceholders(kLines[n], executableName, n == kLastExample ? outputExtension : inputExtension));
    return lines;
}

std::vector<std::string> bannerLines() {
    return {productTitle(), replaceAll(kRightsNotice, "\xC2\xA9", "(c)"), kMakerSite, " "};
}

FrontEndEnd runCommandLine(const std::string& executableName, const Parameters& params) {
    if (params.empty()) return FrontEndEnd::RunDesktop;

    // The catalogue's tables are built on first use.
    inputKinds();
    outputFormats();
    resetConversionJob();
    ConversionSettings& settings = conversionSettings();
    ConversionJob& job = conversionJob();
    applyDefaults(settings, true);
    loadLanguage();

    switch (firstRequest(params)) {
    case FirstRequest::Uninstall:
        return FrontEndEnd::Finished;  // no desktop windows in this build
    case FirstRequest::Screenshot:
        job.runMode.assign(1, 'T');
        return FrontEndEnd::Finished;
    case FirstRequest::Version:
        setConsoleTitle(productTitle());
        printLine(formatVersion(kProgramVersion));
        return FrontEndEnd::Finished;
    case FirstRequest::Help:
        setConsoleTitle(productTitle());
        for (const std::string& line : helpLines(executableName)) printLine(line);
        return FrontEndEnd::Finished;
    case FirstRequest::None:
        break;
    }

    const CommandLineScan scan = scanCommandLine(params, settings, job);
    if (!scan.errorText.empty()) {
        setConsoleTitle(productTitle());
        printLine("Error: " + scan.errorText);
        if (scan.pause) waitForKey();
        return FrontEndEnd::Finished;
    }
    if (job.consoleRun) {
        setConsoleTitle(productTitle());
        if (!scan.quiet)
            for (const std::string& line : bannerLines()) printLine(line);
        runBatch(scan.quiet);
        if (scan.pause) {
            printLine("Press any key to exit.");
            waitForKey();
        }
        return FrontEndEnd::Finished;
    }
    return FrontEndEnd::RunDesktop;
}

}  // namespace pixalto
