// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

class QStyle;

// The tool bar's images, one per button key ("Open", "Edit", "NextEdit" ...).
// Drawn at run time so they follow the palette and need no image files.
QIcon toolbarIcon(const QString &key, const QStyle &style);
