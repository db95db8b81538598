// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-uibench: times what a user of the main window waits for with a
// large file open: opening it, correcting it, the "only corrected" filter,
// stepping through the edits and inserting and deleting a row near the top.
// Each step runs as one queued event, as a menu command would, and counts
// until the event loop is idle again and the windows are repainted.

#include "bencharguments.h"
#include "qtbenchsupport.h"
#include "srtgenerator.h"

#include "document/prompter.h"
#include "lang/langdoc.h"
#include "lang/languagelocator.h"
#include "shell/shellverb.h"
#include "editor/editrecordmodel.h"
#include "ui/filechooser.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/edits/editswindow.h"
#include "editor/subtitlelist.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *usage =
    "usage: quillmend-uibench [--count N] [--runs R] [--steps S] [--file FILE] [--keep]\n"
    "  --count N    subtitles in the generated file (default 100000)\n"
    "  --runs R     timed runs, each with a fresh window (default 5)\n"
    "  --steps S    next-edit steps per run (default 300)\n"
    "  --file FILE  measure on a copy of FILE instead of a generated file\n"
    "  --keep       keep the work folder (the file and the settings)\n"
    "The window runs on the offscreen platform unless QT_QPA_PLATFORM is set.\n"
    "The work folder is made under $TMPDIR when set, else under the build folder.\n";

constexpr int windowWidth = 1200;
constexpr int windowHeight = 800;
constexpr int splitterLeft = 600;
constexpr int selectedRowNearTop = 10;
constexpr double targetSeconds = 1.0;
constexpr double blinkSeconds = 0.15;
// A tool that holds a file in under three times its size can open anything
// the machine can.
constexpr double memoryTargetMultiple = 3.0;
// Below this the window's own fixed memory decides the multiple.
constexpr double memoryJudgedFromBytes = 50e6;

// Times every event delivered from the event loop itself; events sent from
// inside one belong to it, so the longest is the longest the window froze.
class TimingApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (m_depth > 0)
            return QApplication::notify(receiver, event);
        ++m_depth;
        ++m_delivered;
        const auto start = Clock::now();
        const bool result = QApplication::notify(receiver, event);
        m_longest = std::max(m_longest, secondsSince(start));
        --m_depth;
        return result;
    }

    // Work the program does in one event, but a harness does from outside.
    template <typename Work>
    void asOneEvent(Work &&work)
    {
        ++m_delivered;
        const auto start = Clock::now();
        ++m_depth;
        work();
        --m_depth;
        m_longest = std::max(m_longest, secondsSince(start));
    }

    std::uint64_t delivered() const { return m_delivered; }
    double takeLongest() { return std::exchange(m_longest, 0.0); }

private:
    int m_depth = 0;
    std::uint64_t m_delivered = 0;
    double m_longest = 0;
};

class NoFileChooser : public FileChooser
{
public:
    QString chooseFileToOpen(QWidget *, const QString &, const QString &) override { return {}; }
    QString chooseVideoToOpen(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFileToSave(QWidget *, const QString &, const QString &) override { return {}; }
    QString chooseListToOpen(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseListToSave(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
};

// The benchmark never opens the Options dialog; the verb is never there.
class AbsentShellVerb : public ShellVerb
{
public:
    bool IsShellVerbRegistered() override { return false; }
    bool SetShellVerb(bool add, QString *) override { return !add; }
};

struct Options
{
    std::uint64_t count = 100'000;
    std::uint64_t runs = 5;
    std::uint64_t steps = 300;
    std::string file;
    bool keep = false;
};

struct Step
{
    double seconds = 0;
    double longestEvent = 0;
    std::uint64_t peakKilobytes = 0; // VmHWM over the step alone
};

// Delivers pending events until a pass delivers none; a cursor's blink timer
// can keep it from ever being quiet, hence the cap.
void processUntilIdle(TimingApplication &application)
{
    for (int pass = 0; pass < 100; ++pass) {
        const std::uint64_t before = application.delivered();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (application.delivered() == before)
            return;
    }
}

void settle(TimingApplication &application)
{
    processUntilIdle(application);
    // One paint of every window, as a single update request would do it.
    application.asOneEvent([] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            if (window->isVisible())
                window->repaint();
        }
    });
    processUntilIdle(application);
}

// Runs action as one queued event, the way a menu command or key arrives,
// and times it up to the repainted, idle window.
Step perform(TimingApplication &application, const std::function<void()> &action)
{
    settle(application);
    application.takeLongest();
    resetPeakResidentSize();
    const auto start = Clock::now();
    QMetaObject::invokeMethod(&application, action, Qt::QueuedConnection);
    settle(application);
    Step step;
    step.seconds = secondsSince(start);
    step.longestEvent = application.takeLongest();
    step.peakKilobytes = statusKilobytes("VmHWM");
    return step;
}

double megabytes(std::uint64_t kilobytes)
{
    return double(kilobytes) * 1024 / 1e6;
}

// ShowMessage off, so the run informs nobody, and a desktop-sized window
// split in the middle, in the twips the settings file keeps.
bool writeSettings(const QString &path, const Twips &twips)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const auto number = [&](int pixels) { return QByteArray::number(double(twips.fromPixels(pixels))); };
    const QByteArray text = "[General]\r\nShowMessage=0\r\nMainX=" + number(40) + "\r\nMainY=" + number(40)
                            + "\r\nMainWidth=" + number(windowWidth) + "\r\nMainHeight=" + number(windowHeight)
                            + "\r\nDiax=" + number(splitterLeft) + "\r\n";
    return file.write(text) == text.size() && file.flush();
}

int fail(const QString &error)
{
    std::fprintf(stderr, "quillmend-uibench: %s\n", qPrintable(error));
    return 1;
}

struct Phase
{
    const char *name;
    std::vector<double> seconds; // one a run
    double longestEvent = 0;     // over all runs
    std::uint64_t peakKilobytes = 0; // over all runs
};

void addStep(Phase &phase, const Step &step)
{
    phase.seconds.push_back(step.seconds);
    phase.longestEvent = std::max(phase.longestEvent, step.longestEvent);
    phase.peakKilobytes = std::max(phase.peakKilobytes, step.peakKilobytes);
}

// The first run gets its own column: only it pays for growing the heap and
// first use of fonts, as a program just started does.
void printPhase(const Phase &phase, double scale, const char *unit)
{
    const auto [best, worst] = std::minmax_element(phase.seconds.begin(), phase.seconds.end());
    std::printf("%-22s%9.3f %-2s %9.3f %-2s %9.3f %-2s %9.3f %-2s %9.3f %-2s\n", phase.name,
                median(phase.seconds) * scale, unit, *best * scale, unit, *worst * scale, unit,
                phase.seconds.front() * scale, unit, phase.longestEvent * scale, unit);
}

QtMessageHandler previousMessageHandler = nullptr;

// The offscreen platform says so on every window shown; that is expected.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(u"This plugin does not support"_s))
        return;
    if (previousMessageHandler)
        previousMessageHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    // Before QApplication: the platform is chosen when it starts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    previousMessageHandler = qInstallMessageHandler(quietOffscreenNotes);
    TimingApplication application(argc, argv);
    QCoreApplication::setApplicationName(u"Quillmend"_s);
    QCoreApplication::setOrganizationName(u"the Quillmend developers"_s);

    Options options;
    bool wantsHelp = false;
    bool hasCount = false;
    BenchArguments arguments(argc, argv);
    while (arguments.hasMore() && !arguments.hasError()) {
        if (arguments.takeFlag("--help", wantsHelp) || arguments.takeFlag("-h", wantsHelp)
            || arguments.takeNumber("--runs", options.runs) || arguments.takeNumber("--steps", options.steps)
            || arguments.takeFlag("--keep", options.keep) || arguments.takeText("--file", options.file))
            continue;
        if (arguments.takeNumber("--count", options.count)) {
            hasCount = true;
            continue;
        }
        std::string unexpected;
        arguments.takePositional(unexpected);
        if (!arguments.hasError()) {
            std::fprintf(stderr, "quillmend-uibench: unexpected argument %s\n%s", unexpected.c_str(), usage);
            return 2;
        }
    }
    const std::string usageError =
        commonOptionsError(arguments.error(), options.runs, hasCount, options.file, options.count, 10'000'000);
    if (!usageError.empty()) {
        std::fprintf(stderr, "quillmend-uibench: %s\n%s", usageError.c_str(), usage);
        return 2;
    }
    if (wantsHelp) {
        std::fputs(usage, stdout);
        return 0;
    }

    const auto work = makeWorkFolder(u"quillmend-uibench"_s, options.keep);
    if (!work)
        return fail(u"cannot create a work folder"_s);
    std::printf("work folder: %s\n", qPrintable(work->path()));

    // A copy even of a given file: nothing here saves, but FILE stays safe if
    // a later version of the window does.
    const QString subtitles = work->filePath(u"subtitles.srt"_s);
    if (options.file.empty()) {
        const auto start = Clock::now();
        SrtGenerator generator(1);
        std::string error;
        if (!generator.write(subtitles.toStdString(), options.count, false, error))
            return fail(QString::fromStdString(error));
        std::printf("generated %s subtitles in %.2f s\n", withThousands(options.count).c_str(), secondsSince(start));
    } else if (!QFile::copy(QString::fromLocal8Bit(options.file.c_str()), subtitles)) {
        return fail(u"cannot copy "_s + QString::fromLocal8Bit(options.file.c_str()) + u" to the work folder"_s);
    }
    const double fileMegabytes = double(QFileInfo(subtitles).size()) / 1e6;

    const LanguageLocator languages(LanguageLocator::defaultFolders(QCoreApplication::applicationDirPath()));
    LangDoc lang;
    if (const auto file = languages.fileFor(u"English.Quillmend.exe"_s))
        lang.load(*file);
    SilentPrompter prompter;
    NoFileChooser files;
    AbsentShellVerb shellVerb;
    const QString settingsPath = work->filePath(u"Quillmend.ini"_s);

    Phase open{"open", {}, 0};
    Phase correct{"correct", {}, 0};
    Phase filterOn{"filter on", {}, 0};
    Phase filterOff{"filter off", {}, 0};
    Phase nextEdit{"next edit, per step", {}, 0};
    Phase insertRow{"insert row near top", {}, 0};
    Phase deleteRow{"delete row near top", {}, 0};
    Phase undoDelete{"undo the delete", {}, 0};
    Phase redoDelete{"redo the delete", {}, 0};
    Phase restoreSplit{"restore split near top", {}, 0};
    double worstNextEdit = 0;
    int originalRows = 0;
    int correctedRows = 0;
    int records = 0;
    int filteredRows = 0;
    std::uint64_t baselineKilobytes = 0;

    for (std::uint64_t run = 1; run <= options.runs; ++run) {
        // A fresh window each run, so every open starts from an empty one.
        auto window = std::make_unique<MainWindow>(lang, languages, settingsPath, prompter, files, shellVerb, work->path());
        if (!writeSettings(settingsPath, Twips::forWidget(window.get())))
            return fail(u"cannot write "_s + settingsPath);
        window->Form_Load();
        window->show();
        settle(application);
        if (run == 1)
            baselineKilobytes = statusKilobytes("VmRSS");
        auto *list2 = window->findChild<QTableView *>(u"ListView2"_s);
        if (!list2)
            return fail(u"the window has no corrected list"_s);

        bool opened = false;
        addStep(open, perform(application, [&] { opened = window->LoadFileToList(subtitles); }));
        if (!opened)
            return fail(u"the file did not open: "_s + prompter.takeNotices().join(u'\n'));
        originalRows = window->originalList().rowCount();

        addStep(correct, perform(application, [&] { window->EditSubs(); }));
        if (const QStringList notices = prompter.takeNotices(); !notices.isEmpty())
            return fail(u"the correction did not run: "_s + notices.join(u'\n'));
        correctedRows = window->correctedList().rowCount();
        records = window->editsWindow().records().rowCount();
        if (records < 1)
            return fail(u"the correction changed nothing, so there is nothing to filter or step through"_s);

        addStep(filterOn, perform(application, [&] { window->ShowEditOnly(true); }));
        filteredRows = list2->model()->rowCount();
        addStep(filterOff, perform(application, [&] { window->ShowEditOnly(false); }));
        if (list2->model()->rowCount() != correctedRows)
            return fail(u"the corrected list did not come back whole after the filter"_s);

        // From the first edit, as after a double-click in the edits window.
        window->editsWindow().activateViewRow(0);
        settle(application);
        std::vector<double> stepSeconds;
        double longestStepEvent = 0;
        std::uint64_t peakStepKilobytes = 0;
        for (std::uint64_t i = 0; i < options.steps; ++i) {
            bool moved = false;
            const Step step = perform(application, [&] { moved = window->LocateNextSubEdit(false); });
            if (!moved)
                break; // the last edit
            stepSeconds.push_back(step.seconds);
            longestStepEvent = std::max(longestStepEvent, step.longestEvent);
            peakStepKilobytes = std::max(peakStepKilobytes, step.peakKilobytes);
            worstNextEdit = std::max(worstNextEdit, step.seconds);
        }
        if (stepSeconds.empty())
            return fail(u"next edit did not move"_s);
        nextEdit.seconds.push_back(median(stepSeconds));
        nextEdit.longestEvent = std::max(nextEdit.longestEvent, longestStepEvent);
        nextEdit.peakKilobytes = std::max(nextEdit.peakKilobytes, peakStepKilobytes);

        // A click on a row near the top, then Ins and Del: both renumber
        // every row below.
        list2->selectionModel()->setCurrentIndex(list2->model()->index(selectedRowNearTop, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        settle(application);
        addStep(insertRow, perform(application, [&] { window->mnuInsSub_Click(); }));
        if (window->correctedList().rowCount() != correctedRows + 1)
            return fail(u"insert did not add a row"_s);
        addStep(deleteRow, perform(application, [&] { window->mnuDelSub_Click(); }));
        if (window->correctedList().rowCount() != correctedRows)
            return fail(u"delete did not remove the inserted row"_s);
        // Through the window's own actions, as Ctrl-Z and Ctrl-Y reach them.
        auto *undo = window->findChild<QAction *>(u"mnuUndo"_s);
        auto *redo = window->findChild<QAction *>(u"mnuRedo"_s);
        auto *restore = window->findChild<QAction *>(u"mnuRestoreOriginal"_s);
        if (!undo || !redo || !restore)
            return fail(u"the window has no Undo, Redo or Restore original"_s);
        addStep(undoDelete, perform(application, [&] { undo->trigger(); }));
        addStep(redoDelete, perform(application, [&] { redo->trigger(); }));
        if (window->correctedList().rowCount() != correctedRows)
            return fail(u"undo and redo did not give the list back"_s);

        // The first split: two rows with one tag.
        const SubtitleList &rows = window->correctedList();
        int splitRow = -1;
        for (int i = 1; i < rows.rowCount() && splitRow < 0; ++i) {
            if (rows.tag(i) != 0 && rows.tag(i) == rows.tag(i - 1))
                splitRow = i - 1;
        }
        if (splitRow < 0)
            return fail(u"the correction split nothing, so there is no split to restore"_s);
        list2->selectionModel()->setCurrentIndex(list2->model()->index(splitRow, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        settle(application);
        addStep(restoreSplit, perform(application, [&] { restore->trigger(); }));
        if (window->correctedList().rowCount() != correctedRows - 1)
            return fail(u"restoring the split did not make it one row"_s);

        std::printf("run %llu/%llu: open %.3f s, correct %.3f s, filter on %.3f s, off %.3f s, "
                    "next edit %.2f ms (%zu steps), insert %.3f s, delete %.3f s, undo %.3f s, redo %.3f s, "
                    "restore split %.3f s\n",
                    static_cast<unsigned long long>(run), static_cast<unsigned long long>(options.runs),
                    open.seconds.back(), correct.seconds.back(), filterOn.seconds.back(), filterOff.seconds.back(),
                    nextEdit.seconds.back() * 1e3, stepSeconds.size(), insertRow.seconds.back(),
                    deleteRow.seconds.back(), undoDelete.seconds.back(), redoDelete.seconds.back(),
                    restoreSplit.seconds.back());
        window.reset();
        settle(application);
    }

    std::printf("\n");
    std::printf("%-22s%.1f MB, %s subtitles%s\n", "file", fileMegabytes,
                withThousands(std::uint64_t(originalRows)).c_str(), options.file.empty() ? " (generated)" : "");
    std::printf("%-22s%s corrected rows, %s edits, %s shown with the filter\n", "after correcting",
                withThousands(std::uint64_t(correctedRows)).c_str(), withThousands(std::uint64_t(records)).c_str(),
                withThousands(std::uint64_t(filteredRows)).c_str());
    std::printf("%-22s%d x %d, platform %s\n", "window", windowWidth, windowHeight,
                qPrintable(QGuiApplication::platformName()));
    std::printf("%-22s%llu, a fresh window each\n", "runs", static_cast<unsigned long long>(options.runs));
    std::printf("%-22s%12s %12s %12s %12s %14s\n", "", "median", "best", "worst", "first run", "longest event");
    for (const Phase *phase : {&open, &correct, &filterOn, &filterOff})
        printPhase(*phase, 1, "s");
    printPhase(nextEdit, 1e3, "ms");
    for (const Phase *phase : {&insertRow, &deleteRow, &undoDelete, &redoDelete, &restoreSplit})
        printPhase(*phase, 1, "s");
    std::printf("%-22s%.2f ms (one step, any run); the row above is of each run's median step\n",
                "slowest next edit", worstNextEdit * 1e3);
    std::uint64_t peakKilobytes = 0;
    for (const Phase *phase : {&open, &correct, &filterOn, &filterOff, &nextEdit, &insertRow, &deleteRow, &undoDelete,
                               &redoDelete, &restoreSplit})
        peakKilobytes = std::max(peakKilobytes, phase->peakKilobytes);
    std::printf("%-22s%.1f MB (VmHWM over each step, highest); %.1f MB with the empty window\n", "peak RSS",
                megabytes(peakKilobytes), megabytes(baselineKilobytes));
    std::printf("\n");
    // Each step's time, and the peak of the whole program during the step
    // above the empty window, as a multiple of the file's size.
    const double fileBytes = fileMegabytes * 1e6;
    std::printf("%-24s%-13s%-20s%s\n", "", "target", "median time",
                "peak memory above the empty window, any run (judged from 50 MB files)");
    const auto verdict = [&](const Phase &phase, double target) {
        const double seconds = median(phase.seconds);
        const double aboveBytes =
            double(phase.peakKilobytes > baselineKilobytes ? phase.peakKilobytes - baselineKilobytes : 0) * 1024;
        const double multiple = aboveBytes / fileBytes;
        char time[32];
        char targetText[16];
        if (target < 0.1) {
            std::snprintf(time, sizeof time, "(%.1f ms)", seconds * 1e3);
            std::snprintf(targetText, sizeof targetText, "%.0f ms", target * 1e3);
        } else {
            std::snprintf(time, sizeof time, "(%.3f s)", seconds);
            std::snprintf(targetText, sizeof targetText, "%g s", target);
        }
        // The window's fixed costs (the edits window's own pixels, fonts)
        // outweigh a small file's.
        const char *memoryVerdict = fileBytes < memoryJudgedFromBytes ? "n/a "
            : multiple < memoryTargetMultiple                         ? "PASS"
                                                                      : "FAIL";
        std::printf("%-24sunder %-7s%s  %-12s  under %.0fx  %s  (%.2fx, %.1f MB)\n", phase.name, targetText,
                    seconds < target ? "PASS" : "FAIL", time, memoryTargetMultiple, memoryVerdict, multiple,
                    aboveBytes / 1e6);
    };
    // A file of 100,000 subtitles opens and corrects in a blink.
    const double openTarget = originalRows <= 100'000 ? blinkSeconds : targetSeconds;
    verdict(open, openTarget);
    verdict(correct, openTarget);
    for (const Phase *phase : {&filterOn, &filterOff})
        verdict(*phase, targetSeconds);
    // The review's own targets: each step near the top within 50 ms.
    for (const Phase *phase : {&nextEdit, &insertRow, &deleteRow, &undoDelete, &redoDelete, &restoreSplit})
        verdict(*phase, 0.05);
    if (options.keep)
        std::printf("\nwork folder kept: %s\n", qPrintable(work->path()));
    return 0;
}
