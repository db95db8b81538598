// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestInstall : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
    QString m_root; // the prefix: the folder itself, or usr/ in the unpacked package

    struct Run { int exitCode = -1; QByteArray out, err; };

    QString prefixPath(const QString &relative) const { return QDir(m_root).filePath(relative); }
    QString binary(const QString &name) const { return prefixPath(QStringLiteral(QUILLMEND_INSTALL_BINDIR "/") + name); }

    // Runs program in folder to its end with a home of its own, so nothing of the user's settings or language files
    // takes part; the display, if any, is offscreen. A program that hangs is killed when process goes out of scope.
    Run run(const QString &program, const QStringList &arguments, bool display = false, const QString &folder = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        if (display)
            environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"HOME"_s, m_home.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
        environment.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u"data"_s));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.start(program, arguments);
        if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit)
            return {-1, {}, "did not finish: " + program.toUtf8()};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // A tool's output, or "failed: " and all it said.
    QByteArray tool(const QString &program, const QStringList &arguments, const QString &folder = {})
    {
        const Run result = run(program, arguments, false, folder);
        return result.exitCode == 0 ? result.out : "failed: " + program.toUtf8() + ": " + result.err + result.out;
    }

private slots:
    // Lays the files out with "cmake --install", or, with QUILLMEND_TEST_PACKAGE
    // set, makes the Debian package from the same build and unpacks it.
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid() && m_home.isValid());
        const QString build = QStringLiteral(QUILLMEND_BUILD_DIR);
        m_root = m_prefix.filePath(u"root"_s);
        QByteArray out;
        if (qEnvironmentVariableIsEmpty("QUILLMEND_TEST_PACKAGE")) {
            out = tool(QStringLiteral(QUILLMEND_CMAKE_COMMAND), {u"--install"_s, build, u"--prefix"_s, m_root});
            QVERIFY2(!out.startsWith("failed"), out.constData());
            return;
        }
        for (const QString &name : {u"dpkg-deb"_s, u"dpkg-shlibdeps"_s, u"file"_s}) {
            if (QStandardPaths::findExecutable(name).isEmpty())
                QSKIP("The Debian packaging tools are not installed.");
        }
        const QDir folder(m_prefix.filePath(u"package"_s));
        out = tool(QStringLiteral(QUILLMEND_CPACK_COMMAND),
                   {u"-G"_s, u"DEB"_s, u"--config"_s, build + u"/CPackConfig.cmake"_s, u"-B"_s, folder.path()});
        QVERIFY2(!out.startsWith("failed"), out.constData());
        const QStringList packages = folder.entryList({u"quillmend_" QUILLMEND_VERSION "_*.deb"_s}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        // Its dependencies come from the libraries the programs link.
        out = tool(u"dpkg-deb"_s, {u"-f"_s, folder.filePath(packages[0]), u"Depends"_s, u"Description"_s});
        QVERIFY2(out.contains("libqt6widgets6") && out.contains("libpugixml1v5") && out.contains("SubRip"),
                 out.constData());
        out = tool(u"dpkg-deb"_s, {u"-x"_s, folder.filePath(packages[0]), m_root});
        QVERIFY2(!out.startsWith("failed"), out.constData());
        m_root += u"/usr"_s;
    }

    // What the programs do with them is run below.
    void installsEveryFile()
    {
        const QString data = QStringLiteral(QUILLMEND_INSTALL_DATADIR "/");
        const QString man = QStringLiteral(QUILLMEND_INSTALL_MANDIR "/man1/");
        QStringList expected{data + u"applications/quillmend.desktop"_s,
                             data + u"icons/hicolor/scalable/apps/quillmend.svg"_s,
                             data + u"metainfo/" QUILLMEND_METAINFO ""_s,
                             man + u"quillmend.1"_s,
                             man + u"quillmend-cli.1"_s,
                             data + u"quillmend/lang/quillmend_qt_el.qm"_s};
        for (const QString &language : {u"English"_s, u"French"_s, u"German"_s, u"Greek"_s, u"Spanish"_s})
            expected << data + u"quillmend/lang/"_s + language + u".Quillmend.exe.xml"_s;
        for (const QString &file : expected)
            QVERIFY2(QFileInfo(prefixPath(file)).isFile(), qPrintable(file));

        const QByteArray entry = readFile(prefixPath(expected[0]));
        QVERIFY(entry.contains("\nExec=quillmend %f\n") && entry.contains("\nMimeType=application/x-subrip;text/vtt;\n")
                && readFile(prefixPath(expected[2])).contains("<mediatype>text/vtt</mediatype>"));
        QVERIFY(!readFile(prefixPath(man + u"quillmend.1"_s)).contains("@PROJECT_VERSION@"));
        QCOMPARE(tool(binary(u"quillmend-cli"_s), {u"--version"_s}), "quillmend-cli " QUILLMEND_VERSION "\n");

        const QStringList validators[] = {
            {u"appstreamcli"_s, u"validate"_s, u"--no-net"_s, expected[2]},
            {u"desktop-file-validate"_s, expected[0]},
        };
        for (const QStringList &validator : validators) {
            if (QStandardPaths::findExecutable(validator[0]).isEmpty()) {
                qWarning("%s is not installed; not validated", qPrintable(validator[0]));
                continue;
            }
            const QByteArray out = tool(validator[0], validator.mid(1), m_root);
            QVERIFY2(!out.startsWith("failed"), out.constData());
        }
    }

    // French messages can only come from the installed French file; without
    // the installed weak words the break would fall after "the".
    void installedProgramsRun_data()
    {
        QTest::addColumn<QStringList>("command"); // the program and its options
        QTest::addColumn<bool>("display");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output"); // empty: the input, untouched
        QTest::addColumn<QString>("err");       // what the errors hold

        const QByteArray bad = readFile(QStringLiteral(QUILLMEND_TEST_DATA_DIR "/cli/bad-time-line.srt"));
        const QByteArray movie = readFile(QStringLiteral(QUILLMEND_TEST_DATA_DIR "/cli/movie.srt"));
        const QString french = u"Erreur dans le fichier"_s;
        QTest::newRow("window program, unattended without a display")
            << QStringList{u"quillmend"_s, u"/AUTO"_s} << false << "Lang=French\n"_ba << bad << QByteArray() << french;
        QTest::newRow("command line") << QStringList{u"quillmend-cli"_s} << false << "Lang=French\n"_ba << bad
                                      << QByteArray() << french;
        QTest::newRow("window program offscreen")
            << QStringList{u"quillmend"_s, u"/auto"_s} << true << "ShowMessageAuto=0\n"_ba
            << movie << QByteArray(movie).replace("stairs twice", "stairs\r\ntwice") + "\r\n" << QString();
        const QByteArray weak = "1\r\n00:00:01,000 --> 00:00:02,000\r\nthe and of to by for\r\nwith from the and\r\n"
                                "\r\n2\r\n00:00:03,000 --> 00:00:09,000\r\nWe went to the big old house\r\n";
        QTest::newRow("weak words") << QStringList{u"quillmend-cli"_s} << false
                                    << "GuidelineBreaks=-1\nMaxLen=20\nBuyTime=0\n"_ba << weak
                                    << QByteArray(weak).replace("big old", "big\r\nold") + "\r\n" << QString();
    }

    void installedProgramsRun()
    {
        QFETCH(QStringList, command);
        QFETCH(bool, display);
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(QString, err);
        // The settings file beside the installed executables, whose folder is writable here.
        QVERIFY(writeFile(binary(u"Quillmend.ini"_s), "[General]\n" + settings));
        const QString subtitles = m_home.filePath(u"movie.srt"_s);
        QFile::remove(subtitles + u".bak"_s);
        QVERIFY(writeFile(subtitles, input));
        const Run result = run(binary(command.takeFirst()), command << subtitles, display);
        QVERIFY2(QString::fromUtf8(result.err).contains(err), result.err.constData());
        QCOMPARE(result.exitCode, output.isEmpty() ? 1 : 0);
        QCOMPARE(readFile(subtitles), output.isEmpty() ? input : output);
        QCOMPARE(readFile(subtitles + u".bak"_s), output.isEmpty() ? "<missing>"_ba : input);
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
