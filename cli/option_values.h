#pragma once
// Reading option keys and values from the command-line parameters.
// Parameters are numbered from 0; the program itself is not counted.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pixalto {

using Parameters = std::vector<std::string>;

// How an option reads its value.
enum class OptionKind {
    Path,       // short form (value is the next parameter) or --name=value; quoted parts joined
    Extension,  // short form or --name=value; no joining
    Keyword,    // --name=value, a keyword of a numbered vocabulary
    Number,     // --name=value, a whole number
    Decimal,    // --name=value, a decimal number
    Text,       // --name=value; quoted parts joined
    Switch,     // the option alone
};

// Upper-case key of parameter i: the part before the first "=" of a "--"
// parameter, the whole text of a "-" parameter, "" for anything else.
std::string optionKey(const Parameters& params, size_t i);

// Value part of parameter i: the text after the first "=" of a "--" parameter
// that has one, else the whole (trimmed) parameter; "" beyond the last one.
std::string optionValue(const Parameters& params, size_t i);

// Reads the value of the option held by parameter i, by its kind. May advance
// i past a short form's value or past the further parts of a quoted value.
// False when the value is missing or looks like another option.
bool readOptionValue(const Parameters& params, size_t& i, OptionKind kind, std::string& value);

// Removes every double quote at the start and at the end of the text.
std::string withoutOuterQuotes(std::string_view text);

// Whole number from the start of the text: blanks and tabs skipped, an
// optional sign, then decimal digits, "$" and hexadecimal digits or "%" and
// binary digits, up to the first other character. No digits give 0. The
// result keeps the low 32 bits.
int32_t readNumber(std::string_view text);

// Decimal number with "." as the decimal point (blanks around it allowed);
// anything that is not a finite number gives 0.
float readDecimal(std::string_view text);

// ASCII upper case; other bytes are kept.
std::string upperAscii(std::string_view text);

}  // namespace pixalto
