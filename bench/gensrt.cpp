// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-gensrt: writes a large SRT file for benchmarks and manual tests.

#include "bencharguments.h"
#include "srtgenerator.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char *usage =
    "usage: quillmend-gensrt [--count N] [--seed S] [--lf] OUTPUT\n"
    "  --count N  number of subtitles (default 1000000, about 100 MB)\n"
    "  --seed S   seed of the text and timing (default 1); a seed always gives the same file\n"
    "  --lf       end lines with LF instead of CR LF\n";

} // namespace

int main(int argc, char **argv)
{
    std::uint64_t count = 1'000'000;
    std::uint64_t seed = 1;
    bool useLf = false;
    bool wantsHelp = false;
    std::string output;

    BenchArguments arguments(argc, argv);
    while (arguments.hasMore() && !arguments.hasError()) {
        if (arguments.takeFlag("--help", wantsHelp) || arguments.takeFlag("-h", wantsHelp)
            || arguments.takeNumber("--count", count) || arguments.takeNumber("--seed", seed)
            || arguments.takeFlag("--lf", useLf))
            continue;
        arguments.takePositional(output);
    }
    if (wantsHelp && !arguments.hasError()) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (arguments.hasError() || output.empty()) {
        std::fprintf(stderr, "quillmend-gensrt: %s\n%s",
                     arguments.hasError() ? arguments.error().c_str() : "no output file given", usage);
        return 2;
    }

    SrtGenerator generator(seed);
    std::string error;
    if (!generator.write(output, count, useLf, error)) {
        std::fprintf(stderr, "quillmend-gensrt: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
