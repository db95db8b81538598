// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QTextLayout>

class QPainter;

// One subtitle drawn over a video picture as a viewer sees it: bottom
// centre, white with a dark outline, sized to the picture, with <i>, <b>,
// <u> and <font color> applied. Anything else stays text as written (a "<"
// in dialogue is a "<"), except {\...} override blocks, which are dropped.
class SubtitleOverlay
{
public:
    // text: the subtitle's lines joined by CR LF or LF.
    explicit SubtitleOverlay(const QString &text = {});

    void setText(const QString &text);
    // text as one line of words: the formatting tags and override blocks
    // taken out, the lines joined by a blank.
    static QString plainText(QStringView text);
    const QString &text() const { return m_text; }

    // Paints over picture, the rectangle the video fills in painter's space.
    void paint(QPainter &painter, const QRectF &picture) const;

private:
    struct Line
    {
        QString text;
        QList<QTextLayout::FormatRange> formats; // italic, bold, underline, colour
    };

    QString m_text;
    QList<Line> m_lines;
    bool m_rightToLeft = false;
};
