#pragma once

// The table every benchmark program prints: one row per measurement, its
// figure, and the target it is held against.

#include <chrono>
#include <cstdio>
#include <string>

class CBenchTable
{
public:
    explicit CBenchTable(const char* title)
    {
        std::printf("\n%s\n", title);
        std::printf("%-58s %14s  %-10s %s\n", "measurement", "figure", "unit", "target");
        std::printf("%s\n", std::string(100, '-').c_str());
    }

    void Row(const std::string& what, double figure, const char* unit, const std::string& target)
    {
        std::printf("%-58s %14.3f  %-10s %s\n", what.c_str(), figure, unit, target.c_str());
        std::fflush(stdout);
    }

    void Note(const std::string& what, const std::string& text)
    {
        std::printf("%-58s %s\n", what.c_str(), text.c_str());
        std::fflush(stdout);
    }
};

// Seconds taken by f(), the best of repeat runs.
template <typename F> double BestSeconds(int repeat, F&& f)
{
    double best = 1e300;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        if (taken.count() < best)
            best = taken.count();
    }
    return best;
}
