#pragma once
// Single-instance guard: an exclusive lock on a file named after the product
// title, held for the life of the process. The kernel releases it on any exit,
// so a crash leaves no stale guard behind.
#include <string>

namespace pixalto {

// "$XDG_RUNTIME_DIR/<title>.lock", or "/tmp/<title>-<uid>.lock" when that
// variable is unset or empty.
std::string instanceLockPath(const std::string& title);

// Takes the guard. False only when another process holds it; when the lock
// file cannot be created the process runs unguarded (true). Once taken it stays taken until the process ends.
bool acquireInstanceGuard(const std::string& title);

}  // namespace pixalto
