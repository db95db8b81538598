// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class LanguageFile;
class QTreeWidget;
class QTreeWidgetItem;

// A language file shown as a tree, as the language-file creator shows it:
// the root, its sections, and their items as "name = text".
namespace LanguageTree {

inline constexpr int KeyRole = Qt::UserRole;
inline constexpr int AttributeRole = Qt::UserRole + 1;
// Between an item's name and its text.
inline const QString Equals = QStringLiteral(" = ");

QString keyOf(const QTreeWidgetItem *node);
bool isSection(const QTreeWidgetItem *node);
// Anything below a section; the root and the sections have no text.
bool isItem(const QTreeWidgetItem *node);
// The text of "name = text"; empty without " = ".
QString valueOf(const QString &text);
QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &key, const QString &text, bool isAttribute);
// Selection made by the window itself is not a click.
void selectNode(QTreeWidget *tree, QTreeWidgetItem *node);

struct Filled
{
    QHash<QString, QTreeWidgetItem *> nodesByKey; // every node below the root
    QStringList privateItems; // the Private section's items, which the tree leaves out
    QString note;             // names repeated in the file and so not shown; empty when none
};

// Replaces the tree's content with file, named fileName in the note, and
// selects its root.
Filled fill(QTreeWidget *tree, const LanguageFile &file, const QString &fileName);

} // namespace LanguageTree
