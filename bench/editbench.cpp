// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later

// quillmend-editbench: times the review steps a user waits for on a large
// corrected file, through the document the window edits: deleting a row
// near the top, undoing and redoing that, and restoring a split subtitle
// near the top (and undoing and re-applying it). Both lists are on show in
// table views, as in the window, so the views' work on every change counts.

#include "bencharguments.h"
#include "qtbenchsupport.h"
#include "srtgenerator.h"

#include "document/prompter.h"
#include "editor/editrecordmodel.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "lang/langdoc.h"
#include "settings/settings.h"
#include "ui/subtitles/correctedfiltermodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *usage = "usage: quillmend-editbench [--count N] [--runs R] [--file FILE]\n"
                              "  --count N    subtitles in the generated file (default 100000)\n"
                              "  --runs R     timed runs, each on a freshly corrected document (default 5)\n"
                              "  --file FILE  measure on FILE instead of a generated file (it is only read)\n";

constexpr int rowNearTop = 10;
constexpr double targetSeconds = 0.050;

QTableView *showList(QAbstractItemModel *model)
{
    auto *view = new QTableView;
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->resize(600, 700);
    view->show();
    return view;
}

// The step, the events it queued and a repaint of every list.
double timed(const std::function<void()> &step, const std::vector<QTableView *> &views)
{
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    step();
    QCoreApplication::processEvents();
    for (QTableView *view : views)
        view->viewport()->repaint();
    return secondsSince(start);
}

struct Phase
{
    const char *name;
    std::vector<double> seconds;
};

int fail(const char *error)
{
    std::fprintf(stderr, "quillmend-editbench: %s\n", error);
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);

    std::uint64_t count = 100'000;
    std::uint64_t runs = 5;
    std::string file;
    bool hasCount = false;
    bool wantsHelp = false;
    BenchArguments arguments(argc, argv);
    while (arguments.hasMore() && !arguments.hasError()) {
        if (arguments.takeFlag("--help", wantsHelp) || arguments.takeNumber("--runs", runs)
            || arguments.takeText("--file", file))
            continue;
        if (arguments.takeNumber("--count", count)) {
            hasCount = true;
            continue;
        }
        std::string unexpected;
        arguments.takePositional(unexpected);
        if (!arguments.hasError()) {
            std::fprintf(stderr, "quillmend-editbench: unexpected argument %s\n%s", unexpected.c_str(), usage);
            return 2;
        }
    }
    const std::string usageError =
        commonOptionsError(arguments.error(), runs, hasCount, file, count, SrtGenerator::maximumCount);
    if (!usageError.empty() || wantsHelp) {
        std::fprintf(wantsHelp ? stdout : stderr, "%s%s", usageError.empty() ? "" : (usageError + "\n").c_str(),
                     usage);
        return wantsHelp ? 0 : 2;
    }

    QTemporaryDir work;
    QString path = QString::fromLocal8Bit(file.c_str());
    if (file.empty()) {
        path = work.filePath(u"subtitles.srt"_s);
        std::string error;
        if (!SrtGenerator(1).write(path.toStdString(), count, false, error))
            return fail(error.c_str());
    }

    LangDoc lang;
    SilentPrompter prompter;
    Phase phases[] = {{"delete row near top", {}}, {"undo the delete", {}}, {"redo the delete", {}},
                      {"restore a split", {}},     {"undo the restore", {}}, {"re-apply the split", {}}};
    int rows = 0;
    int splitRow = -1;
    for (std::uint64_t run = 1; run <= runs; ++run) {
        SubtitleDocument document(lang);
        QString error;
        if (!document.load(path, error) || !document.correct(Settings()).ok)
            return fail("the file could not be read and corrected");
        rows = document.correctedList().rowCount();
        // The first split after the top rows: two rows that share an ordinal.
        const SubtitleList &corrected = document.correctedList();
        splitRow = -1;
        for (int i = rowNearTop; i + 1 < corrected.rowCount() && splitRow < 0; ++i) {
            if (corrected.tag(i) == corrected.tag(i + 1) && corrected.tag(i) > 0)
                splitRow = i;
        }
        if (splitRow < 0)
            return fail("the corrected file has no split subtitle");
        const int splitOrdinal = corrected.tag(splitRow);

        CorrectedFilterModel shown;
        shown.setSourceModel(&document.correctedModel());
        const std::unique_ptr<QTableView> original(showList(&document.originalModel()));
        const std::unique_ptr<QTableView> correctedView(showList(&shown));
        const std::unique_ptr<QTableView> records(showList(&document.records()));
        const std::vector<QTableView *> views{original.get(), correctedView.get(), records.get()};
        correctedView->selectRow(rowNearTop);
        timed([] {}, views);

        QUndoStack &history = document.undoStack();
        phases[0].seconds.push_back(timed([&] { document.deleteSubtitle(rowNearTop); }, views));
        phases[1].seconds.push_back(timed([&] { history.undo(); }, views));
        phases[2].seconds.push_back(timed([&] { history.redo(); }, views));
        phases[3].seconds.push_back(timed([&] { document.restoreOrReapply({splitOrdinal}); }, views));
        phases[4].seconds.push_back(timed([&] { history.undo(); }, views));
        history.redo();
        phases[5].seconds.push_back(timed([&] { document.restoreOrReapply({splitOrdinal}); }, views));
        if (document.correctedList().rowCount() != rows - 1)
            return fail("the steps did not end where they should");
    }

    std::printf("%s corrected rows, split at row %d; %llu runs on the %s platform\n",
                withThousands(std::uint64_t(rows)).c_str(), splitRow + 1, static_cast<unsigned long long>(runs),
                qPrintable(QGuiApplication::platformName()));
    std::printf("%-22s%10s %10s %10s\n", "", "median", "best", "worst");
    for (const Phase &phase : phases) {
        const auto [best, worst] = std::minmax_element(phase.seconds.begin(), phase.seconds.end());
        const double value = median(phase.seconds);
        std::printf("%-22s%7.2f ms %7.2f ms %7.2f ms   under %.0f ms: %s\n", phase.name, value * 1e3, *best * 1e3,
                    *worst * 1e3, targetSeconds * 1e3, value < targetSeconds ? "PASS" : "FAIL");
    }
    return 0;
}
