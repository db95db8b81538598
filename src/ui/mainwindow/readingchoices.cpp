// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/readingchoices.h"

#include "document/encoding/encodingchoice.h"
#include "document/prompter.h"
#include "document/readerror.h"
#include "lang/form1messages.h"
#include "ui/language/langcaptions.h"

#include <QMenu>

QMenu *createReopenWithEncodingMenu(QWidget *parent, const std::function<void(const QString &)> &reopen)
{
    auto *menu = new QMenu(QStringLiteral("Reopen with encoding"), parent);
    menu->setObjectName(QStringLiteral("mnuReopenEncoding"));
    QAction *automatic = menu->addAction(QStringLiteral("Auto"));
    automatic->setObjectName(QStringLiteral("mnuEncoding"));
    automatic->setProperty(ControlIndexProperty, 0);
    QObject::connect(automatic, &QAction::triggered, menu, [reopen] { reopen(QString(AutoEncoding)); });
    menu->addSeparator();
    for (const QString &name : commonEncodingNames()) {
        QAction *item = menu->addAction(name);
        item->setCheckable(true);
        QObject::connect(item, &QAction::triggered, menu, [reopen, name] { reopen(name); });
    }
    return menu;
}

void tickEncodingInUse(QMenu &menu, const std::optional<FileEncoding> &encoding)
{
    QString inUse;
    if (encoding) {
        switch (encoding->kind) {
        case FileEncoding::Kind::Utf8:
            inUse = QStringLiteral("UTF-8");
            break;
        case FileEncoding::Kind::Utf16LE:
            inUse = QStringLiteral("UTF-16LE");
            break;
        case FileEncoding::Kind::Utf16BE:
            inUse = QStringLiteral("UTF-16BE");
            break;
        case FileEncoding::Kind::Legacy:
            inUse = QString::fromLatin1(encoding->legacyName);
            break;
        }
    }
    for (QAction *item : menu.actions()) {
        if (item->isCheckable())
            item->setChecked(!inUse.isEmpty() && item->text().compare(inUse, Qt::CaseInsensitive) == 0);
    }
}
