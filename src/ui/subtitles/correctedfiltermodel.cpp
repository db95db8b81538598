// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subtitles/correctedfiltermodel.h"

#include "editor/subtitletablemodel.h"

#include <algorithm>

CorrectedFilterModel::CorrectedFilterModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    // Hand edits must not make a row vanish or jump; only a filter switch
    // or new records refilter.
    setDynamicSortFilter(false);
}

void CorrectedFilterModel::setRecordedOrdinals(const std::vector<int> &ordinals)
{
    std::vector<bool> recorded;
    if (!ordinals.empty())
        recorded.resize(std::size_t(std::max(0, *std::max_element(ordinals.begin(), ordinals.end()))) + 1);
    for (int ordinal : ordinals) {
        if (ordinal > 0)
            recorded[std::size_t(ordinal)] = true;
    }
    m_recorded = std::move(recorded);
    if (m_onlyCorrected)
        invalidate();
}

void CorrectedFilterModel::setOnlyCorrected(bool onlyCorrected)
{
    if (m_onlyCorrected == onlyCorrected)
        return;
    m_onlyCorrected = onlyCorrected;
    // One reset, not a removal signal per run of hidden rows: on 100,000
    // rows that is milliseconds instead of seconds.
    invalidate();
}

bool CorrectedFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (!m_onlyCorrected)
        return true;
    const int tag = sourceModel()->index(sourceRow, 0, sourceParent).data(SubtitleTableModel::TagRole).toInt();
    return tag > 0 && std::size_t(tag) < m_recorded.size() && m_recorded[std::size_t(tag)];
}
