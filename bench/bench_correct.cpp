// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-bench: times the in-place correction of quillmend-cli on a large
// file against the floor (read, split into lines, write back), alternating
// the two in one run so both see the same machine state.

#include "bencharguments.h"
#include "floorpass.h"
#include "srtgenerator.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char *usage =
    "usage: quillmend-bench [--cli PATH] [--count N] [--runs R] [--keep] [--file FILE] [--set KEY=VALUE]...\n"
    "  --cli PATH   the correction program (default: quillmend-cli beside this program)\n"
    "  --count N    subtitles in the generated file (default 1000000, about 100 MB)\n"
    "  --runs R     timed runs of the floor and of the correction, alternating (default 3)\n"
    "  --keep       keep the work folder (generated file, last outputs, correction log)\n"
    "  --file FILE  measure on a copy of FILE instead of a generated file\n"
    "  --set KEY=VALUE  also time a correction with this setting changed (repeatable),\n"
    "               against the default correction\n"
    "The work folder is made under $TMPDIR when set, else under the build folder.\n";

constexpr std::size_t chunkBytes = 1u << 20; // small: the parent stays lean, see runForked
constexpr double targetTimeRatio = 3.0;
constexpr double targetMemoryRatio = 4.0;
constexpr double targetVariantRatio = 1.5;
constexpr std::uint64_t smallFileBytes = 10'000'000;

struct Options
{
    std::string cliPath;
    std::uint64_t count = 1'000'000;
    std::uint64_t runs = 3;
    bool keep = false;
    std::string file;
    std::vector<std::string> variantSettings; // KEY=VALUE, for --set
};

struct ChildResult
{
    double seconds = 0;
    std::uint64_t peakRssBytes = 0;
    int status = 0;
};

std::string errnoText(const char *what, const std::string &path)
{
    return std::string(what) + ' ' + path + ": " + std::strerror(errno);
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string executableFolder()
{
    std::error_code code;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", code);
    return code ? std::string(".") : path.parent_path().string();
}

// Removes the work folder when the run ends, also on an error, unless kept.
class WorkFolder
{
public:
    explicit WorkFolder(bool keep) : m_keep(keep) {}
    ~WorkFolder()
    {
        if (m_path.empty())
            return;
        if (m_keep) {
            std::printf("work folder kept: %s\n", m_path.c_str());
        } else {
            std::error_code ignored;
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    bool create(std::string &error)
    {
        // $TMPDIR first; else the build folder (the parent of bin/), which is
        // on a real disk where /tmp may be a RAM file system.
        std::vector<std::string> parents;
        if (const char *tmp = std::getenv("TMPDIR"); tmp && *tmp)
            parents.emplace_back(tmp);
        parents.push_back(std::filesystem::path(executableFolder()).parent_path().string());
        parents.emplace_back("/tmp");
        for (const auto &parent : parents) {
            std::string pattern = parent + "/quillmend-bench-XXXXXX";
            if (::mkdtemp(pattern.data())) {
                m_path = pattern;
                return true;
            }
        }
        error = "cannot create a work folder under " + parents.front();
        return false;
    }

    std::string file(const char *name) const { return m_path + '/' + name; }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
    bool m_keep;
};

// Reads a file through once, so its pages are cached before it is timed;
// counts the time lines ("-->") on the way, which is the subtitle count of a
// well-formed file.
bool readThrough(const std::string &path, std::uint64_t &size, std::uint64_t &timeLines, std::string &error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errnoText("cannot open", path);
        return false;
    }
    const auto buffer = std::make_unique_for_overwrite<char[]>(chunkBytes);
    char before[2] = {0, 0}; // the last two bytes of the previous chunk
    size = 0;
    timeLines = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get(), chunkBytes);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = errnoText("cannot read", path);
            ::close(fd);
            return false;
        }
        if (got == 0)
            break;
        const char *data = buffer.get();
        const auto at = [&](ssize_t index) { return index >= 0 ? data[index] : before[2 + index]; };
        for (const char *p = data; (p = static_cast<const char *>(std::memchr(p, '>', std::size_t(data + got - p))));
             ++p) {
            const ssize_t index = p - data;
            if (at(index - 1) == '-' && at(index - 2) == '-')
                ++timeLines;
        }
        before[0] = got >= 2 ? data[got - 2] : before[1];
        before[1] = data[got - 1];
        size += std::uint64_t(got);
    }
    ::close(fd);
    return true;
}

// A fresh copy for each timed run, flushed to disk and then read once, so
// neither write-back of earlier runs nor a cold cache lands in the timing.
bool prepareCopy(const std::string &from, const std::string &to, const std::string &folder, std::string &error)
{
    ::unlink(to.c_str());
    const int inFd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (inFd < 0) {
        error = errnoText("cannot open", from);
        return false;
    }
    const int outFd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (outFd < 0) {
        error = errnoText("cannot create", to);
        ::close(inFd);
        return false;
    }
    const auto buffer = std::make_unique_for_overwrite<char[]>(chunkBytes);
    bool isOk = true;
    for (;;) {
        const ssize_t got = ::read(inFd, buffer.get(), chunkBytes);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = errnoText("cannot read", from);
            isOk = false;
            break;
        }
        if (got == 0)
            break;
        if (!writeAll(outFd, buffer.get(), std::size_t(got))) {
            error = errnoText("cannot write", to);
            isOk = false;
            break;
        }
    }
    ::close(inFd);
    if (::close(outFd) != 0 && isOk) {
        error = errnoText("cannot write", to);
        isOk = false;
    }
    if (!isOk)
        return false;

    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::syncfs(folderFd);
        ::close(folderFd);
    }
    std::uint64_t size;
    std::uint64_t timeLines;
    return readThrough(to, size, timeLines, error);
}

bool createEmptyFile(const std::string &path, std::string &error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::close(fd) != 0) {
        error = errnoText("cannot create", path);
        return false;
    }
    return true;
}

// Runs body in a forked child and measures the child's wall time and peak
// resident memory. A child's peak includes what it inherits (the parent's
// resident pages at fork, and with posix_spawn even the parent's own peak),
// so the parent never holds a file's worth of memory: the floor runs in a
// child too.
template <typename Body>
bool runForked(Body &&body, ChildResult &result, std::string &error)
{
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body()); // no destructors: they belong to the parent
    if (pid < 0) {
        error = std::string("cannot start a process: ") + std::strerror(errno);
        return false;
    }
    struct rusage childUsage{};
    int status = 0;
    while (::wait4(pid, &status, 0, &childUsage) < 0) {
        if (errno != EINTR) {
            error = std::string("cannot wait for a child process: ") + std::strerror(errno);
            return false;
        }
    }
    result.seconds = secondsSince(start);
    result.peakRssBytes = std::uint64_t(childUsage.ru_maxrss) * 1024; // KiB on Linux
    result.status = status;
    return true;
}

std::string describeStatus(int status)
{
    if (WIFSIGNALED(status))
        return "was killed by signal " + std::to_string(WTERMSIG(status));
    return "exited with status " + std::to_string(WEXITSTATUS(status));
}

bool isSuccess(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool runFloor(const std::string &inputPath, const std::string &outputPath, ChildResult &result,
              std::string &error)
{
    const auto body = [&] {
        FloorPassResult floorResult;
        std::string floorError;
        if (runFloorPass(inputPath, outputPath, floorResult, floorError))
            return 0;
        std::fprintf(stderr, "quillmend-bench: %s\n", floorError.c_str());
        return 1;
    };
    if (!runForked(body, result, error))
        return false;
    if (!isSuccess(result.status)) {
        error = "the floor pass " + describeStatus(result.status);
        return false;
    }
    return true;
}

// Runs the correction with stdin from /dev/null and its output to logPath.
// An exit status other than 0 is left to the caller, which shows the log.
bool runCorrection(const std::vector<std::string> &arguments, const std::string &logPath, ChildResult &result,
                   std::string &error)
{
    std::vector<char *> argv;
    for (const auto &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    const int logFd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (logFd < 0) {
        error = errnoText("cannot create", logPath);
        return false;
    }
    const int nullFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int execFailure[2]; // carries errno when exec fails; closed by a successful exec
    if (nullFd < 0 || ::pipe2(execFailure, O_CLOEXEC) != 0) {
        error = std::string("cannot prepare the child process: ") + std::strerror(errno);
        ::close(logFd);
        if (nullFd >= 0)
            ::close(nullFd);
        return false;
    }
    const auto body = [&] {
        ::dup2(nullFd, STDIN_FILENO);
        ::dup2(logFd, STDOUT_FILENO);
        ::dup2(logFd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        const int code = errno;
        [[maybe_unused]] const ssize_t ignored = ::write(execFailure[1], &code, sizeof code);
        return 127;
    };
    const bool isStarted = runForked(body, result, error);
    ::close(execFailure[1]);
    ::close(logFd);
    ::close(nullFd);
    int execErrno = 0;
    const ssize_t got = isStarted ? ::read(execFailure[0], &execErrno, sizeof execErrno) : 0;
    ::close(execFailure[0]);
    if (got == sizeof execErrno) {
        error = "cannot run " + arguments.front() + ": " + std::strerror(execErrno);
        return false;
    }
    return isStarted;
}

std::string tailOf(const std::string &path, std::size_t maximumBytes)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {};
    std::string text;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, got);
        if (text.size() > 2 * maximumBytes)
            text.erase(0, text.size() - maximumBytes);
    }
    std::fclose(file);
    if (text.size() > maximumBytes)
        text.erase(0, text.size() - maximumBytes);
    return text;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double best(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

double megabytes(std::uint64_t bytes)
{
    return double(bytes) / 1e6;
}

const char *verdict(bool isMet)
{
    return isMet ? "PASS" : "FAIL";
}

int fail(const std::string &error)
{
    std::fprintf(stderr, "quillmend-bench: %s\n", error.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    bool wantsHelp = false;
    bool hasCount = false;
    BenchArguments arguments(argc, argv);
    while (arguments.hasMore() && !arguments.hasError()) {
        if (arguments.takeFlag("--help", wantsHelp) || arguments.takeFlag("-h", wantsHelp)
            || arguments.takeText("--cli", options.cliPath) || arguments.takeNumber("--runs", options.runs)
            || arguments.takeFlag("--keep", options.keep) || arguments.takeText("--file", options.file))
            continue;
        if (arguments.takeNumber("--count", options.count)) {
            hasCount = true;
            continue;
        }
        if (std::string setting; arguments.takeText("--set", setting)) {
            options.variantSettings.push_back(setting);
            continue;
        }
        std::string unexpected;
        arguments.takePositional(unexpected);
        if (!arguments.hasError()) {
            std::fprintf(stderr, "quillmend-bench: unexpected argument %s\n%s", unexpected.c_str(), usage);
            return 2;
        }
    }
    const std::string usageError = commonOptionsError(arguments.error(), options.runs, hasCount, options.file,
                                                      options.count, SrtGenerator::maximumCount);
    if (!usageError.empty()) {
        std::fprintf(stderr, "quillmend-bench: %s\n%s", usageError.c_str(), usage);
        return 2;
    }
    if (wantsHelp) {
        std::fputs(usage, stdout);
        return 0;
    }

    if (options.cliPath.empty())
        options.cliPath = executableFolder() + "/quillmend-cli";
    if (::access(options.cliPath.c_str(), X_OK) != 0)
        return fail(errnoText("cannot run", options.cliPath) + " (build quillmend-cli or pass --cli PATH)");
    if (!options.file.empty() && ::access(options.file.c_str(), R_OK) != 0)
        return fail(errnoText("cannot read", options.file));

    std::string error;
    WorkFolder work(options.keep);
    if (!work.create(error))
        return fail(error);
    std::printf("work folder: %s\n", work.path().c_str());

    std::string source = options.file;
    if (source.empty()) {
        source = work.file("generated.srt");
        const auto start = std::chrono::steady_clock::now();
        SrtGenerator generator(1);
        if (!generator.write(source, options.count, false, error))
            return fail(error);
        std::printf("generated %s subtitles in %.2f s\n", withThousands(options.count).c_str(), secondsSince(start));
    }
    std::uint64_t fileBytes = 0;
    std::uint64_t subtitles = 0;
    if (!readThrough(source, fileBytes, subtitles, error))
        return fail(error);
    if (fileBytes == 0)
        return fail(source + " is empty");

    const std::string floorCopy = work.file("floor.srt");
    const std::string floorOutput = work.file("floor-output.srt");
    const std::string correctedCopy = work.file("corrected.srt");
    const std::string backup = correctedCopy + ".bak";
    const std::string settingsFolder = work.file("settings");
    const std::string settingsFile = settingsFolder + "/Quillmend.ini";
    const std::string logFile = work.file("correction.log");
    if (::mkdir(settingsFolder.c_str(), 0755) != 0)
        return fail(errnoText("cannot create", settingsFolder));
    const std::vector<std::string> command = {options.cliPath, "--settings", settingsFile, "--replace-bak",
                                              correctedCopy};
    std::vector<std::string> variantCommand = {options.cliPath, "--settings", settingsFile, "--replace-bak"};
    for (const std::string &setting : options.variantSettings) {
        variantCommand.push_back("--set");
        variantCommand.push_back(setting);
    }
    variantCommand.push_back(correctedCopy);
    const bool hasVariant = !options.variantSettings.empty();

    std::vector<double> floorSeconds;
    std::vector<double> correctionSeconds;
    std::vector<double> variantSeconds;
    std::uint64_t floorPeakRssBytes = 0;
    std::uint64_t peakRssBytes = 0;
    // On a fresh copy with a fresh empty settings file, so every run starts
    // from the defaults whatever the previous run saved. A failing program
    // has the tail of its log shown.
    const auto timeCorrection = [&](const std::vector<std::string> &correction, ChildResult &result) {
        if (!prepareCopy(source, correctedCopy, work.path(), error) || !createEmptyFile(settingsFile, error)
            || !runCorrection(correction, logFile, result, error))
            return false;
        if (!isSuccess(result.status)) {
            std::fprintf(stderr, "%s", tailOf(logFile, 4000).c_str());
            error = options.cliPath + ' ' + describeStatus(result.status);
            return false;
        }
        struct stat corrected;
        if (::stat(correctedCopy.c_str(), &corrected) != 0 || corrected.st_size == 0) {
            error = "the correction left no file at " + correctedCopy;
            return false;
        }
        return true;
    };
    for (std::uint64_t run = 1; run <= options.runs; ++run) {
        // Outputs of the previous run go first, so freeing their blocks is not timed.
        ::unlink(floorOutput.c_str());
        ::unlink(backup.c_str());

        ChildResult floorRun;
        if (!prepareCopy(source, floorCopy, work.path(), error) || !runFloor(floorCopy, floorOutput, floorRun, error))
            return fail(error);
        floorSeconds.push_back(floorRun.seconds);
        floorPeakRssBytes = std::max(floorPeakRssBytes, floorRun.peakRssBytes);

        ChildResult correctionRun;
        if (!timeCorrection(command, correctionRun))
            return fail(error);
        correctionSeconds.push_back(correctionRun.seconds);
        peakRssBytes = std::max(peakRssBytes, correctionRun.peakRssBytes);
        std::printf("run %llu/%llu: floor %.3f s, correction %.3f s, peak RSS %.1f MB\n",
                    static_cast<unsigned long long>(run), static_cast<unsigned long long>(options.runs),
                    floorRun.seconds, correctionRun.seconds, megabytes(correctionRun.peakRssBytes));

        if (hasVariant) {
            ::unlink(backup.c_str());
            ChildResult variantRun;
            if (!timeCorrection(variantCommand, variantRun))
                return fail(error);
            variantSeconds.push_back(variantRun.seconds);
            std::printf("         variant %.3f s, peak RSS %.1f MB\n", variantRun.seconds,
                        megabytes(variantRun.peakRssBytes));
        }
    }

    const double floorMedian = median(floorSeconds);
    const double correctionMedian = median(correctionSeconds);
    const double timeRatio = floorMedian > 0 ? correctionMedian / floorMedian : 0;
    const double memoryRatio = double(peakRssBytes) / double(fileBytes);
    std::printf("\n");
    std::printf("%-16s%.1f MB, %s subtitles%s\n", "file", megabytes(fileBytes), withThousands(subtitles).c_str(),
                options.file.empty() ? " (generated)" : "");
    std::printf("%-16s%llu of each, alternating\n", "runs", static_cast<unsigned long long>(options.runs));
    std::printf("%-16s%10s %10s\n", "", "best", "median");
    std::printf("%-16s%8.3f s %8.3f s\n", "floor", best(floorSeconds), floorMedian);
    std::printf("%-16s%8.3f s %8.3f s\n", "correction", best(correctionSeconds), correctionMedian);
    std::printf("%-16s%.2fx the floor (medians)\n", "ratio", timeRatio);
    double variantRatio = 0;
    if (hasVariant) {
        std::string settings;
        for (const std::string &setting : options.variantSettings)
            settings += ' ' + setting;
        variantRatio = correctionMedian > 0 ? median(variantSeconds) / correctionMedian : 0;
        std::printf("%-16s%8.3f s %8.3f s  (with%s)\n", "variant", best(variantSeconds), median(variantSeconds),
                    settings.c_str());
        std::printf("%-16s%.2fx the default correction (medians)\n", "", variantRatio);
    }
    std::printf("%-16s%.1f MB = %.2fx the file size (correction, highest run)\n", "peak RSS", megabytes(peakRssBytes),
                memoryRatio);
    std::printf("%-16s%.1f MB = %.2fx (floor, for reference)\n", "", megabytes(floorPeakRssBytes),
                double(floorPeakRssBytes) / double(fileBytes));
    std::printf("\n");
    std::printf("within %.0fx of the floor              %s  (%.2fx)\n", targetTimeRatio,
                verdict(timeRatio <= targetTimeRatio), timeRatio);
    std::printf("peak memory under %.0fx the file size  %s  (%.2fx)\n", targetMemoryRatio,
                verdict(memoryRatio < targetMemoryRatio), memoryRatio);
    if (hasVariant)
        std::printf("variant within %.1fx of the default   %s  (%.2fx)\n", targetVariantRatio,
                    verdict(variantRatio <= targetVariantRatio), variantRatio);
    if (fileBytes < smallFileBytes)
        std::printf("\nnote: with a file this small, start-up costs outweigh the correction;\n"
                    "the targets are meant for 1,000,000 subtitles (about 100 MB)\n");
    return 0;
}
