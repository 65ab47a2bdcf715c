#pragma once
// The console: one status line at a time on stdout, the title escape on a
// terminal, and waiting for a key without ever hanging on a closed stdin.
#include <string>

namespace pixalto {

// Prints the text and "\n" on stdout (thread-safe, flushed).
void printLine(const std::string& text);
// Sets the terminal title (only when stdout is a terminal).
void setConsoleTitle(const std::string& title);
// Waits for one key (no echo on a terminal); end of input counts as a key.
void waitForKey();

}  // namespace pixalto
