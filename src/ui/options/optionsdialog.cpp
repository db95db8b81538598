// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/optionsdialog.h"

#include "document/encoding/encodingchoice.h"
#include "document/prompter.h"
#include "lang/form2messages.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "settings/settingvalue.h"
#include "shell/shellverb.h"
#include "ui/language/langcaptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <optional>
#include <tuple>

namespace {

QCheckBox *makeCheckBox(QWidget *parent, const char16_t *name, const char16_t *caption)
{
    auto *box = new QCheckBox(QString::fromUtf16(caption), parent);
    box->setObjectName(QString::fromUtf16(name));
    return box;
}

QLineEdit *makeNumberBox(QWidget *parent, const char16_t *name, const char16_t *text)
{
    auto *box = new QLineEdit(QString::fromUtf16(text), parent);
    box->setObjectName(QString::fromUtf16(name));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    return box;
}

// A row indented under the check box it depends on, added to layout.
void addIndented(QBoxLayout *layout, int level, std::initializer_list<QWidget *> widgets)
{
    auto *row = new QHBoxLayout;
    row->addSpacing(20 * level);
    for (QWidget *widget : widgets)
        row->addWidget(widget);
    row->addStretch();
    layout->addLayout(row);
}

// The value of field a correction run can use, or nothing: the leading
// number of text rounded to an integer, within the setting's rule.
std::optional<qint32> usableValue(const QString &text, qint32 Settings::*field)
{
    const std::optional<qint32> value = integerFromSettingText(text);
    if (!value)
        return std::nullopt;
    // The defaults break no rule, so a problem is this value's.
    Settings candidate;
    candidate.*field = *value;
    return candidate.problems().isEmpty() ? value : std::nullopt;
}

} // namespace

OptionsDialog::OptionsDialog(const Settings &settings, ShellVerb &shellVerb, const LangDoc &lang,
                             Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_shellVerb(shellVerb), m_lang(lang), m_prompter(prompter)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Options"));
    createControls();
    Form_Load();
}

void OptionsDialog::createControls()
{
    m_Label2 = new QLabel(QStringLiteral("Maximum characters per line"), this);
    m_Label2->setObjectName(QStringLiteral("Label2"));
    m_txtMaxCharsPerLine = makeNumberBox(this, u"txtMaxCharsPerLine", u"45");
    m_Label2->setBuddy(m_txtMaxCharsPerLine);

    auto *Frame1 = new QGroupBox(QStringLiteral("If subtitles are above 2 lines"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    m_chkCorrectSubsAbove2Lines = makeCheckBox(Frame1, u"chkCorrectSubsAbove2Lines", u"Correct subtitles above 2 lines");
    m_chkJoinSubsAbove2Lines =
        makeCheckBox(Frame1, u"chkJoinSubsAbove2Lines", u"Join them to 1 line and after break them to 2 lines");
    m_chkBuyTime = makeCheckBox(Frame1, u"chkBuyTime", u"Buy time from next and/or before subtitle (if possible)");
    m_txtLettersFor1Min = makeNumberBox(Frame1, u"txtLettersFor1Min", u"25");
    m_Label1 = new QLabel(QStringLiteral("letters for about 1 sec"), Frame1);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setBuddy(m_txtLettersFor1Min);
    m_chkParseAllTimes =
        makeCheckBox(Frame1, u"chkParseAllTimes", u"Do it for all subtitles, not only the \"long\" ones");
    m_chkBrakeTo2 = makeCheckBox(
        Frame1, u"chkBrakeTo2",
        u"If a subtitle is bigger than 2 times the max number of chars, break it to 2 subtitles");

    auto *Label3 = new QLabel(QStringLiteral("Overlapping subtitles corrected automatically"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    m_chkCreateBakFile = makeCheckBox(this, u"chkCreateBakFile", u"Keep original file (rename to .bak)");
    m_chkShowMessage = makeCheckBox(this, u"chkShowMessage", u"Show message after correct (parse) original file");
    m_chkAddToRightClick = makeCheckBox(
        this, u"chkAddToRightClick", u"Add the option \"Correct subtitles\" (auto) to right click for .srt files");
    m_chkCreateBakFileAuto = makeCheckBox(this, u"chkCreateBakFileAuto", u"Keep original file (rename to .bak)");
    m_chkShowMessageAuto = makeCheckBox(this, u"chkShowMessageAuto", u"Show message after correct");
    m_chkCreateBakFileAuto->setEnabled(false);
    m_chkShowMessageAuto->setEnabled(false);

    auto *lblEncoding = new QLabel(QStringLiteral("Encoding of the files to read"), this);
    lblEncoding->setObjectName(QStringLiteral("lblEncoding"));
    m_cboEncoding = new QComboBox(this);
    m_cboEncoding->setObjectName(QStringLiteral("cboEncoding"));
    lblEncoding->setBuddy(m_cboEncoding);
    m_chkLenientTimes =
        makeCheckBox(this, u"chkLenientTimes", u"Read common time-format variants (00:00:01.000, 00:01:39)");

    m_Command1 = new QPushButton(QStringLiteral("Ok"), this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    m_Command1->setDefault(true);
    m_Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    m_Command2->setObjectName(QStringLiteral("Command2"));

    auto *maxRow = new QHBoxLayout;
    maxRow->addWidget(m_Label2);
    maxRow->addWidget(m_txtMaxCharsPerLine);
    maxRow->addStretch();

    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(m_chkCorrectSubsAbove2Lines);
    frameLayout->addWidget(m_chkJoinSubsAbove2Lines);
    addIndented(frameLayout, 1, {m_chkBuyTime});
    addIndented(frameLayout, 2, {m_txtLettersFor1Min, m_Label1});
    addIndented(frameLayout, 2, {m_chkParseAllTimes});
    addIndented(frameLayout, 1, {m_chkBrakeTo2});

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_Command1);
    buttons->addWidget(m_Command2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(maxRow);
    layout->addWidget(Frame1);
    layout->addWidget(Label3);
    layout->addWidget(m_chkCreateBakFile);
    layout->addWidget(m_chkShowMessage);
    layout->addWidget(line);
    layout->addWidget(m_chkAddToRightClick);
    addIndented(layout, 1, {m_chkCreateBakFileAuto});
    addIndented(layout, 1, {m_chkShowMessageAuto});
    auto *readingLine = new QFrame(this);
    readingLine->setFrameShape(QFrame::HLine);
    readingLine->setFrameShadow(QFrame::Sunken);
    layout->addWidget(readingLine);
    addIndented(layout, 0, {lblEncoding, m_cboEncoding});
    layout->addWidget(m_chkLenientTimes);
    createShotChangeControls(layout);
    layout->addStretch();
    layout->addLayout(buttons);
    createGuidelineControls(frameLayout, layout, Label3);

    // The enabling rules follow every change of state, whether a click or
    // the dialog's own loading made it.
    connect(m_chkJoinSubsAbove2Lines, &QCheckBox::toggled, this, &OptionsDialog::chkJoinSubsAbove2Lines_Click);
    connect(m_chkBuyTime, &QCheckBox::toggled, this, &OptionsDialog::chkBuyTime_Click);
    connect(m_chkAddToRightClick, &QCheckBox::toggled, this, &OptionsDialog::chkAddToRightClick_Click);
    connect(m_Command1, &QPushButton::clicked, this, &OptionsDialog::Command1_Click);
    connect(m_Command2, &QPushButton::clicked, this, &QDialog::reject);

    // The two explanations quote the maximum as typed, so they are rebuilt
    // whenever the pointer comes over their box.
    for (QCheckBox *box : {m_chkCorrectSubsAbove2Lines, m_chkParseAllTimes}) {
        box->setMouseTracking(true);
        box->installEventFilter(this);
    }
}

void OptionsDialog::createGuidelineControls(QBoxLayout *frameLayout, QBoxLayout *layout, QWidget *Label3)
{
    m_chkGuidelineBreaks = makeCheckBox(
        frameLayout->parentWidget(), u"chkGuidelineBreaks",
        u"Break lines as subtitling guidelines advise (balanced, short words kept with the next)");
    m_chkGuidelineBreaks->setToolTip(QStringLiteral(
        "A second speaker starts the second line; a sentence end or a comma is preferred; no line is left with a "
        "lone short word; articles, prepositions and the like stay with the word after them; the two lines are "
        "balanced."));
    addIndented(frameLayout, 1, {m_chkGuidelineBreaks});

    m_lblMinGapMs = new QLabel(QStringLiteral("Minimum gap between subtitles (ms)"), this);
    m_lblMinGapMs->setObjectName(QStringLiteral("lblMinGapMs"));
    m_txtMinGapMs = makeNumberBox(this, u"txtMinGapMs", u"1");
    m_lblMinGapMs->setBuddy(m_txtMinGapMs);
    auto *gapRow = new QHBoxLayout;
    gapRow->addSpacing(20);
    gapRow->addWidget(m_lblMinGapMs);
    gapRow->addWidget(m_txtMinGapMs);
    gapRow->addStretch();
    // The gap is what overlapping subtitles are moved apart by, so it sits
    // under that line.
    layout->insertLayout(layout->indexOf(Label3) + 1, gapRow);
}

void OptionsDialog::createShotChangeControls(QBoxLayout *layout)
{
    auto *shotLine = new QFrame(this);
    shotLine->setFrameShape(QFrame::HLine);
    shotLine->setFrameShadow(QFrame::Sunken);
    layout->addWidget(shotLine);
    m_chkShotChanges = makeCheckBox(this, u"chkShotChanges", u"Keep timing clear of shot changes");
    m_chkShotChanges->setToolTip(QStringLiteral(
        "With the film's shot changes known: no lengthened subtitle crosses a shot change, an end close before one "
        "is kept a few frames before it, a start close after one goes onto it, a split close to one is made there, "
        "and gaps count whole frames."));
    layout->addWidget(m_chkShotChanges);
    const std::tuple<QLineEdit *&, const char16_t *, const char16_t *, const char16_t *> rows[] = {
        {m_txtShotGapFrames, u"txtShotGapFrames", u"lblShotGapFrames",
         u"frames between an end and the shot change after it"},
        {m_txtShotSnapFrames, u"txtShotSnapFrames", u"lblShotSnapFrames",
         u"frames from a shot change within which a time goes onto it (0: never)"},
        {m_txtMinGapFrames, u"txtMinGapFrames", u"lblMinGapFrames",
         u"frames at least between subtitles (0: the gap in ms above)"},
    };
    for (const auto &[box, boxName, labelName, caption] : rows) {
        box = makeNumberBox(this, boxName, u"0");
        auto *label = new QLabel(QString::fromUtf16(caption), this);
        label->setObjectName(QString::fromUtf16(labelName));
        label->setBuddy(box);
        addIndented(layout, 1, {box, label});
    }
    connect(m_chkShotChanges, &QCheckBox::toggled, this, &OptionsDialog::chkShotChanges_Click);
}

void OptionsDialog::chkShotChanges_Click()
{
    for (QLineEdit *box : {m_txtShotGapFrames, m_txtShotSnapFrames, m_txtMinGapFrames}) {
        box->setEnabled(m_chkShotChanges->isChecked());
        if (QWidget *label = findChild<QLabel *>(QStringLiteral("lbl") + box->objectName().mid(3)))
            label->setEnabled(box->isEnabled());
    }
}

void OptionsDialog::Form_Load()
{
    ApplyLangCaptions(*this, m_lang);

    m_txtMaxCharsPerLine->setText(QString::number(m_settings.MaxLen));
    m_chkJoinSubsAbove2Lines->setChecked(m_settings.JoinSubsAbove2Lines);
    m_chkBuyTime->setChecked(m_settings.BuyTime);
    m_txtLettersFor1Min->setText(QString::number(m_settings.LettersFor1Min));
    m_chkCorrectSubsAbove2Lines->setChecked(m_settings.CorrectSubsAbove2Lines);
    m_chkCreateBakFile->setChecked(m_settings.CreateBakFile);
    m_chkParseAllTimes->setChecked(m_settings.ParseAllTimes);
    m_chkBrakeTo2->setChecked(m_settings.BrakeTo2);
    m_chkShowMessage->setChecked(m_settings.ShowMessage);
    chkJoinSubsAbove2Lines_Click();

    m_chkAddToRightClick->setChecked(m_shellVerb.IsShellVerbRegistered());
    chkAddToRightClick_Click();
    m_chkCreateBakFileAuto->setChecked(m_settings.CreateBakFileAuto);
    m_chkShowMessageAuto->setChecked(m_settings.ShowMessageAuto);

    m_chkGuidelineBreaks->setChecked(m_settings.GuidelineBreaks);
    m_txtMinGapMs->setText(QString::number(m_settings.MinGapMs));
    // Auto, the common encodings, and a name set in the file by hand.
    m_cboEncoding->addItem(GetLangText(m_lang, Form2Msg::AutoEncoding), QString(AutoEncoding));
    for (const QString &name : commonEncodingNames())
        m_cboEncoding->addItem(name, name);
    int current = m_cboEncoding->findData(m_settings.Encoding, Qt::UserRole, Qt::MatchFixedString);
    if (current < 0) {
        m_cboEncoding->addItem(m_settings.Encoding, m_settings.Encoding);
        current = m_cboEncoding->count() - 1;
    }
    m_cboEncoding->setCurrentIndex(current);
    m_chkLenientTimes->setChecked(m_settings.LenientTimes);

    m_chkShotChanges->setChecked(m_settings.ShotChanges);
    m_txtShotGapFrames->setText(QString::number(m_settings.ShotGapFrames));
    m_txtShotSnapFrames->setText(QString::number(m_settings.ShotSnapFrames));
    m_txtMinGapFrames->setText(QString::number(m_settings.MinGapFrames));
    chkShotChanges_Click();
}

// A disabled box keeps its tick; only what depends on it follows.
void OptionsDialog::chkJoinSubsAbove2Lines_Click()
{
    m_chkBuyTime->setEnabled(m_chkJoinSubsAbove2Lines->isChecked() && m_chkJoinSubsAbove2Lines->isEnabled());
    m_chkBrakeTo2->setEnabled(m_chkBuyTime->isEnabled());
    chkBuyTime_Click();

    m_chkGuidelineBreaks->setEnabled(m_chkBuyTime->isEnabled());
}

void OptionsDialog::chkBuyTime_Click()
{
    m_Label1->setEnabled(m_chkBuyTime->isChecked() && m_chkBuyTime->isEnabled());
    m_txtLettersFor1Min->setEnabled(m_Label1->isEnabled());
    m_chkParseAllTimes->setEnabled(m_Label1->isEnabled());
}

void OptionsDialog::chkAddToRightClick_Click()
{
    const bool add = m_chkAddToRightClick->isChecked();
    m_chkCreateBakFileAuto->setEnabled(add);
    m_chkShowMessageAuto->setEnabled(add);
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove || type == QEvent::ToolTip) {
        const QString chars = m_txtMaxCharsPerLine->text() + GetLangText(m_lang, Form2Msg::Chars);
        if (watched == m_chkCorrectSubsAbove2Lines)
            m_chkCorrectSubsAbove2Lines->setToolTip(GetLangText(m_lang, Form2Msg::AllAbove2Lines) + chars);
        else if (watched == m_chkParseAllTimes)
            m_chkParseAllTimes->setToolTip(GetLangText(m_lang, Form2Msg::BuyTimeForEvery) + chars);
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::Command1_Click()
{
    if (QLineEdit *refused = refuseUnusableNumbers()) {
        if (refused->isEnabled()) {
            refused->setFocus();
            refused->selectAll();
        }
        return;
    }
    SaveValues();
    accept();
}

QLineEdit *OptionsDialog::refuseUnusableNumbers()
{
    // A maximum of 0 would make every line long, and a reading speed of 0
    // would divide by zero in the next correction.
    const std::tuple<QLineEdit *, qint32 Settings::*, const Message &> boxes[] = {
        {m_txtMaxCharsPerLine, &Settings::MaxLen, Form2Msg::BadMaxChars},
        {m_txtLettersFor1Min, &Settings::LettersFor1Min, Form2Msg::BadLettersFor1Min},
        {m_txtMinGapMs, &Settings::MinGapMs, Form2Msg::BadMinGap},
        {m_txtShotGapFrames, &Settings::ShotGapFrames, Form2Msg::BadFrames},
        {m_txtShotSnapFrames, &Settings::ShotSnapFrames, Form2Msg::BadFrames},
        {m_txtMinGapFrames, &Settings::MinGapFrames, Form2Msg::BadFrames},
    };
    for (const auto &[box, field, message] : boxes) {
        if (!usableValue(box->text(), field)) {
            m_prompter.warn(GetLangText(m_lang, message).arg(box->text()), windowTitle());
            return box;
        }
    }
    return nullptr;
}

void OptionsDialog::SaveValues()
{
    m_settings.MaxLen = *usableValue(m_txtMaxCharsPerLine->text(), &Settings::MaxLen);
    m_settings.JoinSubsAbove2Lines = m_chkJoinSubsAbove2Lines->isChecked();
    m_settings.BuyTime = m_chkBuyTime->isChecked();
    m_settings.LettersFor1Min = *usableValue(m_txtLettersFor1Min->text(), &Settings::LettersFor1Min);
    m_settings.CorrectSubsAbove2Lines = m_chkCorrectSubsAbove2Lines->isChecked();
    m_settings.CreateBakFile = m_chkCreateBakFile->isChecked();
    m_settings.ParseAllTimes = m_chkParseAllTimes->isChecked();
    m_settings.BrakeTo2 = m_chkBrakeTo2->isChecked();
    m_settings.ShowMessage = m_chkShowMessage->isChecked();

    QString error;
    if (!m_shellVerb.SetShellVerb(m_chkAddToRightClick->isChecked(), &error))
        m_prompter.warn(GetLangText(m_lang, Form2Msg::ShellVerbFailed).arg(error), windowTitle());

    m_settings.CreateBakFileAuto = m_chkCreateBakFileAuto->isChecked();
    m_settings.ShowMessageAuto = m_chkShowMessageAuto->isChecked();

    m_settings.GuidelineBreaks = m_chkGuidelineBreaks->isChecked();
    m_settings.MinGapMs = *usableValue(m_txtMinGapMs->text(), &Settings::MinGapMs);
    m_settings.Encoding = m_cboEncoding->currentData().toString();
    m_settings.LenientTimes = m_chkLenientTimes->isChecked();

    m_settings.ShotChanges = m_chkShotChanges->isChecked();
    m_settings.ShotGapFrames = *usableValue(m_txtShotGapFrames->text(), &Settings::ShotGapFrames);
    m_settings.ShotSnapFrames = *usableValue(m_txtShotSnapFrames->text(), &Settings::ShotSnapFrames);
    m_settings.MinGapFrames = *usableValue(m_txtMinGapFrames->text(), &Settings::MinGapFrames);
}
