// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// A table model whose column headers are plain texts that a language file
// may replace through setHeaderData.
class LabelledTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    LabelledTableModel(QStringList headers, QObject *parent);

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

private:
    QStringList m_headers;
};
