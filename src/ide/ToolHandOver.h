// What passes between the IDE and the tool programs of its "EXTERNAL PROGRAMS" folder: the
// list of tools a folder scan found, and the text a tool leaves in RES_FILE.TXT. The hand-over
// file is read with a size limit and emptied only once its text has been taken, so a failed
// insertion never loses the tool's text.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* kExternalProgramsFolder = "EXTERNAL PROGRAMS";
inline constexpr const char* kResultFileName = "RES_FILE.TXT";
// Far more than any tool writes (a font table is about 100 KB), small enough to insert at once.
inline constexpr long long kMaxResultFileSize = 16LL * 1024 * 1024;

// One Run menu entry: the caption shown (the file name without its extension) and the
// program file's own name.
struct TToolProgram {
    std::string caption;
    std::string fileName;
};

// The entries for the result lines of a scan (folder and name, or only the name), in order.
std::vector<TToolProgram> toolProgramsFromResults(const std::vector<std::string>& lines);

// The lines of bytes (split at CR LF, LF CR, CR or LF), each followed by CR LF; no lines, no text.
std::string joinLinesWithCrLf(const std::string& bytes);

struct TResultFileText {
    enum Kind {
        Missing,    // no hand-over file: nothing to insert
        Text,       // text holds what to insert (possibly empty)
        Unreadable, // error says why; the file must be left as it is
    } kind = Missing;
    std::string text;
    std::string error;
};

// Reads the hand-over file at path. A file larger than maxSize, or one that is not a regular
// file or cannot be read, is Unreadable.
TResultFileText readResultFile(const std::string& path, long long maxSize = kMaxResultFileSize);
// Cuts the hand-over file to zero length; false with error set when it cannot be written.
bool emptyResultFile(const std::string& path, std::string& error);
