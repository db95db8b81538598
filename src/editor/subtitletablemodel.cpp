// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/subtitletablemodel.h"

#include "document/timecode.h"
#include "document/unicodetext.h"
#include "editor/subtitlelist.h"
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

SubtitleTableModel::SubtitleTableModel(const SubtitleList &list, QObject *parent)
    : LabelledTableModel({QStringLiteral("A/A"), QStringLiteral("Show"), QStringLiteral("Hide"), QStringLiteral("Text"),
                          QStringLiteral("CPS")},
                         parent),
      m_list(list)
{
    connect(&list, &SubtitleList::aboutToReset, this, [this] { beginResetModel(); });
    connect(&list, &SubtitleList::wasReset, this, [this] { endResetModel(); });
    connect(&list, &SubtitleList::rowsAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(&list, &SubtitleList::rowsInserted, this, [this] { endInsertRows(); });
    connect(&list, &SubtitleList::rowsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(&list, &SubtitleList::rowsRemoved, this, [this] { endRemoveRows(); });
    // The reading speed and the marks follow a row's times and text.
    connect(&list, &SubtitleList::rowsChanged, this,
            [this](int first, int last) { emit dataChanged(index(first, 0), index(last, ColumnCount - 1)); });
    connect(&list, &SubtitleList::numbersChanged, this,
            [this](int first) { columnChanged(NumberColumn, first, {Qt::DisplayRole}); });
    connect(&list, &SubtitleList::marksChanged, this, [this] { columnChanged(NumberColumn, 0); });
    connect(&list, &SubtitleList::speedsChanged, this, [this] { columnChanged(CpsColumn, 0); });
}

void SubtitleTableModel::columnChanged(int column, int first, const QList<int> &roles)
{
    if (first < rowCount())
        emit dataChanged(index(first, column), index(rowCount() - 1, column), roles);
}

int SubtitleTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list.rowCount();
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
    const SubtitleRows &rows = m_list.compactRows();
    if (role == TagRole)
        return rows.tag(row);
    if (role == TooFastRole)
        return m_list.isTooFast(row);
    switch (index.column()) {
    case NumberColumn:
        return numberData(row, role);
    case StartColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return MillisecondsToTimeText(rows.startMs(row));
        break;
    case EndColumn:
        return endData(row, role);
    case TextColumn: {
        if (role == Qt::DisplayRole)
            return oneLine(rows.text(row));
        if (role == Qt::EditRole)
            return rows.text(row);
        // Each row by its own direction: a file may mix languages.
        if (role == Qt::TextAlignmentRole && isRightToLeftText(rows.text(row)))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        if (role == Qt::ToolTipRole && rows.textUtf8(row).contains('\n'))
            return rows.text(row).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        break;
    }
    case CpsColumn:
        return cpsData(row, role);
    }
    return {};
}

QVariant SubtitleTableModel::numberData(int row, int role) const
{
    const SubtitleRows &rows = m_list.compactRows();
    const QString number = QString::number(rows.number(row));
    const int ordinal = rows.tag(row);
    const quint8 mark = m_list.markOf(ordinal);
    if (role == Qt::EditRole || (role == Qt::DisplayRole && !mark))
        return number;
    if (!mark)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        QString shown = number + u' ';
        if (mark & SubtitleList::Restored)
            return QString(shown + QChar(RestoredShape));
        if (mark & SubtitleList::Split)
            shown += QChar(SplitShape);
        else if (mark & SubtitleList::ReBroken)
            shown += QChar(ReBrokenShape);
        if (mark & SubtitleList::TimeBought)
            shown += QChar(TimeEditShape);
        if (mark & SubtitleList::StartMoved)
            shown += QChar(MovedShape);
        return shown;
    }
    case Qt::BackgroundRole:
        if (mark & SubtitleList::Restored)
            return RestoredTint;
        if (mark & SubtitleList::Split)
            return SplitTint;
        if (mark & SubtitleList::ReBroken)
            return ReBrokenTint;
        return mark & SubtitleList::TimeBought ? TimeEditTint : MovedTint;
    case Qt::ToolTipRole: {
        if (mark & SubtitleList::Restored)
            return word(Form1Msg::Restored);
        QStringList kinds;
        if (mark & SubtitleList::Split)
            kinds << word(Form1Msg::SplitKind);
        else if (mark & SubtitleList::ReBroken)
            kinds << word(Form1Msg::ReBroken);
        if (mark & SubtitleList::TimeBought)
            kinds << word(Form1Msg::TimeEdit);
        if (mark & SubtitleList::StartMoved) {
            const bool known = m_original && ordinal >= 1 && ordinal <= m_original->rowCount();
            kinds << (known ? word(Form1Msg::MovedFromTo)
                                  .arg(MillisecondsToTimeText(m_original->startMs(ordinal - 1)),
                                       MillisecondsToTimeText(rows.startMs(row)))
                            : word(Form1Msg::KindMoved));
        }
        QString tip = kinds.join(QStringLiteral(" - "));
        if (const ShotChangeTime *shot = shotChangeTimeOf(row); shot && m_lang)
            tip += u'\n' + shot->reason(*m_lang);
        return tip;
    }
    }
    return {};
}

const ShotChangeTime *SubtitleTableModel::shotChangeTimeOf(int row) const
{
    if (!m_shotChangeTimes || row < 0 || row >= m_list.rowCount())
        return nullptr;
    // A split's halves share their ordinal: the times tell them apart, and a
    // time changed since is no longer the rule's.
    const SubtitleRows &rows = m_list.compactRows();
    const int ordinal = rows.tag(row);
    const auto first = std::lower_bound(m_shotChangeTimes->begin(), m_shotChangeTimes->end(), ordinal,
                                        [](const ShotChangeTime &time, int value) { return time.ordinal < value; });
    for (auto time = first; time != m_shotChangeTimes->end() && time->ordinal == ordinal; ++time) {
        if (std::llround(time->startSeconds * 1000) == rows.startMs(row)
            && std::llround(time->endSeconds * 1000) == rows.endMs(row))
            return &*time;
    }
    return nullptr;
}

QVariant SubtitleTableModel::endData(int row, int role) const
{
    const SubtitleRows &rows = m_list.compactRows();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return MillisecondsToTimeText(rows.endMs(row));
    if (role != Qt::BackgroundRole && role != Qt::FontRole && role != Qt::ToolTipRole)
        return {};
    // A hand edit may be half done, so the row stays, but it is marked.
    if (rows.endMs(row) >= rows.startMs(row))
        return {};
    if (role == Qt::BackgroundRole)
        return ErrorTint;
    if (role == Qt::FontRole)
        return boldFont();
    return word(Form1Msg::HidesBeforeShown);
}

QVariant SubtitleTableModel::cpsData(int row, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::BackgroundRole && role != Qt::FontRole
        && role != Qt::ToolTipRole)
        return {};
    const ReadingSpeed speed = m_list.readingSpeedOf(row);
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

