// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/rows/textblocks.h"

#include "document/rows/hugepages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

void TextBlocks::FreeBlock::operator()(char *block) const
{
    std::free(block);
}

char *TextBlocks::reserve(qsizetype maxBytes, Place &place)
{
    if (m_blocks.empty() || m_capacity - m_used < maxBytes) {
        // Aligned to huge pages and left uninitialised: pages nobody writes
        // are never made resident.
        // The first block small, for the many files that need no more.
        constexpr qsizetype HugePage = qsizetype(1) << 21;
        const qsizetype blockBytes = m_blocks.empty() ? FirstBlockBytes : BlockBytes;
        m_capacity = (std::max(blockBytes, maxBytes) + HugePage - 1) & ~(HugePage - 1);
        auto *block = static_cast<char *>(std::aligned_alloc(std::size_t(HugePage), std::size_t(m_capacity)));
        if (!block)
            throw std::bad_alloc();
        adviseHugePages(block, m_capacity);
        m_blocks.emplace_back(block);
        m_used = 0;
    }
    place = Place(m_blocks.size() - 1) << 32 | Place(m_used);
    return m_blocks.back().get() + m_used;
}

TextBlocks::Place TextBlocks::append(QByteArrayView utf8)
{
    Place place;
    char *out = reserve(utf8.size(), place);
    if (!utf8.isEmpty())
        std::memcpy(out, utf8.data(), std::size_t(utf8.size()));
    commit(utf8.size());
    return place;
}
