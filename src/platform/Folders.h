// Where the program finds its files: <app>, the folder that holds the running program, and
// <inc>, its INC subfolder. Paths written with backslashes (as settings files and templates hold
// them) are turned into local paths here; every folder returned ends in '/'.
#pragma once

#include <string>

// The folder of the running program, with a trailing '/'. Worked out once from the program's
// own path; tests may place it elsewhere with setApplicationFolder.
std::string applicationFolder();
// <app> followed by the INC folder: "INC/", or the existing folder whose name is "INC" in
// other letter case.
std::string includeFolder();
// Replaces the folder applicationFolder() answers (a trailing '/' is added when missing);
// an empty folder returns to the program's own.
void setApplicationFolder(const std::string& folder);

// Backslashes become '/'; nothing else changes.
std::string toLocalPath(const std::string& path);
// The path with a trailing '/' added when it has none (an empty path stays empty).
std::string withTrailingSlash(const std::string& path);
// The short (8.3) form of a path as handed to external programs. Local file systems have no
// short names, so the path is returned as it is.
std::string ShortPath(const std::string& path);
