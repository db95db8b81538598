// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>

#include <vector>

// The corrected list as shown: everything, or with "Show only corrected
// subtitles" only the rows whose ordinal has an edit record (both halves of
// a split). The model underneath always keeps the whole document.
class CorrectedFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit CorrectedFilterModel(QObject *parent = nullptr);

    void setRecordedOrdinals(const std::vector<int> &ordinals);
    void setOnlyCorrected(bool onlyCorrected);
    bool onlyCorrected() const { return m_onlyCorrected; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    std::vector<bool> m_recorded; // indexed by ordinal
    bool m_onlyCorrected = false;
};
