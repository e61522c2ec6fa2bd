#pragma once
#include <windows.h>

// Milliseconds since construction, from the performance counter.
class Stopwatch {
public:
    Stopwatch() { ::QueryPerformanceCounter(&start_); }
    double Milliseconds() const
    {
        LARGE_INTEGER now, frequency;
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

// The fastest of several runs of a piece of work, in milliseconds.
template <class Work> double BestOf(int runs, Work work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        Stopwatch watch;
        work();
        const double elapsed = watch.Milliseconds();
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}
