// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/pendingedits.h"

#include <QPersistentModelIndex>
#include <QWidget>

class LangDoc;
class QPlainTextEdit;
class Prompter;
class SubtitleDocument;
class SubtitleTextEdit;
class TimeLineEdit;

// A row's text as a box shows it: lines end in "\n", not CR LF.
QString rowTextToBoxText(const QString &rowText);
// Right-aligns a box holding right-to-left text, left-aligns any other.
void alignByTextDirection(QPlainTextEdit &box);

// The boxes that edit the selected corrected subtitle: its two times and
// its text. They write, through the document, into the row they were
// filled from, whatever is selected by then; each box keeps what the row
// held when filled or last committed, which Esc puts back, and follows
// every change of that row made elsewhere (a drag, undo, a restore). They
// own what was typed and not yet applied: filled with another row, they
// apply it first, and the document has them apply it before any change of
// its own.
class EditBoxes : public QWidget, public PendingEdits
{
    Q_OBJECT

public:
    EditBoxes(SubtitleDocument &document, Prompter &prompter, QWidget *parent = nullptr);

    SubtitleTextEdit *textBox() const { return m_txtSub2; }
    TimeLineEdit *startBox() const { return m_txtStartTime; }
    TimeLineEdit *endBox() const { return m_txtEndTime; }

    // sourceRow of the corrected model.
    void fill(int sourceRow);
    // With no row to write to, the boxes take no typing.
    void empty();
    bool isFilledFor(int sourceRow) const;
    // Says the line count again, in the language active now.
    void refreshLineCounter();

    // Writes the text and times typed and not yet committed; a time the
    // boxes refuse is said once and left in its box.
    void commit() override;
    int row() const override;
    void drop() override;

signals:
    void lineCounterChanged(const QString &text);

private:
    void commitText();
    void commitTime(bool start);
    void commitPendingTime(bool start);
    void restoreText();
    void restoreTime(bool start);
    // The row changed underneath: the boxes not holding typing show it.
    void followRow();
    void setTextQuietly(const QString &rowText);
    void setBoxesEnabled(bool enabled);

    SubtitleDocument &m_document;
    Prompter &m_prompter;
    SubtitleTextEdit *m_txtSub2;
    TimeLineEdit *m_txtStartTime;
    TimeLineEdit *m_txtEndTime;
    QPersistentModelIndex m_editedRow; // in the corrected model
    QString m_storedText;              // CR LF line ends, as the row has it
    QString m_storedStart;
    QString m_storedEnd;
    bool m_fillingBoxes = false;
    bool m_textEditPending = false;
    bool m_committing = false; // the document's call back for pending typing comes from here
    QString m_refusedTime; // the time last refused, so leaving its box does not repeat the refusal
};
