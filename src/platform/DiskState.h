// What the file system says about a file at one moment: enough to notice that another program
// changed, replaced or deleted it since (its time of change, size and identity).
#pragma once

#include <cstdint>
#include <string>

struct TDiskState
{
    bool exists = false;
    int64_t modifiedNs = 0; // last change of the content, in nanoseconds since 1970
    int64_t size = 0;
    uint64_t device = 0;
    uint64_t inode = 0; // a program that saves by renaming a new file over the old changes it

    // The state of path now (symbolic links followed); a path that cannot be examined counts
    // as not existing.
    static TDiskState of(const std::string& path);

    bool operator==(const TDiskState&) const = default;
};
