// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/textencoding.h"

#include <QString>

#include <functional>
#include <optional>

class LangDoc;
class Prompter;
class QMenu;
class QWidget;
struct ReadError;

// The File menu's "Reopen with encoding": "Auto" (objectName mnuEncoding,
// index 0, so language files caption it) and the common encodings by name.
// Choosing one calls reopen with its name, "auto" for Auto.
QMenu *createReopenWithEncodingMenu(QWidget *parent, const std::function<void(const QString &)> &reopen);
// Ticks the menu's item for the encoding the open file is read in; none
// without a file, or for an encoding the menu does not list.
void tickEncodingInUse(QMenu &menu, const std::optional<FileEncoding> &encoding);
