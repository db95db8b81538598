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

namespace {

struct Run
{
    int exitCode = -1;
    QString err;
};

// Runs a tool in folder to its end: its output, or "failed: " and all it said.
QByteArray runTool(const QString &program, const QStringList &arguments, const QString &folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return "failed: " + program.toUtf8() + ": " + process.readAllStandardError() + process.readAllStandardOutput();
    return process.readAllStandardOutput();
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
    QString m_root; // the prefix: the folder itself, or usr/ in the unpacked package

    QString prefixPath(const QString &relative) const { return QDir(m_root).filePath(relative); }
    QString binary(const QString &name) const { return prefixPath(QStringLiteral(QUILLMEND_INSTALL_BINDIR "/") + name); }

    // Runs an installed program with a home of its own, so nothing of the
    // user's settings or language files takes part.
    Run run(const QString &program, const QStringList &arguments, bool display)
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
        process.start(program, arguments);
        // A program that hangs is killed when process goes out of scope.
        if (!process.waitForFinished(60'000))
            return {-1, u"did not finish: "_s + program};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    // The settings file beside the installed executables, whose folder is
    // writable here.
    void writeSettings(const QByteArray &lines)
    {
        QVERIFY(writeFile(binary(u"Quillmend.ini"_s), "[General]\n" + lines));
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
            out = runTool(QStringLiteral(QUILLMEND_CMAKE_COMMAND), {u"--install"_s, build, u"--prefix"_s, m_root});
            QVERIFY2(!out.startsWith("failed"), out.constData());
            return;
        }
        for (const QString &tool : {u"dpkg-deb"_s, u"dpkg-shlibdeps"_s, u"file"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("The Debian packaging tools are not installed.");
        }
        const QDir folder(m_prefix.filePath(u"package"_s));
        out = runTool(QStringLiteral(QUILLMEND_CPACK_COMMAND),
                      {u"-G"_s, u"DEB"_s, u"--config"_s, build + u"/CPackConfig.cmake"_s, u"-B"_s, folder.path()});
        QVERIFY2(!out.startsWith("failed"), out.constData());
        const QStringList packages = folder.entryList({u"quillmend_" QUILLMEND_VERSION "_*.deb"_s}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        // Its dependencies come from the libraries the programs link.
        out = runTool(u"dpkg-deb"_s, {u"-f"_s, folder.filePath(packages[0]), u"Depends"_s, u"Description"_s});
        QVERIFY2(out.contains("libqt6widgets6") && out.contains("libpugixml1v5") && out.contains("SubRip"),
                 out.constData());
        out = runTool(u"dpkg-deb"_s, {u"-x"_s, folder.filePath(packages[0]), m_root});
        QVERIFY2(!out.startsWith("failed"), out.constData());
        m_root += u"/usr"_s;
    }

    // The programs themselves are run below.
    void installsEveryFile()
    {
        const QString data = QStringLiteral(QUILLMEND_INSTALL_DATADIR "/");
        const QString man = QStringLiteral(QUILLMEND_INSTALL_MANDIR "/man1/");
        QStringList expected{prefixPath(data + u"applications/quillmend.desktop"_s),
                             prefixPath(data + u"icons/hicolor/scalable/apps/quillmend.svg"_s),
                             prefixPath(data + u"metainfo/" QUILLMEND_METAINFO ""_s),
                             prefixPath(man + u"quillmend.1"_s),
                             prefixPath(man + u"quillmend-cli.1"_s)};
        for (const QString &language : {u"English"_s, u"French"_s, u"German"_s, u"Greek"_s, u"Spanish"_s})
            expected << prefixPath(data + u"quillmend/lang/"_s + language + u".Quillmend.exe.xml"_s);
        expected << prefixPath(data + u"quillmend/lang/quillmend_qt_el.qm"_s);
        for (const QString &file : expected)
            QVERIFY2(QFileInfo(file).isFile(), qPrintable(file));

        const QByteArray entry = readFile(prefixPath(data + u"applications/quillmend.desktop"_s));
        QVERIFY(entry.contains("\nExec=quillmend %f\n"));
        QVERIFY(entry.contains("\nMimeType=application/x-subrip;\n"));
        QVERIFY(!readFile(prefixPath(man + u"quillmend.1"_s)).contains("@PROJECT_VERSION@"));
    }

    void installedMetadataIsValid_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addRow("software-centre metadata")
            << u"appstreamcli"_s
            << QStringList{u"validate"_s, u"--no-net"_s, u"" QUILLMEND_INSTALL_DATADIR "/metainfo/" QUILLMEND_METAINFO ""_s};
        QTest::addRow("menu entry") << u"desktop-file-validate"_s
                                    << QStringList{u"" QUILLMEND_INSTALL_DATADIR "/applications/quillmend.desktop"_s};
    }

    void installedMetadataIsValid()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP("The validator is not installed.");
        const QByteArray out = runTool(tool, arguments, m_root);
        QVERIFY2(!out.startsWith("failed"), out.constData());
    }

    void cliReportsItsVersion()
    {
        QCOMPARE(runTool(binary(u"quillmend-cli"_s), {u"--version"_s}), "quillmend-cli " QUILLMEND_VERSION "\n");
    }

    void installedProgramsFindTheirLanguageFiles_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addRow("window program, unattended without a display") << u"quillmend"_s << QStringList{u"/AUTO"_s};
        QTest::addRow("command line") << u"quillmend-cli"_s << QStringList{};
    }

    void installedProgramsFindTheirLanguageFiles()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        // French messages can only come from the installed French file.
        writeSettings("Lang=French\n");
        const QString subtitles = m_home.filePath(u"bad.srt"_s);
        QVERIFY(writeFile(subtitles, "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n2\r\n00:00:03 --> 00:00:04,000\r\nTwo\r\n"));

        const Run result = run(binary(program), arguments << subtitles, false);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(u"Erreur dans le fichier"_s), qPrintable(result.err));
    }

    void installedWindowProgramCorrectsOffscreen()
    {
        writeSettings("ShowMessageAuto=0\n");
        const QString subtitles = m_home.filePath(u"movie.srt"_s);
        QVERIFY(QFile::copy(QStringLiteral(QUILLMEND_TEST_DATA_DIR "/cli/movie.srt"), subtitles));

        const Run result = run(binary(u"quillmend"_s), {u"/auto"_s, subtitles}, true);
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QCOMPARE(readFile(subtitles), readFile(QStringLiteral(QUILLMEND_TEST_DATA_DIR "/cli/movie.corrected.srt")));
        QVERIFY(QFileInfo::exists(subtitles + u".bak"_s));
    }

    // The weak words install with the language files and are found the same
    // way: without them the break would fall after "the".
    void installedWeakWordsAreFound()
    {
        writeSettings("GuidelineBreaks=-1\nMaxLen=20\n");
        const QString subtitles = m_home.filePath(u"guideline.srt"_s);
        QVERIFY(writeFile(subtitles, "1\r\n00:00:01,000 --> 00:00:02,000\r\n"
                                     "the and of to by for with from the and\r\n\r\n"
                                     "2\r\n00:00:03,000 --> 00:00:09,000\r\nWe went to the big old house\r\n"));
        const Run result = run(binary(u"quillmend-cli"_s), {subtitles}, false);
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        const QByteArray corrected = readFile(subtitles);
        QVERIFY2(corrected.contains("\r\nWe went to the big\r\nold house\r\n"), corrected.constData());
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
