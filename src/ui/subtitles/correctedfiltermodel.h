// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/shownrowsmodel.h"

#include <vector>

class SubtitleTableModel;

// The corrected list as shown: everything, or with "Show only corrected
// subtitles" only the rows whose ordinal has an edit record (both halves of
// a split). The model underneath always keeps the whole document. Hand
// edits never make a row vanish or jump; only a filter switch or new
// records filter again.
class CorrectedFilterModel : public ShownRowsModel
{
    Q_OBJECT

public:
    explicit CorrectedFilterModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;
    void setRecordedOrdinals(const std::vector<int> &ordinals);
    void setOnlyCorrected(bool onlyCorrected);
    bool onlyCorrected() const { return m_onlyCorrected; }

protected:
    bool acceptsRow(int sourceRow) const override;

private:
    const SubtitleTableModel *m_subtitles = nullptr; // the source, when it is one
    std::vector<bool> m_recorded; // indexed by ordinal
    bool m_onlyCorrected = false;
};
