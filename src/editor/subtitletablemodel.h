// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/labelledtablemodel.h"
#include "engine/shots/shotchangetime.h"

#include <vector>

class LangDoc;
class SubtitleList;
struct Message;

// One list of subtitles as a table: number, start, end, text and reading
// speed, made into texts only for the cells a view shows, so a file of a
// million subtitles stays instant. Rows whose subtitle still reads too
// fast, or hides before it shows, are marked; in the corrected list the
// number cell also marks the kind of correction the row's record tells.
// The rows themselves are the list's: the model follows its changes.
class SubtitleTableModel : public LabelledTableModel
{
    Q_OBJECT

public:
    // The reading speed is the fifth column, so the first four keep their
    // numbers (and their captions in language files); views move it into place.
    enum Column { NumberColumn, StartColumn, EndColumn, TextColumn, CpsColumn, ColumnCount };
    // The row's tag (the ordinal of the subtitle as read) as an int.
    static constexpr int TagRole = Qt::UserRole + 1;
    // Whether the row's text needs more time than it is shown (bool).
    static constexpr int TooFastRole = Qt::UserRole + 2;

    // list must outlive the model.
    explicit SubtitleTableModel(const SubtitleList &list, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const SubtitleList &list() const { return m_list; }
    // Tooltips and marks in this language; English without one. The
    // document must outlive the model.
    void setLanguage(const LangDoc *lang);
    // The subtitles as read, which a moved start's tooltip quotes; must
    // outlive this model.
    void setOriginalRows(const SubtitleList *original) { m_original = original; }
    // The times the correction's shot-change rules chose: a row still at
    // one says why in its number's tooltip.
    void setShotChangeTimes(const std::vector<ShotChangeTime> *times) { m_shotChangeTimes = times; }
    // The shot-change time row stands at; nullptr when none.
    const ShotChangeTime *shotChangeTimeOf(int row) const;

private:
    QString word(const Message &message) const;
    QVariant numberData(int row, int role) const;
    QVariant cpsData(int row, int role) const;
    QVariant endData(int row, int role) const;
    void columnChanged(int column, int first, const QList<int> &roles = {});

    const SubtitleList &m_list;
    const LangDoc *m_lang = nullptr;
    const SubtitleList *m_original = nullptr;
    const std::vector<ShotChangeTime> *m_shotChangeTimes = nullptr;
};
