#pragma once
// What the benchmarks time with: the process's CPU time, which other work on
// a shared machine hardly moves, and the median of rounds.

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace bench {

inline double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The calling thread's CPU time: what one thread holds, whatever the others do.
inline double threadCpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

template <typename Step>
double cpuTime(Step step)
{
    const double start = cpuMilliseconds();
    step();
    return cpuMilliseconds() - start;
}

// The card sizes in kilobytes given on the command line, else the usual ones.
inline std::vector<int> kilobytesFrom(int argc, char **argv, std::vector<int> usual = {1024, 10240})
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    return sizes.empty() ? usual : sizes;
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace bench
