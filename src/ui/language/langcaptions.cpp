// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language/langcaptions.h"

#include "lang/langdoc.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>

#include <optional>

namespace {

class CaptionSource
{
public:
    CaptionSource(const LangDoc &lang, const QString &window) : m_lang(lang), m_element(window + u"_Design") {}

    std::optional<QString> text(const QString &attribute) const { return m_lang.attribute(m_element, attribute); }

private:
    const LangDoc &m_lang;
    QString m_element;
};

QString controlName(const QObject &control)
{
    const QVariant index = control.property(ControlIndexProperty);
    if (index.isValid())
        return control.objectName() + u'_' + QString::number(index.toInt());
    return control.objectName();
}

void applyToTable(QTableView &table, const CaptionSource &source)
{
    QAbstractItemModel *model = table.model();
    if (!model)
        return;
    for (int i = 1; i <= model->columnCount(); ++i) {
        if (const auto caption = source.text(table.objectName() + u'_' + QString::number(i)))
            model->setHeaderData(i - 1, Qt::Horizontal, *caption);
    }
}

void applyToToolBar(QToolBar &toolBar, const CaptionSource &source)
{
    const QList<QAction *> buttons = toolBar.actions();
    for (qsizetype i = 1; i <= buttons.size(); ++i) {
        QAction *button = buttons.at(i - 1);
        const QString name = toolBar.objectName() + u'_' + QString::number(i);
        // The buttons share their actions with the menus, so a button's own
        // caption goes to the text a tool bar shows, not the menu's.
        if (const auto caption = source.text(name))
            button->setIconText(*caption);
        if (const auto tip = source.text(name + u"_ToolTipText"))
            button->setToolTip(plainToolTip(*tip));
    }
}

void applyToWidget(QWidget &widget, const CaptionSource &source)
{
    const QString name = controlName(widget);
    if (auto *table = qobject_cast<QTableView *>(&widget)) {
        applyToTable(*table, source);
        return;
    }
    if (auto *toolBar = qobject_cast<QToolBar *>(&widget)) {
        applyToToolBar(*toolBar, source);
        return;
    }
    if (const auto caption = source.text(name)) {
        if (auto *menu = qobject_cast<QMenu *>(&widget))
            menu->setTitle(*caption);
        else if (auto *label = qobject_cast<QLabel *>(&widget)) {
            label->setTextFormat(Qt::PlainText);
            label->setText(*caption);
        }
        else if (auto *button = qobject_cast<QAbstractButton *>(&widget))
            button->setText(*caption);
        else if (auto *group = qobject_cast<QGroupBox *>(&widget))
            group->setTitle(*caption);
        else if (auto *combo = qobject_cast<QComboBox *>(&widget))
            combo->setPlaceholderText(*caption); // shown while nothing is chosen
        else if (auto *dock = qobject_cast<QDockWidget *>(&widget))
            dock->setWindowTitle(*caption);
    }
    if (qobject_cast<QMenu *>(&widget))
        return; // menus take no tooltip
    if (const auto tip = source.text(name + u"_ToolTipText"))
        widget.setToolTip(plainToolTip(*tip));
}

// Whether control sits in window itself rather than in another window
// parented to it (the edits window has a "ListView1" of its own).
bool belongsTo(const QObject &control, const QWidget &window)
{
    for (const QObject *object = control.parent(); object; object = object->parent()) {
        if (object == &window)
            return true;
        const auto *widget = qobject_cast<const QWidget *>(object);
        // A menu or a pane torn off the window is still the window's.
        if (widget && widget->isWindow() && !qobject_cast<const QMenu *>(widget)
            && !qobject_cast<const QDockWidget *>(widget))
            return false;
    }
    return false;
}

} // namespace

QString plainToolTip(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

void ApplyLangCaptions(QWidget &window, const LangDoc &lang)
{
    const CaptionSource source(lang, window.objectName());
    if (const auto title = source.text(window.objectName()))
        window.setWindowTitle(*title);

    const QList<QObject *> controls = window.findChildren<QObject *>();
    for (QObject *control : controls) {
        if (control->objectName().isEmpty() || !belongsTo(*control, window))
            continue;
        if (auto *widget = qobject_cast<QWidget *>(control)) {
            applyToWidget(*widget, source);
        } else if (auto *action = qobject_cast<QAction *>(control)) {
            if (action->isSeparator())
                continue;
            if (const auto caption = source.text(controlName(*action)))
                action->setText(*caption);
            // By name, so a button added to the tool bar needs no number.
            if (const auto tip = source.text(controlName(*action) + u"_ToolTipText"))
                action->setToolTip(*tip);
        }
    }
}
