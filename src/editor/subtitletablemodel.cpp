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
    const int row = index.row();
    if (role == TagRole)
        return m_rows.tag(row);
    if (role == TooFastRole)
        return isTooFast(row);
    switch (index.column()) {
    case NumberColumn:
        return numberData(row, role);
    case StartColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return MillisecondsToTimeText(m_rows.startMs(row));
        break;
    case EndColumn:
        return endData(row, role);
    case TextColumn: {
        if (role == Qt::DisplayRole)
            return oneLine(m_rows.text(row));
        if (role == Qt::EditRole)
            return m_rows.text(row);
        // Each row by its own direction: a file may mix languages.
        if (role == Qt::TextAlignmentRole && isRightToLeftText(m_rows.text(row)))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        if (role == Qt::ToolTipRole && m_rows.textUtf8(row).contains('\n'))
            return m_rows.text(row).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        break;
    }
    case CpsColumn:
        return cpsData(row, role);
    }
    return {};
}

QVariant SubtitleTableModel::numberData(int row, int role) const
{
    const QString number = QString::number(m_rows.number(row));
    const int ordinal = m_rows.tag(row);
    const quint8 mark = markOf(ordinal);
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
            const bool known = m_original && ordinal >= 1 && ordinal <= m_original->rowCount();
            kinds << (known ? word(Form1Msg::MovedFromTo)
                                  .arg(MillisecondsToTimeText(m_original->startMs(ordinal - 1)),
                                       MillisecondsToTimeText(m_rows.startMs(row)))
                            : word(Form1Msg::KindMoved));
        }
        return kinds.join(QStringLiteral(" - "));
    }
    }
    return {};
}

QVariant SubtitleTableModel::endData(int row, int role) const
{
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return MillisecondsToTimeText(m_rows.endMs(row));
    if (role != Qt::BackgroundRole && role != Qt::FontRole && role != Qt::ToolTipRole)
        return {};
    // A hand edit may be half done, so the row stays, but it is marked.
    if (m_rows.endMs(row) >= m_rows.startMs(row))
        return {};
    if (role == Qt::BackgroundRole)
        return ErrorTint;
    if (role == Qt::FontRole)
        return boldFont();
    return word(Form1Msg::HidesBeforeShown);
}

namespace {

ReadingSpeed speedOf(const SubtitleRows &rows, int row, qint32 lettersPerSecond, SubtitleFormat format)
{
    return readingSpeed(readingLength(rows.textUtf8(row), format), MillisecondsToSeconds(rows.startMs(row)),
                        MillisecondsToSeconds(rows.endMs(row)), lettersPerSecond);
}

} // namespace

QVariant SubtitleTableModel::cpsData(int row, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::BackgroundRole && role != Qt::FontRole
        && role != Qt::ToolTipRole)
        return {};
    const ReadingSpeed speed = speedOf(m_rows, row, m_lettersPerSecond, m_format);
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return speed.charactersPerSecondText();
    if (!speed.isTooFast())
        return {};
    if (role == Qt::BackgroundRole)
        return WarningTint;
    if (role == Qt::FontRole)
        return boldFont();
    return word(Form1Msg::LacksTime).arg(speed.lacksMilliseconds());
}

void SubtitleTableModel::setLanguage(const LangDoc *lang)
{
    m_lang = lang;
}

void SubtitleTableModel::setSubtitleFormat(SubtitleFormat format)
{
    if (m_format == format)
        return;
    m_format = format;
    forgetTooFastCount();
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, CpsColumn), index(rowCount() - 1, CpsColumn));
}

void SubtitleTableModel::setLettersPerSecond(qint32 lettersPerSecond)
{
    if (m_lettersPerSecond == lettersPerSecond)
        return;
    m_lettersPerSecond = lettersPerSecond;
    forgetTooFastCount();
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, CpsColumn), index(rowCount() - 1, CpsColumn));
}

void SubtitleTableModel::setRows(const std::vector<SubtitleRow> &rows)
{
    setRows(SubtitleRows(rows));
}

void SubtitleTableModel::setRows(SubtitleRows rows, std::optional<qint64> tooFastCount)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_runRows = m_rows.emptyLike();
    m_runRowsAt.clear();
    for (quint8 &mark : m_marks)
        mark &= quint8(~RunRowsKept);
    m_tooFastCount = tooFastCount;
    endResetModel();
}

void SubtitleTableModel::resetViews()
{
    beginResetModel();
    endResetModel();
}

void SubtitleTableModel::clear()
{
    setRows(SubtitleRows());
    m_marks.clear();
}

void SubtitleTableModel::setText(int index, const QString &text)
{
    keepRunRows(m_rows.tag(index));
    countTooFastIn(index, 1, -1);
    m_rows.setText(index, text);
    countTooFastIn(index, 1, 1);
    emitRowChanged(index, TextColumn);
}

void SubtitleTableModel::setStartMs(int index, qint64 startMs)
{
    keepRunRows(m_rows.tag(index));
    countTooFastIn(index, 1, -1);
    m_rows.setStartMs(index, startMs);
    countTooFastIn(index, 1, 1);
    emitRowChanged(index, StartColumn);
}

void SubtitleTableModel::setEndMs(int index, qint64 endMs)
{
    keepRunRows(m_rows.tag(index));
    countTooFastIn(index, 1, -1);
    m_rows.setEndMs(index, endMs);
    countTooFastIn(index, 1, 1);
    emitRowChanged(index, EndColumn);
}

void SubtitleTableModel::insertSubtitle(int position, SubtitleRow row)
{
    position = std::clamp(position, 0, rowCount());
    beginInsertRows({}, position, position);
    insertSubtitleRow(m_rows, position, row);
    countTooFastIn(position, 1, 1);
    endInsertRows();
    renumberFrom(m_rows, position);
    emitNumbersChangedFrom(position);
}

std::optional<SubtitleRow> SubtitleTableModel::removeSubtitle(int position)
{
    if (position < 0 || position >= rowCount())
        return std::nullopt;
    keepRunRows(m_rows.tag(position));
    countTooFastIn(position, 1, -1);
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
    countTooFastIn(first, oldCount, -1);
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
    countTooFastIn(first, newCount, 1);
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
    ordinals.reserve(replacements.size());
    for (const OrdinalRows &replacement : replacements) {
        ordinals.push_back(replacement.ordinal);
        keepRunRows(replacement.ordinal);
    }
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
    forgetTooFastCount();
    endResetModel();
    return done;
}

void SubtitleTableModel::undoReplacements(std::vector<OrdinalReplacement> replacements, bool restored)
{
    std::vector<int> ordinals;
    ordinals.reserve(replacements.size());
    for (const OrdinalReplacement &replacement : replacements)
        ordinals.push_back(replacement.ordinal);
    markRestored(ordinals, restored);
    if (replacements.size() == 1) {
        const OrdinalReplacement &only = replacements.front();
        if (only.tookContiguous()) {
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
    forgetTooFastCount();
    endResetModel();
}

int SubtitleTableModel::findTag(int tag, int from) const
{
    for (qsizetype i = qMax(0, from); i < m_rows.size(); ++i) {
        if (m_rows.tag(i) == tag)
            return int(i);
    }
    return -1;
}

void SubtitleTableModel::setRecordMarks(const std::vector<EditRecord> &records)
{
    m_runRows = m_rows.emptyLike();
    m_runRowsAt.clear();
    qint32 largest = 0;
    for (const EditRecord &record : records)
        largest = std::max(largest, record.ordinal);
    m_marks.assign(std::size_t(largest) + 1, 0);
    for (const EditRecord &record : records) {
        if (record.ordinal <= 0)
            continue;
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
    if (!m_rows.isEmpty())
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

void SubtitleTableModel::keepRunRows(int ordinal)
{
    const quint8 mark = markOf(ordinal);
    if (!(mark & Recorded) || (mark & RunRowsKept))
        return;
    m_marks[std::size_t(ordinal)] = quint8(mark | RunRowsKept);
    // Untouched so far, so the rows with this tag are the run's, in order;
    // rows inserted by hand between two halves carry tag 0.
    const int first = int(m_runRows.size());
    for (qsizetype i = ordinalRange(m_rows, ordinal).first; i < m_rows.size() && m_rows.tag(i) <= ordinal; ++i) {
        if (m_rows.tag(i) == ordinal)
            m_runRows.appendRowOf(m_rows, i);
    }
    m_runRowsAt[ordinal] = {first, int(m_runRows.size()) - first};
}

std::vector<SubtitleRow> SubtitleTableModel::runRows(int ordinal) const
{
    std::vector<SubtitleRow> rows;
    if (const auto kept = m_runRowsAt.find(ordinal); kept != m_runRowsAt.end()) {
        for (int i = kept->second.first; i < kept->second.first + kept->second.second; ++i)
            rows.push_back(m_runRows.row(i));
        return rows;
    }
    for (qsizetype i = ordinalRange(m_rows, ordinal).first; i < m_rows.size() && m_rows.tag(i) <= ordinal; ++i) {
        if (m_rows.tag(i) == ordinal)
            rows.push_back(m_rows.row(i));
    }
    return rows;
}

quint8 SubtitleTableModel::markOf(int ordinal) const
{
    return ordinal > 0 && std::size_t(ordinal) < m_marks.size() ? m_marks[std::size_t(ordinal)] : 0;
}

bool SubtitleTableModel::isTooFast(int index) const
{
    if (index < 0 || index >= rowCount())
        return false;
    return speedOf(m_rows, index, m_lettersPerSecond, m_format).isTooFast();
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

void SubtitleTableModel::countTooFastIn(int first, int count, int sign)
{
    if (m_tooFastCount)
        *m_tooFastCount += sign * countTooFast(first, count);
}

void SubtitleTableModel::forgetTooFastCount()
{
    m_tooFastCount.reset();
}

qint64 SubtitleTableModel::tooFastCount() const
{
    if (!m_tooFastCount)
        m_tooFastCount = countTooFast(0, rowCount());
    return *m_tooFastCount;
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
