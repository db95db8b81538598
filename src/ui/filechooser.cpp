// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filechooser.h"

#include <QFileDialog>

namespace {

const QString SrtFilter = QStringLiteral("*.srt (*.srt)");
const QString VttFilter = QStringLiteral("*.vtt (*.vtt)");
const QString SubtitleFilters = QStringLiteral("*.srt *.vtt (*.srt *.vtt);;") + SrtFilter + u";;" + VttFilter;

} // namespace

QString DialogFileChooser::chooseFileToOpen(QWidget *parent, const QString &title, const QString &presetPath)
{
    return QFileDialog::getOpenFileName(parent, title, presetPath, SubtitleFilters);
}

QString DialogFileChooser::chooseVideoToOpen(QWidget *parent, const QString &title, const QString &presetPath,
                                             const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, presetPath, filter);
}

QString DialogFileChooser::chooseFileToSave(QWidget *parent, const QString &title, const QString &presetPath)
{
    // The file is saved in its own format; the filter shown first is that
    // of its name.
    QString selected = presetPath.endsWith(u".vtt", Qt::CaseInsensitive) ? VttFilter : SrtFilter;
    return QFileDialog::getSaveFileName(parent, title, presetPath, SubtitleFilters, &selected,
                                        QFileDialog::DontConfirmOverwrite);
}

QString DialogFileChooser::chooseListToOpen(QWidget *parent, const QString &title, const QString &presetPath,
                                            const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, presetPath, filter);
}

QString DialogFileChooser::chooseListToSave(QWidget *parent, const QString &title, const QString &presetPath,
                                            const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, presetPath, filter);
}
