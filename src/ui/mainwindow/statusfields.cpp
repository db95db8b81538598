// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/statusfields.h"

#include "editor/subtitledocument.h"
#include "lang/form1messages.h"
#include "ui/language/langcaptions.h"

#include <QHBoxLayout>
#include <QLabel>

StatusFields::StatusFields(const SubtitleDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document), m_lblStatus(new QLabel(this)), m_lblStatus2(new QLabel(this)),
      m_lblStatus3(new QLabel(this)), m_lblEncoding(new QLabel(this)),
      m_lblShotChange(new QLabel(this))
{
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus2->setObjectName(QStringLiteral("lblStatus2"));
    m_lblStatus3->setObjectName(QStringLiteral("lblStatus3"));
    m_lblEncoding->setObjectName(QStringLiteral("lblEncoding"));
    m_lblShotChange->setObjectName(QStringLiteral("lblShotChange"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    // In the proportions 1/2, 3/10 and 1/5 of the width; the encoding as it needs.
    for (const auto &[label, stretch] : {std::pair{m_lblStatus, 5}, std::pair{m_lblStatus2, 3},
                                         std::pair{m_lblStatus3, 2}, std::pair{m_lblShotChange, 0},
                                         std::pair{m_lblEncoding, 0}}) {
        label->setTextFormat(Qt::PlainText);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (stretch > 0)
            label->setSizePolicy(QSizePolicy::Ignored,
                                 label == m_lblStatus ? QSizePolicy::Preferred : QSizePolicy::Fixed);
        layout->addWidget(label, stretch);
    }
    // A long summary (German, Greek, a narrow window) takes a second line
    // rather than losing its end, where the too-fast count is.
    m_lblStatus->setWordWrap(true);
    m_lblShotChange->hide(); // until a film's cuts are known

    connect(&document, &SubtitleDocument::summaryChanged, this, &StatusFields::showSummary);
    connect(&document, &SubtitleDocument::correctionStarting, this, &StatusFields::showWorking);
    connect(&document, &SubtitleDocument::saveStateChanged, this, &StatusFields::showSaveState);
    connect(&document, &SubtitleDocument::encodingChanged, this, &StatusFields::showEncoding);
}

void StatusFields::retranslate()
{
    showSummary();
    showSaveState();
    showEncoding();
}

void StatusFields::showLineCounter(const QString &text)
{
    m_lblStatus3->setText(text);
}

bool StatusFields::showsLineCounter() const
{
    return !m_lblStatus3->text().isEmpty();
}

void StatusFields::showNote(const QString &note, bool afterSummary)
{
    const QString summary = m_document.summaryText();
    const QString text = afterSummary && !summary.isEmpty() ? summary + u' ' + note : note;
    m_lblStatus->setText(text);
    m_lblStatus->setToolTip(plainToolTip(text));
}

void StatusFields::showShotDistance(const QString &text)
{
    m_lblShotChange->setText(text);
    m_lblShotChange->setVisible(!text.isEmpty());
}

void StatusFields::showSummary()
{
    const QString summary = m_document.summaryText();
    m_lblStatus->setText(summary);
    m_lblStatus->setToolTip(plainToolTip(summary));
}

void StatusFields::showWorking()
{
    m_lblStatus->setText(GetLangText(m_document.lang(), Form1Msg::Working));
    // The run keeps the window's thread until it is done.
    if (m_lblStatus->isVisible())
        m_lblStatus->repaint();
}

void StatusFields::showSaveState()
{
    switch (m_document.saveState()) {
    case SaveState::Empty:
        m_lblStatus2->clear();
        break;
    case SaveState::Saved:
        m_lblStatus2->setText(GetLangText(m_document.lang(), Form1Msg::Saved));
        break;
    case SaveState::NotSaved:
        m_lblStatus2->setText(GetLangText(m_document.lang(), Form1Msg::NotSaved));
        break;
    }
}

void StatusFields::showEncoding()
{
    m_lblEncoding->setText(m_document.path().isEmpty() ? QString() : m_document.encoding().caption(m_document.lang()));
}
