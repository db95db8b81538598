// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class SubtitleDocument;

// The main window's status fields, each showing what the document says:
// the last correction's summary (lblStatus), the save state (lblStatus2),
// the line counter of the text being typed (lblStatus3), the frames from
// the selected subtitle to the film's nearest cut (lblShotChange) and the
// encoding the open file is read and saved in (lblEncoding).
class StatusFields : public QWidget
{
    Q_OBJECT

public:
    explicit StatusFields(const SubtitleDocument &document, QWidget *parent = nullptr);

    // Words the fields again in the language now in use.
    void retranslate();
    void showLineCounter(const QString &text);
    bool showsLineCounter() const;
    // In the summary's field: after the summary, or in its place.
    void showNote(const QString &note, bool afterSummary);
    // How far the selected subtitle is from the film's nearest cut.
    void showShotDistance(const QString &text);

private:
    void showSummary();
    void showWorking();
    void showSaveState();
    void showEncoding();

    const SubtitleDocument &m_document;
    QLabel *m_lblStatus;
    QLabel *m_lblStatus2;
    QLabel *m_lblStatus3;
    QLabel *m_lblEncoding;
    QLabel *m_lblShotChange;
};
