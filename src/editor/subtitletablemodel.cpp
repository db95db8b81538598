// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/subtitletablemodel.h"

#include "document/timecode.h"
#include "document/unicodetext.h"
#include "engine/editrecord.h"
#include "engine/readingspeed.h"
#include "lang/form1messages.h"

#include <QColor>
#include <QFont>

#include <algorithm>
#include <cmath>

namespace {

// A subtitle's lines shown on one table line.
QString oneLine(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" | "));
    return shown;
}

// Tints laid over the row's own background, so they read in light and dark
// palettes alike; the hues are told apart with the common colour
// blindnesses, and every mark also has a shape or a bold face.
QColor tint(int red, int green, int blue)
{
    return QColor(red, green, blue, 90);
}
const QColor ReBrokenTint = tint(86, 180, 233);
const QColor SplitTint = tint(204, 121, 167);
const QColor TimeEditTint = tint(0, 158, 115);
const QColor RestoredTint = tint(128, 128, 128);
const QColor MovedTint = tint(240, 228, 66);
const QColor WarningTint = tint(230, 159, 0);
const QColor ErrorTint = tint(213, 94, 0);

// The shapes the number cell shows after the number.
constexpr char16_t ReBrokenShape = u'\u21B5'; // a line break
constexpr char16_t SplitShape = u'\u00F7';    // a division
constexpr char16_t TimeEditShape = u'\u25D4'; // a clock face
constexpr char16_t RestoredShape = u'\u21BA'; // turning back
constexpr char16_t MovedShape = u'\u21E5';    // an arrow to a bar

QFont boldFont()
{
    QFont font;
    font.setBold(true);
    return font;
}

bool hidesBeforeShown(const SubtitleRow &subtitle)
{
    const std::optional<double> start = TimeTextToSeconds(subtitle.startText);
    const std::optional<double> end = TimeTextToSeconds(subtitle.endText);
    return start && end && *end < *start;
}

} // namespace

SubtitleTableModel::SubtitleTableModel(QObject *parent)
    : LabelledTableModel({QStringLiteral("A/A"), QStringLiteral("Show"), QStringLiteral("Hide"), QStringLiteral("Text"),
                          QStringLiteral("CPS")},
                         parent)
{
}

int SubtitleTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SubtitleTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SubtitleTableModel::word(const Message &message) const
{
    return m_lang ? GetLangText(*m_lang, message) : message.englishText().toString();
}

QVariant SubtitleTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const SubtitleRow &subtitle = m_rows[std::size_t(index.row())];
    if (role == TagRole)
        return subtitle.tag;
    if (role == TooFastRole)
        return isTooFast(index.row());
    switch (index.column()) {
    case NumberColumn:
        return numberData(subtitle, role);
    case StartColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return subtitle.startText;
        break;
    case EndColumn:
        return endData(subtitle, role);
    case TextColumn:
        if (role == Qt::DisplayRole)
            return oneLine(subtitle.text);
        if (role == Qt::EditRole)
            return subtitle.text;
        // Each row by its own direction: a file may mix languages.
        if (role == Qt::TextAlignmentRole && isRightToLeftText(subtitle.text))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        if (role == Qt::ToolTipRole && subtitle.text.contains(u'\n'))
            return QString(subtitle.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        break;
    case CpsColumn:
        return cpsData(subtitle, role);
    }
    return {};
}

QVariant SubtitleTableModel::numberData(const SubtitleRow &subtitle, int role) const
{
    const QString number = QString::number(subtitle.number);
    const quint8 mark = markOf(subtitle.tag);
    if (role == Qt::EditRole || (role == Qt::DisplayRole && !mark))
        return number;
    if (!mark)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        QString shown = number + u' ';
        if (mark & Restored)
            return QString(shown + QChar(RestoredShape));
        if (mark & Split)
            shown += QChar(SplitShape);
        else if (mark & ReBroken)
            shown += QChar(ReBrokenShape);
        if (mark & TimeBought)
            shown += QChar(TimeEditShape);
        if (mark & StartMoved)
            shown += QChar(MovedShape);
        return shown;
    }
    case Qt::BackgroundRole:
        if (mark & Restored)
            return RestoredTint;
        if (mark & Split)
            return SplitTint;
        if (mark & ReBroken)
            return ReBrokenTint;
        return mark & TimeBought ? TimeEditTint : MovedTint;
    case Qt::ToolTipRole: {
        if (mark & Restored)
            return word(Form1Msg::Restored);
        QStringList kinds;
        if (mark & Split)
            kinds << word(Form1Msg::SplitKind);
        else if (mark & ReBroken)
            kinds << word(Form1Msg::ReBroken);
        if (mark & TimeBought)
            kinds << word(Form1Msg::TimeEdit);
        if (mark & StartMoved) {
            const int ordinal = subtitle.tag;
            const bool known = m_original && ordinal >= 1 && ordinal <= m_original->rowCount();
            kinds << (known ? word(Form1Msg::MovedFromTo).arg(m_original->row(ordinal - 1).startText, subtitle.startText)
                            : word(Form1Msg::KindMoved));
        }
        return kinds.join(QStringLiteral(" - "));
    }
    }
    return {};
}

QVariant SubtitleTableModel::endData(const SubtitleRow &subtitle, int role) const
{
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return subtitle.endText;
    if (role != Qt::BackgroundRole && role != Qt::FontRole && role != Qt::ToolTipRole)
        return {};
    // A hand edit may be half done, so the row stays, but it is marked.
    if (!hidesBeforeShown(subtitle))
        return {};
    if (role == Qt::BackgroundRole)
        return ErrorTint;
    if (role == Qt::FontRole)
        return boldFont();
    return word(Form1Msg::HidesBeforeShown);
}

QVariant SubtitleTableModel::cpsData(const SubtitleRow &subtitle, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::BackgroundRole && role != Qt::FontRole
        && role != Qt::ToolTipRole)
        return {};
    const std::optional<ReadingSpeed> speed = readingSpeed(subtitle, m_lettersPerSecond);
    if (!speed)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return speed->charactersPerSecondText();
    if (!speed->isTooFast())
        return {};
    if (role == Qt::BackgroundRole)
        return WarningTint;
    if (role == Qt::FontRole)
        return boldFont();
    return word(Form1Msg::LacksTime).arg(speed->lacksMilliseconds());
}

void SubtitleTableModel::setLanguage(const LangDoc *lang)
{
    m_lang = lang;
}

void SubtitleTableModel::setLettersPerSecond(qint32 lettersPerSecond)
{
    if (m_lettersPerSecond == lettersPerSecond)
        return;
    m_lettersPerSecond = lettersPerSecond;
    recountTooFast();
    if (!m_rows.empty())
        emit dataChanged(index(0, CpsColumn), index(rowCount() - 1, CpsColumn));
}

void SubtitleTableModel::setRows(std::vector<SubtitleRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    recountTooFast();
    endResetModel();
}

void SubtitleTableModel::clear()
{
    setRows({});
    m_marks.clear();
}

namespace {

qint64 millisecondsOf(const QString &timeText)
{
    const std::optional<double> seconds = TimeTextToSeconds(timeText);
    return seconds ? qint64(std::llround(*seconds * 1000.0)) : -1;
}

} // namespace

qint64 SubtitleTableModel::startMs(int index) const
{
    return millisecondsOf(row(index).startText);
}

qint64 SubtitleTableModel::endMs(int index) const
{
    return millisecondsOf(row(index).endText);
}

void SubtitleTableModel::setText(int index, const QString &text)
{
    m_tooFastCount -= countTooFast(index, 1);
    m_rows.at(std::size_t(index)).text = text;
    m_tooFastCount += countTooFast(index, 1);
    emitRowChanged(index, TextColumn);
}

void SubtitleTableModel::setStartText(int index, const QString &startText)
{
    m_tooFastCount -= countTooFast(index, 1);
    m_rows.at(std::size_t(index)).startText = startText;
    m_tooFastCount += countTooFast(index, 1);
    emitRowChanged(index, StartColumn);
}

void SubtitleTableModel::setEndText(int index, const QString &endText)
{
    m_tooFastCount -= countTooFast(index, 1);
    m_rows.at(std::size_t(index)).endText = endText;
    m_tooFastCount += countTooFast(index, 1);
    emitRowChanged(index, EndColumn);
}

void SubtitleTableModel::insertSubtitle(int position, SubtitleRow row)
{
    position = std::clamp(position, 0, rowCount());
    beginInsertRows({}, position, position);
    insertSubtitleRow(m_rows, position, std::move(row));
    m_tooFastCount += countTooFast(position, 1);
    endInsertRows();
    renumberFrom(m_rows, position);
    emitNumbersChangedFrom(position);
}

std::optional<SubtitleRow> SubtitleTableModel::removeSubtitle(int position)
{
    if (position < 0 || position >= rowCount())
        return std::nullopt;
    m_tooFastCount -= countTooFast(position, 1);
    beginRemoveRows({}, position, position);
    SubtitleRow removed = removeSubtitleRow(m_rows, position);
    endRemoveRows();
    renumberFrom(m_rows, position);
    emitNumbersChangedFrom(position);
    return removed;
}

template<typename Apply>
void SubtitleTableModel::changeRows(int first, int oldCount, int newCount, Apply apply)
{
    const int common = std::min(oldCount, newCount);
    m_tooFastCount -= countTooFast(first, oldCount);
    if (newCount > oldCount) {
        beginInsertRows({}, first + oldCount, first + newCount - 1);
        apply();
        endInsertRows();
    } else if (newCount < oldCount) {
        beginRemoveRows({}, first + newCount, first + oldCount - 1);
        apply();
        endRemoveRows();
    } else {
        apply();
    }
    m_tooFastCount += countTooFast(first, newCount);
    // The rows put in still carry the numbers they had elsewhere.
    renumberFrom(m_rows, first);
    if (common > 0)
        emit dataChanged(index(first, 0), index(first + common - 1, ColumnCount - 1));
    if (newCount != oldCount)
        emitNumbersChangedFrom(first + common);
}

std::vector<OrdinalReplacement> SubtitleTableModel::replaceOrdinals(std::vector<OrdinalRows> replacements,
                                                                   bool restored)
{
    std::vector<int> ordinals;
    for (const OrdinalRows &replacement : replacements)
        ordinals.push_back(replacement.ordinal);
    markRestored(ordinals, restored);
    std::vector<OrdinalReplacement> done;
    if (replacements.size() == 1) {
        // One subtitle: the views keep their selection and scroll place.
        const OrdinalRange range = ordinalRange(m_rows, replacements.front().ordinal);
        if (range.contiguous) {
            const int newCount = int(replacements.front().rows.size());
            changeRows(range.first, range.count, newCount,
                       [&] { done = replaceOrdinalRows(m_rows, std::move(replacements)); });
            return done;
        }
    }
    // Many at once: one pass and one reset instead of a signal per subtitle.
    beginResetModel();
    done = replaceOrdinalRows(m_rows, std::move(replacements));
    renumberFrom(m_rows, firstRowChanged(done));
    recountTooFast();
    endResetModel();
    return done;
}

void SubtitleTableModel::undoReplacements(std::vector<OrdinalReplacement> replacements, bool restored)
{
    std::vector<int> ordinals;
    for (const OrdinalReplacement &replacement : replacements)
        ordinals.push_back(replacement.ordinal);
    markRestored(ordinals, restored);
    if (replacements.size() == 1) {
        const OrdinalReplacement &only = replacements.front();
        bool contiguous = true;
        for (std::size_t i = 0; i < only.taken.size(); ++i)
            contiguous = contiguous && only.taken[i].first == only.position + int(i);
        if (contiguous) {
            const int first = only.position;
            const int oldCount = only.count;
            const int newCount = int(only.taken.size());
            changeRows(first, oldCount, newCount, [&] { ::undoReplacements(m_rows, std::move(replacements)); });
            return;
        }
    }
    const int firstChanged = firstRowChanged(replacements);
    beginResetModel();
    ::undoReplacements(m_rows, std::move(replacements));
    renumberFrom(m_rows, firstChanged);
    recountTooFast();
    endResetModel();
}

int SubtitleTableModel::findTag(int tag, int from) const
{
    for (std::size_t i = std::size_t(qMax(0, from)); i < m_rows.size(); ++i) {
        if (m_rows[i].tag == tag)
            return int(i);
    }
    return -1;
}

void SubtitleTableModel::setRecordMarks(const std::vector<EditRecord> &records)
{
    m_marks.clear();
    for (const EditRecord &record : records) {
        if (record.ordinal <= 0)
            continue;
        if (std::size_t(record.ordinal) >= m_marks.size())
            m_marks.resize(std::size_t(record.ordinal) + 1);
        quint8 &mark = m_marks[std::size_t(record.ordinal)];
        mark = Recorded;
        if (record.change == EditRecord::Change::Split)
            mark |= Split;
        else if (record.change == EditRecord::Change::Edit)
            mark |= ReBroken;
        if (record.timeBought)
            mark |= TimeBought;
        if (record.startMoved)
            mark |= StartMoved;
    }
    if (!m_rows.empty())
        emit dataChanged(index(0, NumberColumn), index(rowCount() - 1, NumberColumn));
}

void SubtitleTableModel::markRestored(const std::vector<int> &ordinals, bool restored)
{
    // No signal of its own: the rows of these ordinals are replaced right
    // after, which repaints them.
    for (int ordinal : ordinals) {
        if (!markOf(ordinal))
            continue;
        quint8 &mark = m_marks[std::size_t(ordinal)];
        mark = restored ? quint8(mark | Restored) : quint8(mark & ~Restored);
    }
}

quint8 SubtitleTableModel::markOf(int ordinal) const
{
    return ordinal > 0 && std::size_t(ordinal) < m_marks.size() ? m_marks[std::size_t(ordinal)] : 0;
}

bool SubtitleTableModel::isTooFast(int index) const
{
    if (index < 0 || index >= rowCount())
        return false;
    const std::optional<ReadingSpeed> speed = readingSpeed(m_rows[std::size_t(index)], m_lettersPerSecond);
    return speed && speed->isTooFast();
}

int SubtitleTableModel::findTooFast(int from, bool up) const
{
    const int step = up ? -1 : 1;
    for (int row = from + step; row >= 0 && row < rowCount(); row += step) {
        if (isTooFast(row))
            return row;
    }
    return -1;
}

qint64 SubtitleTableModel::countTooFast(int first, int count) const
{
    qint64 tooFast = 0;
    for (int row = first; row < first + count; ++row)
        tooFast += isTooFast(row) ? 1 : 0;
    return tooFast;
}

void SubtitleTableModel::recountTooFast()
{
    m_tooFastCount = countTooFast(0, rowCount());
}

void SubtitleTableModel::emitNumbersChangedFrom(int position)
{
    if (position < rowCount())
        emit dataChanged(index(position, NumberColumn), index(rowCount() - 1, NumberColumn), {Qt::DisplayRole});
}

void SubtitleTableModel::emitRowChanged(int row, Column column)
{
    // The reading speed and the marks follow a row's times and text.
    if (column == NumberColumn)
        emit dataChanged(index(row, NumberColumn), index(row, NumberColumn));
    else
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
