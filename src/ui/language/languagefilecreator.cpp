// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language/languagefilecreator.h"

#include "document/prompter.h"
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "ui/language/langcaptions.h"
#include "ui/language/languagetree.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString ErrorLoading = u"Error loading xml file "_qs;
const QString ErrorSaving = u"Error saving language file "_qs;
const QString NameExists = u"This name exist, just select it from list"_qs;
const QString NoSource = u"Can not find original/source language. Select one from combo box"_qs;
const QString SameFile = u"Can not load the same file as the original one"_qs;
const QString SelectFirst = u"Select or create a new language file first"_qs;
const QString ErrorWriting = u"Error writing text in language file"_qs;
const QString OriginalNotFound = u"Original item not found"_qs;

} // namespace

using namespace LanguageTree;

LanguageFileCreator::LanguageFileCreator(const LanguageLocator &languages, const QString &writableFolder, Prompter &prompter,
                             QWidget *parent)
    : QDialog(parent), m_languages(languages), m_writableFolder(QDir::cleanPath(writableFolder)),
      m_prompter(prompter), m_combo1(new QComboBox(this)), m_combo2(new QComboBox(this)),
      m_tree1(new QTreeWidget(this)), m_tree2(new QTreeWidget(this)), m_label1(new QLabel(this)),
      m_label2(new QLabel(this)), m_text1(new QLineEdit(this)), m_text2(new QLineEdit(this)),
      m_command2(new QPushButton(this)), m_command1(new QPushButton(this)), m_lblCreator(new QLabel(this)),
      m_txtCreator(new QLineEdit(this)), m_chkAutoCreate(new QCheckBox(this))
{
    setObjectName(QStringLiteral("frmCreateLang"));

    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setPlaceholderText(QStringLiteral("Original Language file"));
    m_combo2->setObjectName(QStringLiteral("Combo2"));
    m_combo2->setPlaceholderText(QStringLiteral("New Language file"));
    for (QTreeWidget *tree : {m_tree1, m_tree2}) {
        tree->setColumnCount(1);
        tree->setHeaderHidden(true);
        tree->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    m_tree1->setObjectName(QStringLiteral("Tree1"));
    m_tree2->setObjectName(QStringLiteral("Tree2"));

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setTextFormat(Qt::PlainText);
    m_label1->setText(QStringLiteral("<< Original language text"));
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setTextFormat(Qt::PlainText);
    m_label2->setText(QStringLiteral("New language text >>"));
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_text2->setToolTip(QStringLiteral("Enter to update and move next"));
    m_text2->installEventFilter(this);
    m_label2->setBuddy(m_text2);

    // Enter belongs to Text2; no button of this window is pressed by it.
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setText(QStringLiteral("Update <Enter>"));
    m_command2->setToolTip(QStringLiteral("Hit <Enter> at above textbox"));
    m_command2->setAutoDefault(false);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setText(QStringLiteral("Save new Language file"));
    m_command1->setAutoDefault(false);

    m_lblCreator->setObjectName(QStringLiteral("lblCreator"));
    m_lblCreator->setText(QStringLiteral("Creator"));
    m_lblCreator->setBuddy(m_txtCreator);
    m_txtCreator->setObjectName(QStringLiteral("txtCreator"));
    m_chkAutoCreate->setObjectName(QStringLiteral("chkAutoCreate"));
    m_chkAutoCreate->setText(QStringLiteral("Auto create missing items"));

    auto *source = new QVBoxLayout;
    source->addWidget(m_combo1);
    source->addWidget(m_tree1, 1);
    auto *boxes = new QVBoxLayout;
    boxes->addWidget(m_label1);
    boxes->addWidget(m_text1);
    boxes->addWidget(m_label2, 0, Qt::AlignRight);
    boxes->addWidget(m_text2);
    boxes->addWidget(m_command2, 0, Qt::AlignRight);
    boxes->addSpacing(24);
    boxes->addWidget(m_chkAutoCreate);
    boxes->addWidget(m_lblCreator);
    boxes->addWidget(m_txtCreator);
    boxes->addWidget(m_command1);
    boxes->addStretch(1);
    auto *target = new QVBoxLayout;
    target->addWidget(m_combo2);
    target->addWidget(m_tree2, 1);
    auto *columns = new QHBoxLayout(this);
    columns->addLayout(source, 1);
    columns->addLayout(boxes, 1);
    columns->addLayout(target, 1);
    resize(960, 540);

    connect(m_combo1, &QComboBox::activated, this, &LanguageFileCreator::Combo1_Click);
    connect(m_combo2, &QComboBox::activated, this, &LanguageFileCreator::Combo2_Click);
    connect(m_tree1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { Tree1_NodeClick(current); });
    connect(m_tree2, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { Tree2_NodeClick(current); });
    connect(m_command2, &QPushButton::clicked, this, &LanguageFileCreator::Command2_Click);
    connect(m_command1, &QPushButton::clicked, this, &LanguageFileCreator::Command1_Click);

    Form_Load();
}

void LanguageFileCreator::reject()
{
    // QDialog's close event also ends here, and ignores the close when the
    // window is still shown afterwards.
    if (AskToSave())
        QDialog::reject();
}

bool LanguageFileCreator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text2 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command2_Click();
            MoveToNextItem();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LanguageFileCreator::Form_Load()
{
    updateCaption();
    m_combo1Tag = -1;

    // Files made here must be listed even when the folder is not searched
    // for languages otherwise.
    QStringList folders = m_languages.folders();
    if (!m_writableFolder.isEmpty() && !folders.contains(m_writableFolder))
        folders << m_writableFolder;
    const LanguageLocator everywhere(folders);
    const QString english = LanguageLocator::langFileBaseFor(QStringLiteral("English")) + u".xml";
    for (const QString &language : everywhere.languageNames()) {
        const QString fileName = LanguageLocator::langFileBaseFor(language) + u".xml";
        for (const QString &folder : std::as_const(folders)) {
            if (QFileInfo(QDir(folder).filePath(fileName)).isFile()) {
                m_folderOf.insert(fileName, folder);
                break;
            }
        }
        m_combo1->addItem(fileName);
        m_combo2->addItem(fileName);
        if (fileName == english)
            m_combo1Tag = m_combo1->count() - 1;
    }
    m_combo1->setCurrentIndex(m_combo1Tag);
    m_combo2->addItem(u"<create new>"_qs);
    m_combo2->setCurrentIndex(-1);
    m_combo2PrevIndex = -1;
    m_origFile.clear();
    if (m_combo1->currentIndex() >= 0)
        Combo1_Click();
}

void LanguageFileCreator::Combo1_Click()
{
    const QString chosen = m_combo1->currentText();
    if (chosen == m_origFile) {
        m_combo1Tag = m_combo1->currentIndex();
        return;
    }
    if (!m_newFile.isEmpty() && chosen == m_newFile) {
        if (!AskToSave()) {
            m_combo1->setCurrentIndex(m_combo1Tag);
            return;
        }
        m_combo2PrevIndex = -1;
        m_tree2->clear();
        m_tree2Keys.clear();
        m_tree2Note.clear();
        m_combo2->setCurrentIndex(-1);
        m_newFile.clear();
        m_text2->clear();
    }
    m_origFile = chosen;
    m_tree1->clear();
    m_tree1Keys.clear();
    m_tree1Note.clear();
    m_text1->clear();
    LanguageFile file;
    if (loadFile(m_origFile, file))
        fillTree(m_tree1, file, m_origFile);
    updateCaption();
    m_combo1Tag = m_combo1->currentIndex();
}

void LanguageFileCreator::Combo2_Click()
{
    if (m_combo2Busy)
        return;
    m_combo2Busy = true;
    const bool accepted = m_combo2->currentIndex() == m_combo2->count() - 1 ? createNewFile()
                                                                             : openNewFile(m_combo2->currentText());
    if (accepted)
        m_combo2PrevIndex = m_combo2->currentIndex();
    else
        m_combo2->setCurrentIndex(m_combo2PrevIndex);
    m_combo2Busy = false;
}

bool LanguageFileCreator::createNewFile()
{
    if (!AskToSave())
        return false;
    const std::optional<QString> name = m_prompter.askText(
        QString(m_askName).replace(u"%1"_qs, QDir::toNativeSeparators(m_writableFolder)),
        QCoreApplication::applicationName(), {});
    if (!name || name->trimmed().isEmpty())
        return false;
    // The name becomes part of a file name in the writable folder and must
    // not lead anywhere else.
    if (name->contains(u'/') || name->contains(u'\\') || *name == u"." || *name == u"..") {
        m_prompter.warn(u"The language name \"" + *name + u"\" cannot contain / or \\ and cannot be . or ..");
        return false;
    }
    // The Languages menu and the settings file must bring the name back as
    // it is: the settings file trims blanks and holds one line per value.
    const bool hasControl = std::any_of(name->cbegin(), name->cend(),
                                        [](QChar c) { return c.category() == QChar::Other_Control; });
    if (*name != name->trimmed() || hasControl) {
        m_prompter.warn(u"The language name \"" + *name
                          + u"\" cannot start or end with a blank or hold a control character");
        return false;
    }
    const QString fileName = LanguageLocator::langFileBaseFor(*name) + u".xml";
    const QString target = QDir(m_writableFolder).filePath(fileName);
    if (m_folderOf.contains(fileName) || QFileInfo::exists(target)) {
        m_prompter.warn(NameExists);
        return false;
    }
    const QString source = readPath(m_origFile);
    if (m_origFile.isEmpty() || !QFileInfo(source).isFile()) {
        m_prompter.warn(NoSource);
        m_combo1->setFocus();
        return false;
    }
    QFile copy(source);
    if (!QDir().mkpath(m_writableFolder) || !copy.copy(target)) {
        const QString reason =
            copy.error() == QFileDevice::NoError ? u"cannot create the folder"_qs : copy.errorString();
        m_prompter.warn(u"Cannot copy " + source + u" to " + target + u": " + reason);
        return false;
    }
    // A copy of an installed file is read-only like it, and could never be saved.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    LanguageFile copied;
    QString error;
    if (!copied.load(target, error)) {
        m_prompter.warn(ErrorLoading + target + u'\n' + error);
        QFile::remove(target);
        return false;
    }
    m_folderOf.insert(fileName, m_writableFolder);
    m_newFile = fileName;
    fillTree(m_tree2, copied, fileName);
    m_newDoc.swap(copied);
    m_combo2->insertItem(m_combo2->count() - 1, fileName);
    m_combo2->setCurrentIndex(m_combo2->count() - 2);
    showSelectedItem();
    m_txtCreator->clear();
    return true;
}

bool LanguageFileCreator::openNewFile(const QString &fileName)
{
    if (!AskToSave())
        return false;
    if (fileName == m_combo1->currentText()) {
        m_prompter.warn(SameFile);
        return false;
    }
    // Loaded before anything changes, so a file that cannot be read never
    // becomes the one Save writes over.
    LanguageFile opened;
    if (!loadFile(fileName, opened))
        return false;
    m_newFile = fileName;
    m_txtCreator->clear();
    const QStringList privateItems = fillTree(m_tree2, opened, fileName);
    for (const QString &item : privateItems) {
        if (item.startsWith(u"creator", Qt::CaseInsensitive)) {
            if (item.contains(u'='))
                m_txtCreator->setText(item.mid(item.indexOf(u'=') + 1).trimmed());
            break;
        }
    }
    m_newDoc.swap(opened);
    showSelectedItem();
    return true;
}

void LanguageFileCreator::showSelectedItem()
{
    QTreeWidgetItem *sel = m_tree1->currentItem();
    Tree1_NodeClick(sel);
    // For an item Tree1_NodeClick has looked on the right already; a second
    // look would repeat its question.
    if (!isItem(sel))
        SelectNewItem();
}

void LanguageFileCreator::Tree1_NodeClick(QTreeWidgetItem *node)
{
    if (!isItem(node)) {
        m_text1->clear();
        return;
    }
    m_text1->setText(valueOf(node->text(0)));
    SelectNewItem();
}

void LanguageFileCreator::Tree2_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    QTreeWidgetItem *counterpart = node->parent() ? m_tree1Keys.value(keyOf(node)) : m_tree1->topLevelItem(0);
    if (!counterpart) {
        if (node->parent())
            m_prompter.warn(OriginalNotFound);
        return;
    }
    selectNode(m_tree1, counterpart);
    Tree1_NodeClick(counterpart);
}

void LanguageFileCreator::SelectNewItem()
{
    QTreeWidgetItem *sel = m_tree1->currentItem();
    if (!isItem(sel) || m_newFile.isEmpty()) {
        m_text2->clear();
        return;
    }
    QTreeWidgetItem *section = m_tree2Keys.value(sel->parent()->text(0));
    QTreeWidgetItem *found = section ? m_tree2Keys.value(keyOf(sel)) : nullptr;
    if (!found) {
        m_text2->clear();
        found = addMissingItem(sel, section);
        if (!found)
            return;
    }
    selectNode(m_tree2, found);
    const QString text = found->text(0);
    if (text.contains(Equals)) {
        m_text2->setText(valueOf(text));
        m_text2->selectAll();
    } else {
        m_text2->clear();
    }
}

QTreeWidgetItem *LanguageFileCreator::addMissingItem(QTreeWidgetItem *sel, QTreeWidgetItem *section)
{
    // Only a section's own attributes can be made; a language file has
    // nothing deeper.
    QTreeWidgetItem *root = m_tree2->topLevelItem(0);
    if (!root || !sel->data(0, AttributeRole).toBool() || !isSection(sel->parent()))
        return nullptr;
    const QString sectionName = sel->parent()->text(0);
    if (!m_chkAutoCreate->isChecked()) {
        const QString question = section ? QString(u"Value/Node " + sel->text(0) + u" not found. Create it?")
                                         : QString(u"Section/Node " + sectionName + u" not found. Create it?");
        if (m_prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::Yes) != Prompter::Answer::Yes)
            return nullptr;
    }
    const QString attribute = keyOf(sel).mid(keyOf(sel->parent()).size());
    const QString value = sel->text(0).mid(attribute.size() + Equals.size());
    // The document refuses a second element or attribute of a name it has,
    // hidden from the tree as a repeat: the file would not load again.
    if (!section && !m_newDoc.createSection(sectionName))
        return nullptr;
    if (!m_newDoc.createAttribute(sectionName, attribute, value))
        return nullptr;
    if (!section) {
        section = addNode(root, sectionName, sectionName, false);
        m_tree2Keys.insert(sectionName, section);
    }
    QTreeWidgetItem *item = addNode(section, keyOf(sel), sel->text(0), true);
    m_tree2Keys.insert(keyOf(sel), item);
    section->setExpanded(true);
    m_newChanged = true;
    return item;
}

void LanguageFileCreator::MoveToNextItem()
{
    QTreeWidgetItem *current = m_tree1->currentItem();
    if (!current)
        return;
    QList<QTreeWidgetItem *> order;
    for (QTreeWidgetItemIterator it(m_tree1); *it; ++it)
        order << *it;
    const qsizetype at = order.indexOf(current);
    if (at < 0 || at + 1 >= order.size())
        return;
    QTreeWidgetItem *next = order[at + 1];
    if (next->childCount() > 0) {
        // A section: on to its first item.
        if (at + 2 >= order.size())
            return;
        next = order[at + 2];
    }
    selectNode(m_tree1, next);
    Tree1_NodeClick(next);
}

void LanguageFileCreator::Command2_Click()
{
    QTreeWidgetItem *node = m_tree2->currentItem();
    if (!m_tree1->currentItem() || !isItem(node))
        return;
    const QString section = node->parent()->text(0);
    const QString text = node->text(0);
    const qsizetype at = text.indexOf(Equals);
    if (at < 0)
        return;
    const QString attribute = text.left(at);
    const QString updated = attribute + Equals + m_text2->text();
    if (text == updated)
        return;
    if (!m_newDoc.WriteAttribute(section, attribute, m_text2->text())) {
        m_prompter.warn(ErrorWriting);
        return;
    }
    node->setText(0, updated);
    m_newChanged = true;
}

void LanguageFileCreator::Command1_Click()
{
    if (m_newFile.isEmpty()) {
        m_prompter.warn(SelectFirst);
        m_combo2->setFocus();
        return;
    }
    m_newDoc.setCreator(m_txtCreator->text());
    if (saveNewDoc())
        m_newChanged = false;
}

bool LanguageFileCreator::AskToSave()
{
    if (!m_newChanged)
        return true;
    switch (m_prompter.ask(u"Language file " + m_newFile + u" is not saved. Save it now?",
                           Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes)) {
    case Prompter::Answer::Yes:
        // A save that fails abandons what was asked for, so nothing is lost.
        if (!saveNewDoc())
            return false;
        m_newChanged = false;
        return true;
    case Prompter::Answer::No:
        m_newChanged = false;
        return true;
    case Prompter::Answer::Cancel:
        break;
    }
    return false;
}

bool LanguageFileCreator::saveNewDoc()
{
    const QString path = QDir(m_writableFolder).filePath(m_newFile);
    QString error = u"cannot create the folder "_qs + m_writableFolder;
    if (QDir().mkpath(m_writableFolder) && m_newDoc.save(path, error)) {
        m_folderOf.insert(m_newFile, m_writableFolder);
        return true;
    }
    m_prompter.warn(ErrorSaving + path + u": " + error);
    return false;
}

QString LanguageFileCreator::readPath(const QString &fileName) const
{
    return QDir(m_folderOf.value(fileName, m_writableFolder)).filePath(fileName);
}

bool LanguageFileCreator::loadFile(const QString &fileName, LanguageFile &file)
{
    const QString path = readPath(fileName);
    QString error;
    if (file.load(path, error))
        return true;
    m_prompter.warn(ErrorLoading + path + u'\n' + error);
    return false;
}

QStringList LanguageFileCreator::fillTree(QTreeWidget *tree, const LanguageFile &file, const QString &fileName)
{
    LanguageTree::Filled filled = LanguageTree::fill(tree, file, fileName);
    (tree == m_tree1 ? m_tree1Keys : m_tree2Keys) = std::move(filled.nodesByKey);
    (tree == m_tree1 ? m_tree1Note : m_tree2Note) = filled.note;
    updateCaption();
    return filled.privateItems;
}

void LanguageFileCreator::applyCaptions(const LangDoc &lang)
{
    ApplyLangCaptions(*this, lang);
    if (const auto base = lang.attribute(u"frmCreateLang_Design", u"frmCreateLang"))
        m_captionBase = *base;
    if (const auto entry = lang.attribute(u"frmCreateLang_Design", u"s1"))
        m_combo2->setItemText(m_combo2->count() - 1, *entry);
    if (const auto prompt = lang.attribute(u"frmCreateLang_Design", u"s2"))
        m_askName = *prompt;
    updateCaption();
}

void LanguageFileCreator::updateCaption()
{
    QString caption = QString(m_captionBase).replace(u"%1"_qs, QCoreApplication::applicationName());
    for (const QString &note : {m_tree1Note, m_tree2Note}) {
        if (!note.isEmpty())
            caption += u" (" + note + u')';
    }
    setWindowTitle(caption);
}
