// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/rows/subtitlerows.h"
#include "document/subtitleformat.h"
#include "engine/correctionrun.h"

#include <functional>
#include <optional>

// Keeps a correction run's output as the window's two lists, in the one
// pass of the run: the subtitles as read, and the corrected rows, which
// take the texts the run left alone from the subtitles as read instead of
// copying them. When the run reads exactly the subtitles the original list
// holds already, that list is kept as it is rather than built a second
// time; from the first subtitle that differs, it is built anew.
class ListCollector : public CorrectionSink
{
public:
    // held: the original list now; it must outlive the collector.
    // expectedRows: about how many subtitles the run will read. heldIsAsRead:
    // held was read from the very bytes the run reads, so nothing needs
    // comparing. textDone hears how much of the text the run is done with.
    // Corrected rows still too fast at lettersPerSecond are counted on the
    // way, while their texts are at hand.
    ListCollector(const SubtitleRows &held, qsizetype expectedRows, bool heldIsAsRead,
                  std::function<void(qsizetype)> textDone, qint32 lettersPerSecond,
                  SubtitleFormat format = SubtitleFormat::SubRip);

    void addSubtitleAsRead(const SubtitleAsRead &subtitle) override;
    void addSubtitle(const CorrectedSubtitle &subtitle) override;
    void textDoneBefore(qsizetype offset) override { m_textDone(offset); }

    // After the run: the subtitles as read, or none when they are the held
    // ones, row for row.
    std::optional<SubtitleRows> takeRowsAsRead();
    SubtitleRows takeCorrectedRows() { return std::move(m_corrected); }
    qint64 tooFastCount() const { return m_tooFastCount; }

private:
    // From the first subtitle that differs from the held list on, the
    // subtitles as read are listed anew.
    void startReadRows(qsizetype heldRows);

    const SubtitleRows &m_held;
    qsizetype m_expectedRows;
    bool m_heldIsAsRead;
    std::function<void(qsizetype)> m_textDone;
    qint32 m_lettersPerSecond;
    SubtitleFormat m_format;
    qint64 m_tooFastCount = 0;
    qsizetype m_readCount = 0;
    std::optional<SubtitleRows> m_read;
    SubtitleRows m_corrected;
};
