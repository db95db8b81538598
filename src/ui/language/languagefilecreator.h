// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/languagefile.h"

class LangDoc;

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>

class LanguageLocator;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The language-file creator: a source language file on the left, the file
// being translated on the right, walked through item by item. Its captions,
// the "<create new>" entry and the name prompt follow the language; its other
// messages are English.
class LanguageFileCreator : public QDialog
{
    Q_OBJECT

public:
    // Files are read from the first of languages.folders() that has them and
    // written to writableFolder.
    LanguageFileCreator(const LanguageLocator &languages, const QString &writableFolder, Prompter &prompter,
                  QWidget *parent = nullptr);

    // Esc and the close button come here too; Cancel at the save question
    // keeps the window open.
    void reject() override;

    // Captions from lang's frmCreateLang_Design section; %1 stands for the
    // program's name in the title and for the writable folder in the name
    // prompt (s2); s1 is the "<create new>" entry.
    void applyCaptions(const LangDoc &lang);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Combo1_Click();
    void Combo2_Click();
    bool createNewFile();
    bool openNewFile(const QString &fileName);
    void Tree1_NodeClick(QTreeWidgetItem *node);
    void Tree2_NodeClick(QTreeWidgetItem *node);
    void SelectNewItem();
    void MoveToNextItem();
    void Command2_Click();
    void Command1_Click();
    bool AskToSave();

    // Both sides show the item chosen on the left, asking about a missing
    // one only once.
    void showSelectedItem();
    QTreeWidgetItem *addMissingItem(QTreeWidgetItem *sel, QTreeWidgetItem *section);
    bool saveNewDoc();
    QString readPath(const QString &fileName) const;
    bool loadFile(const QString &fileName, LanguageFile &file);
    // Fills tree from file; a Private section in first place is taken out
    // and its "name = value" items returned.
    QStringList fillTree(QTreeWidget *tree, const LanguageFile &file, const QString &fileName);
    void updateCaption();
    QString m_captionBase = QStringLiteral("Create new language for program %1");
    QString m_askName = QStringLiteral("Type the new language name\n(New file will be created in %1)");

    const LanguageLocator &m_languages;
    QString m_writableFolder;
    Prompter &m_prompter;

    LanguageFile m_newDoc; // NewDoc
    bool m_newChanged = false;
    QString m_origFile;
    QString m_newFile;
    int m_combo2PrevIndex = -1;
    bool m_combo2Busy = false; // a Combo2 choice is being handled
    int m_combo1Tag = -1; // index of the last source file chosen
    // File name → the folder it is read from.
    QHash<QString, QString> m_folderOf;
    QHash<QString, QTreeWidgetItem *> m_tree1Keys;
    QHash<QString, QTreeWidgetItem *> m_tree2Keys;
    // Per tree: the file and its repeated names that are not shown.
    QString m_tree1Note;
    QString m_tree2Note;

    QComboBox *m_combo1;
    QComboBox *m_combo2;
    QTreeWidget *m_tree1;
    QTreeWidget *m_tree2;
    QLabel *m_label1;
    QLabel *m_label2;
    QLineEdit *m_text1;
    QLineEdit *m_text2;
    QPushButton *m_command2;
    QPushButton *m_command1;
    QLabel *m_lblCreator;
    QLineEdit *m_txtCreator;
    QCheckBox *m_chkAutoCreate;
};
