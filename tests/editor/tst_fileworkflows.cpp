// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editrecordmodel.h"
#include "editor/fileworkflows.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "support/scriptedprompter.h"
#include "support/srttext.h"
#include "support/testfiles.h"

#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using A = Prompter::Answer;
using As = QList<A>;
using S = SaveState;

namespace {

const QString Unsaved = u"Edited text not saved. Save changes?"_s;

// What another program wrote over the file after it was read: every subtitle moved on by one.
QByteArray outsideChange()
{
    return (srtBlock(1, u"00:00:01,000"_s, u"00:00:02,000"_s, u"New first."_s)
            + srtBlock(2, u"00:00:03,000"_s, u"00:00:09,000"_s, LongText)
            + srtBlock(3, u"00:00:10,000"_s, u"00:00:12,000"_s, u"Third."_s))
        .toUtf8();
}

} // namespace

// Every file workflow with its questions, run against the document with a scripted prompter and no window: what is
// asked and in which order, what is on disk afterwards, and what stays after a refusal.
class TestFileWorkflows : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    LangDoc m_lang;
    Settings m_settings;
    ScriptedPrompter m_prompter;
    std::unique_ptr<SubtitleDocument> m_document;
    std::unique_ptr<FileWorkflows> m_flows;
    QString m_movie;

    QString written(const QString &name, const QByteArray &content) const
    {
        return writeFile(m_dir->filePath(name), content) ? m_dir->filePath(name) : QString();
    }
    QString settingsPath() const { return m_dir->filePath(u"Quillmend.ini"_s); }
    const SubtitleList &original() const { return m_document->originalList(); }
    const SubtitleList &corrected() const { return m_document->correctedList(); }
    SaveState state() const { return m_document->saveState(); }
    // movie.srt with content, opened and corrected; nothing asked or said yet.
    bool openCorrected(const QByteArray &content = twoSubtitles())
    {
        const bool ok = writeFile(m_movie, content) && m_flows->LoadFileToList(m_movie) && m_flows->EditSubs();
        m_prompter = ScriptedPrompter();
        return ok;
    }

private slots:
    void init()
    {
        m_flows.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_movie = m_dir->filePath(u"movie.srt"_s);
        m_settings = Settings();
        m_prompter = ScriptedPrompter();
        m_document = std::make_unique<SubtitleDocument>(m_lang);
        m_flows = std::make_unique<FileWorkflows>(*m_document, m_settings, m_prompter, settingsPath(), QStringList());
    }

    // Before the open document goes (closing, opening another). The script runs after a hand edit was saved: e edits
    // again, u undoes a step, o is another program writing the file.
    void askToSave_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<As>("answers");
        QTest::addColumn<QStringList>("asked"); // %1: the file
        QTest::addColumn<bool>("goOn");
        QTest::addColumn<QString>("onDisk"); // the first subtitle's text; empty: what the other program wrote
        QTest::addColumn<S>("after");
        const QString bak = u"%1.bak\n.bak file exists. Replace?"_s;
        const QString overwrite = u"%1 was changed by another program after it was read. Overwrite it?"_s;
        const QString hand = u"By hand"_s;
        const QStringList none, unsaved{Unsaved};
        QTest::newRow("saved: asks nothing") << u""_s << As{} << none << true << hand << S::Saved;
        QTest::newRow("back to the saved step: asks nothing") << u"eu"_s << As{} << none << true << hand << S::Saved;
        // Saving kept the history: the step before it is undone.
        QTest::newRow("undone past the save, Cancel keeps it all") << u"u"_s << As{A::Cancel} << unsaved << false
                                                                   << hand << S::NotSaved;
        QTest::newRow("Yes by default: saved, the old backup kept") << u"e"_s << As{} << unsaved + QStringList{bak}
                                                                    << true << u"Again"_s << S::Saved;
        QTest::newRow("changed outside: not overwritten unasked") << u"eo"_s << As{} << QStringList{Unsaved, overwrite}
                                                                  << false << QString() << S::NotSaved;
        QTest::newRow("changed outside, overwritten") << u"eo"_s << As{A::Yes, A::Yes}
                                                      << QStringList{Unsaved, overwrite, bak} << true << u"Again"_s
                                                      << S::Saved;
    }

    void askToSave()
    {
        QFETCH(QString, script);
        QFETCH(As, answers);
        QFETCH(QStringList, asked);
        QFETCH(QString, onDisk);
        QVERIFY(openCorrected());
        QVERIFY(m_document->editText(0, u"By hand"_s));
        QVERIFY(m_flows->save());
        QCOMPARE(m_prompter.asked, QStringList());
        for (QChar step : script) {
            if (step == u'e')
                QVERIFY(m_document->editText(0, u"Again"_s));
            else if (step == u'u')
                m_document->undo();
            else
                QVERIFY(writeFile(m_movie, outsideChange()));
        }
        m_prompter.answers = answers;
        QTEST(m_flows->askToSave(), "goOn");
        QCOMPARE(m_prompter.asked, asked.replaceInStrings(u"%1"_s, m_movie));
        QCOMPARE(readFile(m_movie), onDisk.isEmpty() ? outsideChange() : twoSubtitles(onDisk));
        QCOMPARE(readFile(m_movie + u".bak"_s), twoSubtitles());
        QTEST(state(), "after");
    }

    // F8 reads the file again: both lists come from that one read, so every
    // row's partner is the same subtitle; what would be lost is asked first.
    void correct_data()
    {
        QTest::addColumn<QString>("before"); // e: hand edit, s: saved, o: changed outside, m: MaxLen -5
        QTest::addColumn<As>("answers");
        QTest::addColumn<QStringList>("asked"); // %1: the file
        QTest::addColumn<bool>("ran");
        QTest::addColumn<int>("originalRows");
        const QString changed = u"%1 was changed by another program after it was read. Read it again and correct it?"_s;
        const QStringList unsaved{Unsaved}, reload{u"Original file changed. Reloaded?"_s};
        QTest::newRow("just corrected: asks nothing") << u""_s << As{} << QStringList() << true << 2;
        QTest::newRow("hand edits, Cancel keeps them") << u"e"_s << As{A::Cancel} << unsaved << false << 2;
        QTest::newRow("changed outside, No") << u"o"_s << As{A::No} << QStringList{changed} << false << 2;
        QTest::newRow("changed outside, Yes by default") << u"o"_s << As{} << QStringList{changed} << true << 3;
        QTest::newRow("hand edits and changed outside, in that order") << u"eo"_s << As{A::No}
                                                                       << QStringList{Unsaved, changed} << true << 3;
        QTest::newRow("saved since read, No") << u"s"_s << As{A::No} << reload << false << 2;
        QTest::newRow("saved since read, Yes by default") << u"s"_s << As{} << reload << true << 2;
        QTest::newRow("settings it cannot use") << u"m"_s << As{} << QStringList() << false << 2;
    }

    void correct()
    {
        QFETCH(QString, before);
        QFETCH(As, answers);
        QFETCH(QStringList, asked);
        QFETCH(bool, ran);
        QVERIFY(openCorrected());
        if (before.contains(u'e'))
            QVERIFY(m_document->editText(1, u"By hand"_s));
        if (before.contains(u's'))
            QVERIFY(m_flows->save());
        if (before.contains(u'o'))
            QVERIFY(writeFile(m_movie, outsideChange()));
        if (before.contains(u'm'))
            m_settings.MaxLen = -5;
        const SaveState stateBefore = state();
        m_prompter.answers = answers;
        QSignalSpy corrections(m_document.get(), &SubtitleDocument::corrected);

        QCOMPARE(m_flows->EditSubs(), ran);
        QCOMPARE(m_prompter.asked, asked.replaceInStrings(u"%1"_s, m_movie));
        QCOMPARE(corrections.size(), ran ? 1 : 0);
        QCOMPARE(state(), ran ? S::NotSaved : stateBefore);
        QTEST(int(original().rowCount()), "originalRows");
        if (!ran)
            QCOMPARE(corrected().row(1).text, before.contains(u'e') ? u"By hand"_s : u"Short one."_s);
        else
            for (const SubtitleRow &row : corrected().rows())
                QCOMPARE(row.text.simplified(), original().row(row.tag - 1).text.simplified()); // partners alike
        QCOMPARE(m_prompter.warned,
                 before == u"m" ? QStringList{u"Error in settings file\n"_s + settingsPath()
                                              + u"\nInvalid setting MaxLen: must be at least 1"_s}
                                : QStringList());
    }

    // What another program wrote after the file was read: Save asks
    // whether to overwrite it, read it again, or do nothing.
    void saveAfterAnOutsideChange_data()
    {
        QTest::addColumn<As>("answers");
        QTest::addColumn<bool>("overwritten");
        QTest::addColumn<S>("after");
        QTest::addColumn<int>("originalRows");
        QTest::newRow("Cancel by default") << As{} << false << S::NotSaved << 2;
        QTest::newRow("overwrite") << As{A::Yes} << true << S::Saved << 2;
        QTest::newRow("read again, the corrections dropped") << As{A::No, A::No} << false << S::Empty << 3;
    }

    void saveAfterAnOutsideChange()
    {
        QFETCH(As, answers);
        QFETCH(bool, overwritten);
        QVERIFY(openCorrected());
        QVERIFY(writeFile(m_movie, outsideChange()));
        m_prompter.answers = answers;
        QCOMPARE(m_flows->save(), overwritten);
        QCOMPARE(m_prompter.asked.first(), m_movie + u" was changed by another program after it was read.\nYes: "
                                                     u"overwrite it with the corrected subtitles.\nNo: read it again."
                                                     u"\nCancel: do nothing."_s);
        QCOMPARE(m_prompter.asked.mid(1), answers.size() > 1 ? QStringList{Unsaved} : QStringList());
        QCOMPARE(readFile(m_movie), overwritten ? twoSubtitles(LongBroken) : outsideChange());
        QTEST(state(), "after");
        QTEST(int(original().rowCount()), "originalRows");
        // Once saved, the file is what was read: the next Save asks only about the backup it keeps.
        if (overwritten) {
            QVERIFY(m_flows->save());
            QCOMPARE(m_prompter.asked.mid(1), QStringList{m_movie + u".bak\n.bak file exists. Replace?"_s});
        }
    }

    // Save as never replaces another file unasked; a copy elsewhere leaves
    // the open file as it was, and the open file itself is a Save.
    void saveAs()
    {
        QVERIFY(openCorrected());
        const QString other = written(u"other.srt"_s, "other");
        QVERIFY(!m_flows->saveAs(QString()));
        QVERIFY(!m_flows->saveAs(other)); // No by default
        QCOMPARE(m_prompter.asked, QStringList{other + u" already exists. Replace it?"_s});
        QCOMPARE(readFile(other), QByteArray("other"));

        m_prompter.answers = {A::Yes};
        QVERIFY(m_flows->saveAs(other));
        QCOMPARE(readFile(other), twoSubtitles(LongBroken));
        QCOMPARE(readFile(other + u".bak"_s), QByteArray("other"));
        QCOMPARE(readFile(m_movie), twoSubtitles());
        QCOMPARE(state(), S::NotSaved);

        QVERIFY(m_flows->saveAs(m_dir->path() + u"/./movie.srt"_s));
        QCOMPARE(m_prompter.asked.size(), 2);
        QCOMPARE(readFile(m_movie), twoSubtitles(LongBroken));
        QCOMPARE(state(), S::Saved);
    }

    // Reading drops a subtitle with no text, so saving one asks first, No by default, naming at most ten of them.
    void savingSubtitlesWithoutText_data()
    {
        QTest::addColumn<int>("blanks");
        QTest::addColumn<As>("answers");
        QTest::addColumn<QString>("listed");
        QTest::newRow("one, No by default") << 1 << As{} << u"1"_s;
        QTest::newRow("one, Yes") << 1 << As{A::Yes} << u"1"_s;
        QTest::newRow("ten") << 10 << As{} << u"1, 2, 3, 4, 5, 6, 7, 8, 9, 10"_s;
        QTest::newRow("eleven") << 11 << As{} << u"1, 2, 3, 4, 5, 6, 7, 8, 9, 10 (+1)"_s;
    }

    void savingSubtitlesWithoutText()
    {
        QFETCH(int, blanks);
        QFETCH(As, answers);
        QFETCH(QString, listed);
        QString content;
        for (int i = 0; i < 11; ++i)
            content += srtBlock(i + 1, u"00:00:%1,000"_s.arg(i * 2 + 10), u"00:00:%1,500"_s.arg(i * 2 + 10),
                                u"Line %1."_s.arg(i + 1));
        QVERIFY(openCorrected(content.toUtf8()));
        for (int row = 0; row < blanks; ++row)
            QVERIFY(m_document->editText(row, row == 0 ? QString() : u" \r\n"_s));

        m_prompter.answers = answers;
        const bool yes = !answers.isEmpty();
        QCOMPARE(m_flows->save(), yes);
        QCOMPARE(m_prompter.asked, QStringList{u"Subtitles %1 have no text and will be lost when the file is read "
                                               u"again. Save anyway?"_s.arg(listed)});
        QCOMPARE(readFile(m_movie).startsWith("1\r\n00:00:10,000 --> 00:00:10,500\r\n\r\n"), yes);
        QCOMPARE(state(), yes ? S::Saved : S::NotSaved);
    }

    // Opening over unsaved edits asks first. A file that cannot be read is named with its line, and nothing half-loaded
    // stays; one refused for a time line the common variants would read asks instead: No keeps the refusal the question
    // shows, Yes reads such lines from now on.
    void openRefusals()
    {
        QVERIFY(openCorrected());
        QVERIFY(!m_flows->LoadFileToList(m_dir->filePath(u"missing.srt"_s))); // passed over without a word
        const QString bad = written(u"bad.srt"_s, twoSubtitles(LongText, u"00:00:07;000"_s));
        m_prompter.answers = {A::No};
        QVERIFY(!m_flows->LoadFileToList(bad));
        QCOMPARE(m_prompter.asked, QStringList{Unsaved});
        QCOMPARE(m_prompter.warned.size(), 1);
        QVERIFY2(m_prompter.warned.first().startsWith(u"Error in file\n"_s + bad + u'\n')
                     && m_prompter.warned.first().contains(u"line 6: 00:00:07;000 --> 00:00:09,000"_s),
                 qPrintable(m_prompter.warned.first()));
        QCOMPARE(original().rowCount() + corrected().rowCount() + m_document->records().rowCount(), 0);
        QCOMPARE(m_document->path(), QString());
        QCOMPARE(state(), S::Empty);
        QCOMPARE(m_document->insertSubtitle(-1, false), -1);
        QCOMPARE(readFile(m_movie), twoSubtitles());

        QVERIFY(writeFile(m_movie, twoSubtitles(LongText, u"00:00:07.000"_s)));
        m_prompter = ScriptedPrompter({A::No});
        QSignalSpy settingsChanged(m_flows.get(), &FileWorkflows::settingsChanged);
        QVERIFY(!m_flows->LoadFileToList(m_movie));
        QCOMPARE(m_prompter.asked.size(), 1);
        const QString question = m_prompter.asked.first();
        QVERIFY2(question.startsWith(m_movie + u'\n') && question.contains(u"line 6: 00:00:07.000 --> 00:00:09,000"_s)
                     && question.endsWith(u"(Options: \"Read common time-format variants\")"_s),
                 qPrintable(question));
        QCOMPARE(m_prompter.informed, QStringList());
        QCOMPARE(original().rowCount(), 0);
        QVERIFY(!m_settings.LenientTimes);
        m_prompter.answers = {A::Yes};
        QVERIFY(m_flows->LoadFileToList(m_movie) && m_flows->EditSubs());
        QCOMPARE(corrected().row(1).startText, u"00:00:07,000"_s);
        QVERIFY(m_settings.LenientTimes);
        QCOMPARE(settingsChanged.size(), 1);
    }

    // Russian in windows-1251, read as windows-1252 by the setting, then read again in another encoding.
    void reopenWithAnEncoding()
    {
        m_settings.Encoding = u"windows-1252"_s;
        const QString russian = u"Добрый вечер, друзья мои."_s;
        QStringEncoder cyrillic("windows-1251");
        QVERIFY(openCorrected(cyrillic.encode(QString::fromUtf8(twoSubtitles(russian)))));
        QCOMPARE(m_document->encoding().displayName(), u"windows-1252"_s);
        QVERIFY(original().row(0).text != russian);

        // Not in that encoding: said, and the document stays as it was.
        QSignalSpy encodingChanged(m_document.get(), &SubtitleDocument::encodingChanged);
        QVERIFY(!m_flows->reopen(u"UTF-8"_s));
        QCOMPARE(m_prompter.warned.size(), 1);
        QVERIFY2(m_prompter.warned.first().startsWith(u"Error in file\n"_s + m_movie + u'\n')
                     && m_prompter.warned.first().contains(u"invalid UTF-8 at byte"_s),
                 qPrintable(m_prompter.warned.first()));
        QCOMPARE(encodingChanged.size(), 0);
        QCOMPARE(corrected().rowCount(), 2);

        // Read and corrected again, after the question about the corrections.
        m_prompter.answers = {A::No};
        QVERIFY(m_flows->reopen(u"windows-1251"_s));
        QCOMPARE(m_prompter.asked, QStringList{Unsaved});
        QCOMPARE(original().row(0).text, russian);
        QCOMPARE(corrected().row(0).text, russian);
        QCOMPARE(m_document->encoding().displayName(), u"windows-1251"_s);
        QCOMPARE(state(), S::NotSaved);
        // Saved in the encoding in use.
        QVERIFY(m_flows->save());
        QCOMPARE(readFile(m_movie), QByteArray(cyrillic.encode(QString::fromUtf8(twoSubtitles(russian)))));
    }
};

QTEST_GUILESS_MAIN(TestFileWorkflows)
#include "tst_fileworkflows.moc"
