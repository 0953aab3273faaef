// Finding files the way a case-blind file system would: a name written "ZBX.INI" finds
// "zbx.ini", and the pattern "*.EXE" lists "glyphcast.exe". Exact spellings always win, so a
// folder holding names that differ only in case behaves predictably.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Resolves relative (components separated by '/' or '\') under folder, which is taken as it
// is. Each component that does not exist with its exact spelling is matched without regard to
// ASCII letter case; among several such matches the first in byte order is taken. Returns
// folder + '/' + the spelling found (an empty folder with an absolute relative path resolves
// from the root); when a component exists in no spelling, the rest is kept as
// written, so the answer names the file that would be created.
std::string resolveIgnoringCase(const std::string& folder, const std::string& relative);

// Whether name matches pattern without regard to ASCII letter case: '*' stands for any run of
// characters, '?' for exactly one; "*.*" matches every name, with or without a dot.
bool matchesWildcard(std::string_view name, std::string_view pattern);

enum class EntryKind { Files, Folders, FilesAndFolders };

// One entry of a folder listing. Hidden means the name starts with a dot; read-only that
// nobody may write it.
struct TFolderEntry {
    std::string name;
    bool isFolder = false;
    bool isReadOnly = false;
    bool isHidden = false;
    int64_t size = 0;
    int64_t modified = 0; // seconds since 1970, UTC
};

// The entries of folder whose names match pattern, in the order the file system lists them;
// "." and ".." are left out, symbolic links are described by what they point at, and links
// that point nowhere are left out. A folder that cannot be read gives an empty list.
std::vector<TFolderEntry> listFolder(const std::string& folder, std::string_view pattern, EntryKind kind);
// The names of the regular files of folder that match pattern, as listFolder orders them.
std::vector<std::string> matchingFileNames(const std::string& folder, std::string_view pattern);
