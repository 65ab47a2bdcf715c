#pragma once
// Path conventions: "/" separates folders, a folder held in a run-state or
// settings field ends with "/", a path is absolute when it begins with "/".
#include <string>
#include <string_view>

namespace pixalto {

inline constexpr char kPathSeparator = '/';

bool isAbsolutePath(std::string_view path);
// Appends the separator unless the text is empty or already ends with it.
std::string withTrailingSeparator(std::string_view folder);
// Joins a folder and a name with exactly one separator between them.
std::string joinPath(std::string_view folder, std::string_view name);
// Everything up to and including the last separator ("" when there is none).
std::string folderPart(std::string_view path);
// Everything after the last separator.
std::string filePart(std::string_view path);
// Folder of the running executable, with its trailing separator.
std::string programFolder();

}  // namespace pixalto
