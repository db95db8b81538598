// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filechooser.h"

#include <QFileDialog>

namespace {
const QString SubtitleFilter = QStringLiteral("*.srt (*.srt)");
}

QString DialogFileChooser::chooseFileToOpen(QWidget *parent, const QString &title, const QString &presetPath)
{
    return QFileDialog::getOpenFileName(parent, title, presetPath, SubtitleFilter);
}

QString DialogFileChooser::chooseVideoToOpen(QWidget *parent, const QString &title, const QString &presetPath,
                                             const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, presetPath, filter);
}

QString DialogFileChooser::chooseFileToSave(QWidget *parent, const QString &title, const QString &presetPath)
{
    return QFileDialog::getSaveFileName(parent, title, presetPath, SubtitleFilter, nullptr,
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
