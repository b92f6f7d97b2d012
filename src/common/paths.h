#pragma once
// Path helpers shared by every layer. '/' is the native separator; the
// splitting helpers accept both '/' and '\' so that paths written on other
// systems (shots files, templates) still split where the user expects.
#include <string>
#include <string_view>

namespace trevanto {

// True when a directory entry of that name exists (file or folder).
bool FileExists(const std::string& path);
// True when the path exists and is a folder.
bool IsFolder(const std::string& path);
// Trailing separators removed, then the text after the last separator.
std::string FileNamePart(std::string_view path);
// The text before the last separator; empty when there is none.
std::string FolderPart(std::string_view path);
// The text after the last dot; empty when there is none.
std::string ExtensionPart(std::string_view path);
// Compares ExtensionPart with an extension given without its dot, ignoring
// ASCII case; false when either is empty.
bool HasExtension(std::string_view path, std::string_view extension);
// Creates each missing folder along the path, prefix by prefix; an empty path
// succeeds. Stops at the first failure.
bool CreateFolders(const std::string& path);
// The folder holding the running program.
std::string ApplicationFolder();
// A file shipped with the program (`name` relative to its data folder, as
// "bitmaps/x.bmp"): looked for in the program's folder, then in
// ../share/trevanto beside it, where an install and the build tree keep
// them. Empty when neither holds an entry of that name.
std::string FindShippedFile(std::string_view name);
// Joins a folder and a name with '/', without doubling separators.
std::string JoinPath(std::string_view folder, std::string_view name);
// ASCII-only case-insensitive comparison, as used for extensions and tags.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace trevanto
