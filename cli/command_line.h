#pragma once
// The console front end: dispatch on the first parameter, the option scan,
// the error path, the banner and the batch run with its pause.
#include <string>
#include <vector>

#include "cli/option_values.h"
#include "core/conversion_settings.h"

namespace pixalto {

inline constexpr int kProgramVersion = 290;

// 290 gives "2.9", 291 gives "2.9.1".
std::string formatVersion(int version);
// "Pixalto 2.9".
std::string productTitle();

// What the first parameter asks for. Only the first parameter is looked at.
enum class FirstRequest { None, Uninstall, Screenshot, Version, Help };
FirstRequest firstRequest(const Parameters& params);

// Outcome of scanning all parameters.
struct CommandLineScan {
    std::string errorText;  // the first option error, or ""
    bool quiet = false;
    bool pause = false;
};

// Reads every option into the settings and the job. Stops at the first
// failing option; unrecognised keys and bare words are skipped.
CommandLineScan scanCommandLine(const Parameters& params, ConversionSettings& settings, ConversionJob& job);

// The help text for an executable name, one entry per printed line.
std::vector<std::string> helpLines(const std::string& executableName);

// The four banner lines.
std::vector<std::string> bannerLines();

// What start-up does after the front end.
enum class FrontEndEnd { Finished, RunDesktop };

// Runs the console front end for the parameters (the program not counted).
// executableName is the program's file name without extension (help text).
// Finished: the process is to end with exit code 0. RunDesktop: no parameters,
// or none that names an input.
FrontEndEnd runCommandLine(const std::string& executableName, const Parameters& params);

}  // namespace pixalto
