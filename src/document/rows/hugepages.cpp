// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/rows/hugepages.h"

#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

void adviseHugePages(void *data, qsizetype bytes)
{
#ifdef Q_OS_LINUX
    // Below a few huge pages the unused end of the last one costs more than
    // the faults it saves.
    constexpr qsizetype Worthwhile = qsizetype(8) << 20;
    if (bytes < Worthwhile)
        return;
    constexpr std::uintptr_t HugePage = std::uintptr_t(1) << 21;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + HugePage - 1) & ~(HugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(bytes)) & ~(HugePage - 1);
    // Advice only: where huge pages are off or none is free, nothing changes.
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}
