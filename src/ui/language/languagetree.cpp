// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language/languagetree.h"

#include "lang/languagefile.h"

#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <vector>

namespace LanguageTree {

QString keyOf(const QTreeWidgetItem *node)
{
    return node->data(0, KeyRole).toString();
}

bool isSection(const QTreeWidgetItem *node)
{
    return node && node->parent() && !node->parent()->parent();
}

bool isItem(const QTreeWidgetItem *node)
{
    return node && node->parent() && node->parent()->parent();
}

QString valueOf(const QString &text)
{
    const qsizetype at = text.indexOf(Equals);
    return at < 0 ? QString() : text.mid(at + Equals.size());
}

QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &key, const QString &text, bool isAttribute)
{
    auto *node = new QTreeWidgetItem(parent);
    node->setText(0, text);
    node->setData(0, KeyRole, key);
    node->setData(0, AttributeRole, isAttribute);
    return node;
}

void selectNode(QTreeWidget *tree, QTreeWidgetItem *node)
{
    const QSignalBlocker blocker(tree);
    tree->setCurrentItem(node);
    tree->scrollToItem(node);
}

Filled fill(QTreeWidget *tree, const LanguageFile &file, const QString &fileName)
{
    Filled filled;
    tree->clear();
    const LanguageFile::Rows rows = file.rows();
    std::vector<QTreeWidgetItem *> nodes;
    nodes.reserve(rows.rows.size());
    for (const LanguageFile::Row &row : rows.rows) {
        if (row.parent < 0) {
            nodes.push_back(new QTreeWidgetItem(tree, QStringList{row.text}));
            continue;
        }
        nodes.push_back(addNode(nodes[size_t(row.parent)], row.key, row.text, row.isAttribute));
    }
    // The translator's name has its own box; the Private section stays in
    // the document only.
    if (nodes.size() >= 3 && nodes[1]->text(0) == u"Private") {
        for (int i = 0; i < nodes[1]->childCount(); ++i)
            filled.privateItems << nodes[1]->child(i)->text(0);
        delete nodes[1];
    }
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->parent())
            filled.nodesByKey.insert(keyOf(*it), *it);
    }
    tree->expandAll();
    if (!nodes.empty())
        selectNode(tree, nodes.front());

    if (!rows.leftOut.isEmpty()) {
        const QStringList shown = rows.leftOut.mid(0, 3);
        filled.note = fileName + u": repeated names not shown: " + shown.join(u", ")
                      + (rows.leftOut.size() > shown.size() ? QStringLiteral(", ...") : QString());
    }
    return filled;
}

} // namespace LanguageTree
