// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/clirunner.h"

#include "app/cli/consoleprompter.h"
#include "app/cli/filecorrection.h"
#include "app/cli/jsonreport.h"
#include "document/encoding/encodingchoice.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "engine/shots/cutlistfile.h"
#include "engine/shots/framegrid.h"
#include "engine/weakwordfiles.h"
#include "media/peakcache.h"
#include "media/shots/shotchangefinder.h"
#include "settings/settingproblemtext.h"
#include "settings/settingsfile.h"
#include "settings/settingsstore.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

#include <cmath>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

struct CliOptions
{
    QStringList files;
    FileCorrectionOptions correction;
    QString settingsPath;
    QStringList overrides; // KEY=VALUE
    bool replaceBackups = false;
    bool json = false;
    QString videoPath;         // --video: the film whose shot changes the correction keeps clear of
    QString shotListVideoPath; // --list-shot-changes
    QString shotChangesPath; // a list of the film's shot changes
    double frameRate = 0;    // for a list that gives none
};

// Keys with their defaults as Settings{} holds them: "MaxLen (44)".
QString keysWithDefaults(std::initializer_list<QStringView> names)
{
    QStringList texts;
    for (QStringView name : names) {
        const SettingKey key = SettingsStore::findKey(name).value();
        texts << key.name + u" ("_s + SettingsStore::defaultText(key) + u')';
    }
    return texts.join(u", "_s);
}

// One line of the settings keys: the key in a column, then what it does.
QString keyLine(QStringView name, const QString &meaning)
{
    return u"  "_s + keysWithDefaults({name}).leftJustified(26) + u' ' + meaning + u'\n';
}

// The values a correction can use of an integer key: "at least 1", "1 to 10000".
QString ruleOf(QStringView name)
{
    const SettingKey key = SettingsStore::findKey(name).value();
    if (key.maximum == SettingKey::NoMaximum)
        return u"at least "_s + QString::number(key.minimum);
    return QString::number(key.minimum) + u" to "_s + QString::number(key.maximum);
}

QString helpText()
{
    return QStringLiteral(
        "Usage: quillmend-cli [options] FILE...\n"
        "Corrects SubRip (.srt) and WebVTT (.vtt) subtitles: re-breaks long lines, gives\n"
        "short subtitles more time, splits those too long for two lines and corrects\n"
        "overlaps. Each FILE is saved over itself, in its own format; with the backup\n"
        "setting on, the old file is kept as FILE.bak (an existing .bak is kept unless\n"
        "--replace-bak is given).\n"
        "\n"
        "Options:\n"
        "  -o, --output FILE      write the result to FILE instead (one input only;\n"
        "                         the input is not touched and no backup is made)\n"
        "  --dry-run              correct and report, but write nothing\n"
        "  --settings INI         read this settings file instead of the default one\n"
        "  --set KEY=VALUE        override one setting, as the settings file would\n"
        "                         hold it (repeatable), e.g. --set MaxLen=40\n"
        "  --replace-bak          replace an existing .bak file\n"
        "  --report json          one JSON object per file on standard output\n"
        "  --encoding NAME        read and write every SubRip FILE in this encoding\n"
        "                         (any name Qt or iconv knows, e.g. windows-1252), or\n"
        "                         auto to detect it; default: the Encoding setting;\n"
        "                         WebVTT is always UTF-8\n"
        "  --video FILE           find the shot changes and frame rate of the film\n"
        "                         FILE and keep the timing clear of them (one\n"
        "                         subtitle file; turns ShotChanges on for the run)\n"
        "  --list-shot-changes VIDEO\n"
        "                         print the frame rate (# fps R) and the shot changes\n"
        "                         of VIDEO, in seconds, one a line, and exit\n"
        "  --shot-changes LIST    keep timing clear of the film's shot changes (one\n"
        "                         FILE only): LIST holds one time in seconds a line\n"
        "                         (12.480), or is a keyframe list; turns the\n"
        "                         ShotChanges setting on for this run\n"
        "  --frame-rate R         the film's frames a second (25, 23.976, 30000/1001)\n"
        "                         where LIST gives none: gaps count whole frames\n"
        "                         and written times fall on frame starts\n"
        "  -h, --help             show this help\n"
        "  -v, --version          show the version\n"
        "\n"
        "Exit status: 0 when every file was corrected and written, 1 when a file\n"
        "(or the video) could not be read, corrected or written, 2 for bad usage or\n"
        "settings.\n"
        "\n"
        "Settings keys (default in brackets; -1 is on, 0 off):\n")
        + keyLine(u"MaxLen", u"most characters in a line, "_s + ruleOf(u"MaxLen"))
        + keyLine(u"LettersFor1Min", u"characters read in a second, "_s + ruleOf(u"LettersFor1Min"))
        + keyLine(u"JoinSubsAbove2Lines", u"join a subtitle of over 2 lines, then re-break it"_s)
        + keyLine(u"CorrectSubsAbove2Lines", u"correct every subtitle of over 2 lines"_s)
        + keyLine(u"BuyTime", u"lengthen subtitles shown too briefly"_s)
        + keyLine(u"ParseAllTimes", u"check the times of every subtitle"_s)
        + keyLine(u"BrakeTo2", u"split a subtitle over twice MaxLen into two"_s)
        + keyLine(u"CreateBakFile", u"keep FILE.bak when the window saves"_s)
        + keyLine(u"CreateBakFileAuto", u"keep FILE.bak in unattended runs"_s)
        + u"  "_s + keysWithDefaults({u"ShowMessage", u"ShowMessageAuto"})
        + u"  show the summary after a correction\n"_s
        + keyLine(u"Lang", u"language of the program's texts"_s)
        + keyLine(u"GuidelineBreaks", u"break lines as subtitling guidelines advise"_s)
        + keyLine(u"MinGapMs", u"milliseconds kept between subtitles, "_s + ruleOf(u"MinGapMs"))
        + keyLine(u"Encoding", u"encoding of subtitle files, or auto to detect it"_s)
        + keyLine(u"LenientTimes", u"also read common variants of the time format"_s)
        + keyLine(u"ShotChanges", u"keep timing clear of shot changes (with --shot-changes)"_s)
        + keyLine(u"ShotGapFrames", u"frames between an end and a shot change, "_s + ruleOf(u"ShotGapFrames"))
        + keyLine(u"ShotSnapFrames", u"times this near a shot change go to it, 0 never"_s)
        + keyLine(u"MinGapFrames", u"gap between subtitles in frames, 0 MinGapMs"_s)
        + u"  Window geometry in twips (1/1440 inch), written by the window program:\n"
           "  "_s + keysWithDefaults({u"MainX", u"MainY", u"MainWidth", u"MainHeight", u"EditX"}) + u",\n"
           "  "_s + keysWithDefaults({u"EditY", u"EditWidth", u"EditHeight", u"Diax", u"MainMaximized"})
           + u"; column widths\n"
           "  "_s + keysWithDefaults({u"List1Col1", u"List1Col2", u"List1Col3", u"List1Col4"}) + u",\n"
           "  "_s + keysWithDefaults({u"List1Col5", u"List2Col1", u"List2Col2", u"List2Col3"}) + u",\n"
           "  "_s + keysWithDefaults({u"List2Col4", u"List2Col5"}) + u'\n'
        + u"  The film beside the subtitles in the window program:\n"
           "  "_s + keysWithDefaults({u"AutoOpenVideo", u"VideoPane", u"TimelinePane"}) + u",\n"
           "  "_s + keysWithDefaults({u"VideoPaneWidth", u"TimelinePaneHeight", u"TimelineSpanMs"}) + u",\n"
           "  "_s + keysWithDefaults({u"VideoVolume"}) + u'\n';
}

// Parses the arguments; returns an exit code when the run ends here.
// Messages start with the name of the program that printed them: the
// window program's run without a display is this one too.
QString programName(const QStringList &arguments)
{
    const QString calledAs = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).fileName();
    return calledAs.isEmpty() ? QStringLiteral("quillmend-cli") : calledAs;
}

// "25", "23.976" or "30000/1001"; none for anything else, a rate of 0 or one
// above MaxFramesPerSecond.
std::optional<double> parseFrameRate(const QString &text)
{
    const QStringList parts = text.trimmed().split(u'/');
    double rate = 1;
    for (qsizetype i = 0; i < parts.size() && i < 2; ++i) {
        bool ok = false;
        const double value = parts[i].toDouble(&ok);
        if (!ok || !(value > 0) || !std::isfinite(value))
            return std::nullopt;
        rate = i == 0 ? value : rate / value;
    }
    if (parts.size() > 2 || !(rate > 0) || !(rate <= MaxFramesPerSecond))
        return std::nullopt;
    return rate;
}

std::optional<int> parseArguments(const QStringList &arguments, CliOptions &options, QTextStream &out,
                                  QTextStream &err)
{
    const QString name = programName(arguments);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {}, QStringLiteral("FILE"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"));
    const QCommandLineOption settings(QStringLiteral("settings"), {}, QStringLiteral("INI"));
    const QCommandLineOption set(QStringLiteral("set"), {}, QStringLiteral("KEY=VALUE"));
    const QCommandLineOption replaceBak(QStringLiteral("replace-bak"));
    const QCommandLineOption report(QStringLiteral("report"), {}, QStringLiteral("FORMAT"));
    const QCommandLineOption encoding(QStringLiteral("encoding"), {}, QStringLiteral("NAME"));
    const QCommandLineOption video(QStringLiteral("video"), {}, QStringLiteral("FILE"));
    const QCommandLineOption listShotChanges(QStringLiteral("list-shot-changes"), {}, QStringLiteral("VIDEO"));
    const QCommandLineOption shotChanges(QStringLiteral("shot-changes"), {}, QStringLiteral("LIST"));
    const QCommandLineOption frameRate(QStringLiteral("frame-rate"), {}, QStringLiteral("R"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({output, dryRun, settings, set, replaceBak, report, help, version, encoding, video,
                       listShotChanges, shotChanges, frameRate});

    auto usageError = [&](const QString &message) {
        err << name << ": " << message << "\nTry 'quillmend-cli --help'." << Qt::endl;
        return std::optional<int>(ExitUsage);
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        out << helpText();
        return ExitOk;
    }
    if (parser.isSet(version)) {
        out << name << ' ' << QStringLiteral(QUILLMEND_VERSION) << Qt::endl;
        return ExitOk;
    }

    options.files = parser.positionalArguments();
    options.correction.outputPath = parser.value(output);
    options.correction.dryRun = parser.isSet(dryRun);
    options.settingsPath = parser.value(settings);
    options.overrides = parser.values(set);
    options.replaceBackups = parser.isSet(replaceBak);
    if (parser.isSet(report)) {
        const QString format = parser.value(report);
        if (format == u"json")
            options.json = true;
        else if (format != u"text")
            return usageError(QStringLiteral("unknown report format '%1' (use json)").arg(format));
    }
    options.videoPath = parser.value(video);
    options.shotListVideoPath = parser.value(listShotChanges);
    if (parser.isSet(listShotChanges)) {
        if (!options.files.isEmpty() || parser.isSet(video))
            return usageError(QStringLiteral("--list-shot-changes takes no subtitle file and no --video"));
        if (options.shotListVideoPath.isEmpty())
            return usageError(QStringLiteral("--list-shot-changes needs a video"));
    } else if (options.files.isEmpty()) {
        return usageError(QStringLiteral("no subtitle file given"));
    }
    if (parser.isSet(video) && (options.files.size() != 1 || options.videoPath.isEmpty()))
        return usageError(QStringLiteral("--video takes a video and exactly one subtitle file"));
    if (!options.correction.outputPath.isEmpty() && options.files.size() > 1)
        return usageError(QStringLiteral("--output takes exactly one input file"));
    if (parser.isSet(settings) && !QFileInfo(options.settingsPath).isFile())
        return usageError((QFileInfo::exists(options.settingsPath) ? QStringLiteral("settings file '%1' is not a regular file")
                                                                   : QStringLiteral("settings file '%1' not found"))
                              .arg(options.settingsPath));
    for (const QString &override : options.overrides) {
        if (!override.contains(QLatin1Char('=')))
            return usageError(QStringLiteral("--set needs KEY=VALUE, not '%1'").arg(override));
    }
    options.shotChangesPath = parser.value(shotChanges);
    if (parser.isSet(shotChanges) && options.shotChangesPath.isEmpty())
        return usageError(QStringLiteral("--shot-changes needs a file"));
    if (parser.isSet(shotChanges) && options.files.size() > 1)
        return usageError(QStringLiteral("--shot-changes takes exactly one subtitle file"));
    if (parser.isSet(shotChanges) && (parser.isSet(video) || parser.isSet(listShotChanges)))
        return usageError(QStringLiteral("--shot-changes and --video each give the shot changes; give one"));
    if (parser.isSet(frameRate)) {
        if (!parser.isSet(shotChanges))
            return usageError(QStringLiteral("--frame-rate needs --shot-changes"));
        const std::optional<double> rate = parseFrameRate(parser.value(frameRate));
        if (!rate)
            return usageError(QStringLiteral("invalid frame rate '%1'").arg(parser.value(frameRate)));
        options.frameRate = *rate;
    }
    if (parser.isSet(encoding)) {
        options.correction.encoding = parser.value(encoding).trimmed();
        if (options.correction.encoding.isEmpty() || !isKnownEncoding(options.correction.encoding))
            return usageError(QStringLiteral("unknown encoding '%1'").arg(parser.value(encoding)));
    }
    return std::nullopt;
}

// What makes the settings unusable, with the settings file it came from;
// no origin for a --set, which the user has just typed.
struct SettingsTrouble
{
    QString origin;
    std::optional<IniFile::FileProblem> fileProblem;
    SettingProblem problem{};
};

// The settings file, then the overrides, and whatever makes them unusable.
QList<SettingsTrouble> loadSettings(const CliOptions &options, const CliEnvironment &environment, Settings &settings)
{
    const QString path = options.settingsPath.isEmpty() ? environment.defaultSettingsPath : options.settingsPath;
    const SettingsFile::Loaded loaded = SettingsFile(path).load();
    // A file that cannot be read as settings is not silently the defaults.
    if (loaded.fileProblem)
        return {SettingsTrouble{path, loaded.fileProblem}};
    QList<SettingsTrouble> troubles;
    for (const SettingProblem &problem : loaded.problems)
        troubles << SettingsTrouble{path, std::nullopt, problem};
    settings = loaded.settings;
    QSet<QString> overridden; // canonical keys given by --set
    for (const QString &override : options.overrides) {
        const QString key = override.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = override.section(QLatin1Char('='), 1);
        if (const auto problem = SettingsStore::applyValue(settings, key, value))
            troubles << SettingsTrouble{{}, std::nullopt, *problem};
        else
            overridden.insert(SettingsStore::canonicalKeyName(key));
    }
    // Checked once for the whole run, so that no file is touched.
    for (const SettingProblem &problem : settings.problems())
        troubles << SettingsTrouble{overridden.contains(problem.key) ? QString() : path, std::nullopt, problem};
    return troubles;
}

QString troubleText(const SettingsTrouble &trouble, const LangDoc &lang)
{
    if (trouble.fileProblem)
        return GetLangText(lang, Form1Msg::InvalidSettingsFile)
            .arg(trouble.origin, settingsFileProblemText(*trouble.fileProblem, lang));
    const QString text = settingProblemText(trouble.problem, lang);
    return trouble.origin.isEmpty() ? text : trouble.origin + QStringLiteral(": ") + text;
}

// Reads the list of shot changes into options; an exit code when it cannot
// be used, after saying why. An empty list is used, with a warning.
std::optional<int> loadShotChanges(CliOptions &options, const QString &name, const LangDoc &lang, QTextStream &err)
{
    const QString &path = options.shotChangesPath;
    const auto refuse = [&](const QString &problem, int exitCode = ExitFileFailed) {
        err << name << ": " << path << ": " << problem << Qt::endl;
        return std::optional<int>(exitCode);
    };
    const QFileInfo info(path);
    if (!info.exists())
        return refuse(GetLangText(lang, Form1Msg::NoSuchFile));
    if (!info.isFile())
        return refuse(GetLangText(lang, Form1Msg::NotRegularFile));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(GetLangText(lang, Form1Msg::CannotRead).arg(file.errorString()));
    CutListError error;
    std::optional<ShotChanges> shots = readCutList(file, error, options.frameRate);
    if (!shots) {
        QString problem = error.describe(lang);
        if (error.kind == CutListError::Kind::NoFrameRate)
            problem += QStringLiteral(" (give it with --frame-rate)");
        return refuse(problem);
    }
    // The list's frame numbers or comment hold its rate; another one given is a mistake.
    if (options.frameRate > 0 && normalFrameRate(shots->frameRate) != normalFrameRate(options.frameRate))
        return refuse(QStringLiteral("the list gives %1 frames a second, not the %2 of --frame-rate")
                          .arg(shots->frameRate)
                          .arg(options.frameRate),
                      ExitUsage);
    if (shots->cutSeconds.empty())
        err << name << ": " << path << ": no shot changes in the list; timing is corrected without them" << Qt::endl;
    options.correction.shotChanges = std::move(shots);
    return std::nullopt;
}

// The language of the Lang setting, else English as it was loaded first.
void loadLanguage(const Settings &settings, const CliEnvironment &environment, LangDoc &lang)
{
    const LanguageLocator locator(environment.languageFolders);
    if (const auto english = locator.fileFor(LanguageLocator::defaultLangFileBase()))
        lang.load(*english);
    if (const auto chosen = locator.fileFor(settings.LangFileBase))
        lang.load(*chosen);
}

// The shot changes of path, through the window's cache; nothing, with the
// reason on err, when the film cannot be read. A sound file has none.
std::optional<ShotChanges> shotChangesOf(const QString &path, const QString &name, const LangDoc &lang,
                                         QTextStream &err)
{
    MediaError error;
    const std::optional<DetectedShots> shots = ShotChangeFinder().findCached(path, PeakCache::defaultFolder(), error);
    if (!shots) {
        err << name << ": " << error.describe(lang) << Qt::endl;
        return std::nullopt;
    }
    if (!shots->hasPicture)
        err << name << ": " << path << ": " << GetLangText(lang, Form1Msg::VideoNoPicture) << Qt::endl;
    return shots->shotChanges;
}

// "# fps 23.976", then one cut a line in seconds: "12.480".
void listShotChanges(const ShotChanges &changes, QTextStream &out)
{
    QString rate = QString::number(changes.frameRate, 'f', 3);
    while (rate.contains(u'.') && (rate.endsWith(u'0') || rate.endsWith(u'.')))
        rate.chop(1);
    out << "# fps " << rate << '\n';
    for (const double seconds : changes.cutSeconds)
        out << QString::number(seconds, 'f', 3) << '\n';
}

} // namespace

int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err, const CliEnvironment &environment)
{
    const QString name = programName(arguments);
    CliOptions options;
    if (const auto exitCode = parseArguments(arguments, options, out, err))
        return *exitCode;

    ConsolePrompter prompter(err, options.replaceBackups);
    Settings settings;
    const QList<SettingsTrouble> troubles = loadSettings(options, environment, settings);
    LangDoc lang;
    loadLanguage(settings, environment, lang);
    if (!troubles.isEmpty()) {
        for (const SettingsTrouble &trouble : troubles)
            err << name << ": " << troubleText(trouble, lang) << Qt::endl;
        return ExitUsage;
    }
    if (!options.shotChangesPath.isEmpty()) {
        if (const auto exitCode = loadShotChanges(options, name, lang, err))
            return *exitCode;
        settings.ShotChanges = true;
    }

    // The film is read before any subtitle file is touched.
    if (!options.shotListVideoPath.isEmpty() || !options.videoPath.isEmpty()) {
        const QString film = options.videoPath.isEmpty() ? options.shotListVideoPath : options.videoPath;
        const std::optional<ShotChanges> changes = shotChangesOf(film, name, lang, err);
        if (!changes)
            return ExitFileFailed;
        if (options.videoPath.isEmpty()) {
            listShotChanges(*changes, out);
            return ExitOk;
        }
        options.correction.shotChanges = *changes;
        // The film's cuts are what the setting is for: --video turns it on.
        settings.ShotChanges = true;
    }

    WeakWordLists weakWords;
    if (settings.GuidelineBreaks) {
        QStringList unusable;
        weakWords = loadWeakWordLists(environment.languageFolders, lang, unusable);
        for (const QString &problem : std::as_const(unusable))
            err << name << ": " << problem << Qt::endl;
    }

    int exitCode = ExitOk;
    for (const QString &file : std::as_const(options.files)) {
        const FileCorrectionReport report =
            correctFile(file, options.correction, settings, lang, prompter, weakWords);
        if (!report.ok)
            exitCode = ExitFileFailed;
        if (options.json) {
            out << jsonReportLine(report, lang) << '\n';
        } else if (report.ok) {
            out << file << ": " << report.summary << '\n';
        } else {
            err << name << ": " << file << ": " << report.error;
            if (report.lenientTimesWouldRead)
                err << " (to read such time lines: --set LenientTimes=-1)";
            err << '\n';
        }
        out.flush();
        err.flush();
    }
    return exitCode;
}
