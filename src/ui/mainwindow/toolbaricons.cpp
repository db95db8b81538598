// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/toolbaricons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QStyle>

namespace {

constexpr int IconSize = 32;

// A glyph on a rounded tile; the colours tell the groups apart: files,
// correction, rows, navigation.
QIcon glyphIcon(const QString &text, const QColor &colour, const QString &badge = {})
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(2, 2, IconSize - 4, IconSize - 4), 6, 6);
    QFont font = QApplication::font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, IconSize, IconSize), Qt::AlignCenter, text);
    if (!badge.isEmpty()) {
        font.setPixelSize(13);
        painter.setFont(font);
        painter.drawText(QRect(IconSize / 2, IconSize / 2 - 1, IconSize / 2 - 2, IconSize / 2 - 2), Qt::AlignCenter,
                         badge);
    }
    painter.end();
    return QIcon(pixmap);
}

QIcon funnelIcon(const QColor &colour)
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(2, 2, IconSize - 4, IconSize - 4), 6, 6);
    QPainterPath funnel;
    funnel.moveTo(8, 9);
    funnel.lineTo(24, 9);
    funnel.lineTo(18, 17);
    funnel.lineTo(18, 24);
    funnel.lineTo(14, 22);
    funnel.lineTo(14, 17);
    funnel.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(funnel);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QIcon toolbarIcon(const QString &key, const QStyle &style)
{
    const QColor files(0x3b, 0x6e, 0xa8);
    const QColor correct(0x2e, 0x8b, 0x57);
    const QColor rows(0x8a, 0x5a, 0x2b);
    const QColor navigate(0x6a, 0x4c, 0x9c);
    if (key == u"Open")
        return style.standardIcon(QStyle::SP_DialogOpenButton);
    if (key == u"Save")
        return style.standardIcon(QStyle::SP_DialogSaveButton);
    if (key == u"SaveAs")
        return glyphIcon(QStringLiteral("S"), files, QStringLiteral("…"));
    if (key == u"Edit")
        return glyphIcon(QStringLiteral("✎"), correct);
    if (key == u"OnlyEdit")
        return funnelIcon(correct);
    if (key == u"Ins")
        return glyphIcon(QStringLiteral("+"), rows, QStringLiteral("▲"));
    if (key == u"ShiftIns")
        return glyphIcon(QStringLiteral("+"), rows, QStringLiteral("▼"));
    if (key == u"Del")
        return glyphIcon(QStringLiteral("✕"), rows);
    if (key == u"NextEdit")
        return glyphIcon(QStringLiteral("▼"), navigate);
    if (key == u"BefEdit")
        return glyphIcon(QStringLiteral("▲"), navigate);
    if (key == u"Options")
        return glyphIcon(QStringLiteral("⚙"), QColor(0x55, 0x5f, 0x69));
    if (key == u"Undo")
        return glyphIcon(QStringLiteral("↶"), rows);
    if (key == u"Redo")
        return glyphIcon(QStringLiteral("↷"), rows);
    return {};
}
