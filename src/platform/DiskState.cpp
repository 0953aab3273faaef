#include "platform/DiskState.h"

#include <sys/stat.h>

TDiskState TDiskState::of(const std::string& path)
{
    struct stat info {};
    TDiskState state;
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return state;
    state.exists = true;
    state.modifiedNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    state.size = static_cast<int64_t>(info.st_size);
    state.device = static_cast<uint64_t>(info.st_dev);
    state.inode = static_cast<uint64_t>(info.st_ino);
    return state;
}
