// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subtitles/correctedfiltermodel.h"

#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"

#include <algorithm>

CorrectedFilterModel::CorrectedFilterModel(QObject *parent) : ShownRowsModel(parent) {}

void CorrectedFilterModel::setSourceModel(QAbstractItemModel *source)
{
    m_subtitles = qobject_cast<const SubtitleTableModel *>(source);
    ShownRowsModel::setSourceModel(source);
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
        showAccepted();
}

void CorrectedFilterModel::setOnlyCorrected(bool onlyCorrected)
{
    if (m_onlyCorrected == onlyCorrected)
        return;
    m_onlyCorrected = onlyCorrected;
    // One change of layout, not a removal signal per run of hidden rows.
    if (onlyCorrected)
        showAccepted();
    else
        showAll();
}

bool CorrectedFilterModel::acceptsRow(int sourceRow) const
{
    const int tag = m_subtitles ? m_subtitles->list().tag(sourceRow)
                                : sourceModel()->index(sourceRow, 0).data(SubtitleTableModel::TagRole).toInt();
    return tag > 0 && std::size_t(tag) < m_recorded.size() && m_recorded[std::size_t(tag)];
}
