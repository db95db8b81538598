// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settings.h"

#include <QDialog>

class LangDoc;
class QBoxLayout;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ShellVerb;

// The Options dialog: the correction settings and the "Correct subtitles"
// file-manager verb. It edits a copy of the settings: Ok copies the
// controls into it and brings the verb to the ticked state; Cancel and the
// close box change nothing.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    OptionsDialog(const Settings &settings, ShellVerb &shellVerb, const LangDoc &lang, Prompter &prompter,
                  QWidget *parent = nullptr);

    // The settings as Ok left them; until then, the ones given.
    const Settings &settings() const { return m_settings; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void chkJoinSubsAbove2Lines_Click();
    void chkBuyTime_Click();
    void chkAddToRightClick_Click();
    void Command1_Click();
    // The first number box whose text a correction run cannot use, after
    // telling the user why; nullptr when both are usable.
    QLineEdit *refuseUnusableNumbers();
    void SaveValues();

    Settings m_settings;
    ShellVerb &m_shellVerb;
    const LangDoc &m_lang;
    Prompter &m_prompter;

    QLabel *m_Label2 = nullptr;
    QLineEdit *m_txtMaxCharsPerLine = nullptr;
    QCheckBox *m_chkCorrectSubsAbove2Lines = nullptr;
    QCheckBox *m_chkJoinSubsAbove2Lines = nullptr;
    QCheckBox *m_chkBuyTime = nullptr;
    QLineEdit *m_txtLettersFor1Min = nullptr;
    QLabel *m_Label1 = nullptr;
    QCheckBox *m_chkParseAllTimes = nullptr;
    QCheckBox *m_chkBrakeTo2 = nullptr;
    QCheckBox *m_chkCreateBakFile = nullptr;
    QCheckBox *m_chkShowMessage = nullptr;
    QCheckBox *m_chkAddToRightClick = nullptr;
    QCheckBox *m_chkCreateBakFileAuto = nullptr;
    QCheckBox *m_chkShowMessageAuto = nullptr;
    QPushButton *m_Command1 = nullptr;
    QPushButton *m_Command2 = nullptr;

    void createGuidelineControls(QBoxLayout *frameLayout, QBoxLayout *layout, QWidget *Label3);
    QCheckBox *m_chkGuidelineBreaks = nullptr;
    QLabel *m_lblMinGapMs = nullptr;
    QLineEdit *m_txtMinGapMs = nullptr;
    QComboBox *m_cboEncoding = nullptr;
    QCheckBox *m_chkLenientTimes = nullptr;

    void createShotChangeControls(QBoxLayout *layout);
    void chkShotChanges_Click();
    QCheckBox *m_chkShotChanges = nullptr;
    QLineEdit *m_txtShotGapFrames = nullptr;
    QLineEdit *m_txtShotSnapFrames = nullptr;
    QLineEdit *m_txtMinGapFrames = nullptr;
};
