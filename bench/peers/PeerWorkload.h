// What every program of the side-by-side harness shares: the generated document, the CPU clock,
// the heap counter, the insert positions and the report lines. Header-only and free of Qt, so
// the Qt 6 and Qt 5 programs use the same bytes, the same positions and the same clock.
// Each program prints "name value" lines; run.sh puts them side by side.
#pragma once

#include "../BasicSource.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace peers {

constexpr size_t kDocumentBytes = 52u << 20;
constexpr int kInserts = 10000;

// The generated BASIC document with LF line ends.
inline std::string generateDocument()
{
    std::string crlf = bench::BasicSourceGenerator(7).generate(kDocumentBytes);
    std::string text;
    text.reserve(crlf.size());
    for (char c : crlf)
        if (c != '\r')
            text.push_back(c);
    return text;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream out;
    out << file.rdbuf();
    return out.str();
}

// CPU seconds of the whole process: the machine is shared, so wall time says little.
inline double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Milliseconds of CPU time that work takes.
inline double cpuMilliseconds(const std::function<void()>& work)
{
    const double start = cpuSeconds();
    work();
    return (cpuSeconds() - start) * 1000.0;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Bytes of memory the process holds right now (resident pages), after the heap has given back
// what it can. Measured before anything large was allocated and freed, the growth is what a
// document keeps, however it allocates (heap blocks or mapped slabs).
inline int64_t residentBytes()
{
    malloc_trim(0);
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<int64_t>(resident) * sysconf(_SC_PAGESIZE);
}

// The lines that receive the inserts: the same for every program.
inline std::vector<int64_t> insertLines(int64_t lineCount)
{
    std::mt19937 random(21);
    std::vector<int64_t> lines(kInserts);
    for (int64_t& line : lines)
        line = static_cast<int64_t>(random() % static_cast<uint64_t>(lineCount));
    return lines;
}

// The floor of loading: reading the file whole and indexing its line starts.
inline double floorLoadMilliseconds(const std::string& path, int64_t& lineCount)
{
    return cpuMilliseconds([&] {
        std::string text;
        const int fd = ::open(path.c_str(), O_RDONLY);
        struct stat info{};
        if (fd >= 0 && ::fstat(fd, &info) == 0) {
            text.resize(static_cast<size_t>(info.st_size));
            size_t done = 0;
            while (done < text.size()) {
                const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
                if (got <= 0)
                    break;
                done += static_cast<size_t>(got);
            }
            text.resize(done);
        }
        if (fd >= 0)
            ::close(fd);
        std::vector<uint32_t> starts;
        starts.reserve(text.size() / 32);
        starts.push_back(0);
        const char* const begin = text.data();
        const char* const end = begin + text.size();
        for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)))); ++at)
            starts.push_back(static_cast<uint32_t>(at + 1 - begin));
        lineCount = static_cast<int64_t>(starts.size());
    });
}

inline void report(const char* program, const char* name, double value)
{
    std::printf("%s %s %.3f\n", program, name, value);
    std::fflush(stdout);
}

} // namespace peers
