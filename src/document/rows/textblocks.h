// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <memory>
#include <vector>

// The UTF-8 texts of many rows, appended into large blocks that never move
// or shrink, so a row keeps a 64-bit place instead of a string of its own.
// A text once appended stays readable for the life of the blocks.
class TextBlocks
{
public:
    // Where a text starts: the block in the high 32 bits, the offset in it
    // in the low 32.
    using Place = quint64;

    Place append(QByteArrayView utf8);
    // Room for at most maxBytes at the end, for writing a text in place;
    // commit() then keeps the bytes actually written.
    char *reserve(qsizetype maxBytes, Place &place);
    void commit(qsizetype bytes) { m_used += bytes; }

    QByteArrayView view(Place place, qsizetype size) const
    {
        return QByteArrayView(m_blocks[std::size_t(place >> 32)].get() + (place & 0xFFFFFFFFu), size);
    }

    // Whole huge pages (see adviseHugePages), and few enough blocks for a
    // file of a gigabyte; the unused end of the last one is never touched.
    static constexpr qsizetype BlockBytes = qsizetype(1) << 23;
    static constexpr qsizetype FirstBlockBytes = qsizetype(1) << 21;

private:
    struct FreeBlock
    {
        void operator()(char *block) const;
    };

    std::vector<std::unique_ptr<char[], FreeBlock>> m_blocks;
    qsizetype m_used = 0;     // in the last block
    qsizetype m_capacity = 0; // of the last block
};
