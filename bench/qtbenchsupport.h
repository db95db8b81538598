// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks built on Qt share: timing, medians, the process's
// memory, a work folder and a prompter that never waits for anyone.

#include "document/prompter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Kilobytes from a "Name:   1234 kB" line of /proc/self/status.
inline std::uint64_t statusKilobytes(const char *name)
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    std::uint64_t value = 0;
    const std::size_t nameLength = std::char_traits<char>::length(name);
    while (std::fgets(line, sizeof line, status)) {
        if (std::char_traits<char>::compare(line, name, nameLength) == 0 && line[nameLength] == ':') {
            value = std::strtoull(line + nameLength + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return value;
}

// Starts VmHWM over from the resident size now, so the next reading is the
// peak of what runs in between (Linux 4.0 and later).
inline bool resetPeakResidentSize()
{
    std::FILE *clearRefs = std::fopen("/proc/self/clear_refs", "w");
    if (!clearRefs)
        return false;
    const bool written = std::fputs("5", clearRefs) >= 0;
    return std::fclose(clearRefs) == 0 && written;
}

// A folder named after the tool under $TMPDIR, else the build folder (the
// parent of bin/), where quillmend-bench puts its own, else /tmp.
inline std::unique_ptr<QTemporaryDir> makeWorkFolder(const QString &tool, bool keep)
{
    QStringList parents;
    if (const QString tmp = qEnvironmentVariable("TMPDIR"); !tmp.isEmpty())
        parents << tmp;
    parents << QFileInfo(QCoreApplication::applicationDirPath()).path() << QStringLiteral("/tmp");
    for (const QString &parent : std::as_const(parents)) {
        auto folder = std::make_unique<QTemporaryDir>(parent + u'/' + tool + QStringLiteral("-XXXXXX"));
        if (folder->isValid()) {
            folder->setAutoRemove(!keep);
            return folder;
        }
    }
    return nullptr;
}

// Answers every question with its default button and keeps the notices, so
// a notice in a timed step (a read error) fails the run instead of blocking.
class SilentPrompter : public Prompter
{
public:
    void inform(const QString &text, const QString &) override { m_notices << text; }
    Answer ask(const QString &, Buttons, Answer defaultAnswer) override { return defaultAnswer; }
    std::optional<QString> askText(const QString &, const QString &, const QString &initialText) override
    {
        return initialText;
    }

    QStringList takeNotices() { return std::exchange(m_notices, {}); }

private:
    QStringList m_notices;
};
