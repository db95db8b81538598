// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/subtitleoverlay.h"

#include "document/unicodetext.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QTextCharFormat>
#include <QTextLine>
#include <QTextOption>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// As a share of the picture's height: about what players use by default.
constexpr double fontHeightShare = 0.055;
constexpr double bottomMarginShare = 0.05;
constexpr double widthShare = 0.9;
constexpr double outlineShareOfFont = 0.16;

struct Style
{
    int italic = 0;
    int bold = 0;
    int underline = 0;
    std::vector<QColor> colours; // innermost <font color> last

    QTextCharFormat format() const
    {
        QTextCharFormat format;
        format.setFontItalic(italic > 0);
        format.setFontWeight(bold > 0 ? QFont::Bold : QFont::Normal);
        format.setFontUnderline(underline > 0);
        if (!colours.empty())
            format.setForeground(colours.back());
        return format;
    }
};

// The colour of a <font ...> tag's color attribute, quoted or not; an
// invalid colour when there is none.
QColor fontColour(QStringView tag)
{
    const qsizetype at = tag.indexOf(u"color", 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    qsizetype i = at + 5;
    while (i < tag.size() && tag[i].isSpace())
        ++i;
    if (i >= tag.size() || tag[i] != u'=')
        return {};
    ++i;
    while (i < tag.size() && tag[i].isSpace())
        ++i;
    qsizetype end = i;
    if (i < tag.size() && (tag[i] == u'"' || tag[i] == u'\'')) {
        end = tag.indexOf(tag[i], i + 1);
        ++i;
        if (end < 0)
            end = tag.size() - 1;
    } else {
        while (end < tag.size() && !tag[end].isSpace() && tag[end] != u'>')
            ++end;
    }
    QString name = tag.mid(i, end - i).trimmed().toString();
    // Subtitle files often give hex without the '#'.
    if (name.size() == 6 && !QColor::isValidColorName(name) && QColor::isValidColorName(u'#' + name))
        name.prepend(u'#');
    return QColor::fromString(name);
}

// Applies tag (from '<' to '>') to style; false when it is not one of the
// formatting tags, so it stays text.
bool applyTag(QStringView tag, Style &style)
{
    const QStringView inner = tag.mid(1, tag.size() - 2).trimmed();
    const bool closing = inner.startsWith(u'/');
    const QStringView name = (closing ? inner.mid(1) : inner).trimmed();
    const auto is = [&](QStringView wanted) { return name.compare(wanted, Qt::CaseInsensitive) == 0; };
    const int step = closing ? -1 : 1;
    if (is(u"i"))
        style.italic = std::max(0, style.italic + step);
    else if (is(u"b"))
        style.bold = std::max(0, style.bold + step);
    else if (is(u"u"))
        style.underline = std::max(0, style.underline + step);
    else if (closing && is(u"font")) {
        if (!style.colours.empty())
            style.colours.pop_back();
    } else if (!closing && name.startsWith(u"font", Qt::CaseInsensitive)
               && (name.size() == 4 || name[4].isSpace())) {
        const QColor colour = fontColour(name);
        // An unknown colour keeps the one around it.
        style.colours.push_back(colour.isValid() ? colour : (style.colours.empty() ? QColor(Qt::white)
                                                                                    : style.colours.back()));
    } else {
        return false;
    }
    return true;
}

} // namespace

QString SubtitleOverlay::plainText(QStringView text)
{
    QString plain;
    plain.reserve(text.size());
    Style style;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'<') {
            const qsizetype end = text.indexOf(u'>', i + 1);
            if (end > i && applyTag(text.mid(i, end - i + 1), style)) {
                i = end;
                continue;
            }
        } else if (c == u'{' && i + 1 < text.size() && text[i + 1] == u'\\') {
            if (const qsizetype end = text.indexOf(u'}', i + 2); end > i) {
                i = end;
                continue;
            }
        } else if (c == u'\r' || c == u'\n') {
            if (!plain.endsWith(u' '))
                plain += u' ';
            continue;
        }
        plain += c;
    }
    return plain;
}

SubtitleOverlay::SubtitleOverlay(const QString &text)
{
    setText(text);
}

void SubtitleOverlay::setText(const QString &text)
{
    m_text = text;
    m_lines.clear();
    m_rightToLeft = isRightToLeftText(text);
    Style style; // formatting carries over from one line to the next
    QString source = text;
    source.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QStringView sourceLine : QStringView(source).split(u'\n')) {
        Line line;
        int runStart = 0;
        QTextCharFormat runFormat = style.format();
        const auto closeRun = [&] {
            if (line.text.size() > runStart)
                line.formats.append({runStart, int(line.text.size()) - runStart, runFormat});
            runStart = int(line.text.size());
            runFormat = style.format();
        };
        for (qsizetype i = 0; i < sourceLine.size(); ++i) {
            const QChar c = sourceLine[i];
            if (c == u'<') {
                const qsizetype end = sourceLine.indexOf(u'>', i + 1);
                Style changed = style;
                if (end > i && applyTag(sourceLine.mid(i, end - i + 1), changed)) {
                    closeRun();
                    style = changed;
                    runFormat = style.format();
                    i = end;
                    continue;
                }
            } else if (c == u'{' && i + 1 < sourceLine.size() && sourceLine[i + 1] == u'\\') {
                if (const qsizetype end = sourceLine.indexOf(u'}', i + 2); end > i) {
                    i = end;
                    continue;
                }
            }
            line.text += c;
        }
        closeRun();
        m_lines << line;
    }
    // Blank lines at either end take no room on screen.
    while (!m_lines.isEmpty() && m_lines.back().text.trimmed().isEmpty())
        m_lines.removeLast();
    while (!m_lines.isEmpty() && m_lines.front().text.trimmed().isEmpty())
        m_lines.removeFirst();
}

void SubtitleOverlay::paint(QPainter &painter, const QRectF &picture) const
{
    if (m_lines.isEmpty() || picture.isEmpty())
        return;
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    double pixelSize = std::max(8.0, picture.height() * fontHeightShare);
    font.setPixelSize(int(pixelSize));
    const double width = picture.width() * widthShare;
    // A line keeps its break as the file has it: on a narrow picture the
    // letters get smaller (a tenth to spare for bold and the outline)
    // before a line is wrapped.
    double widest = 0;
    const QFontMetricsF metrics(font);
    for (const Line &line : m_lines)
        widest = std::max(widest, metrics.horizontalAdvance(line.text) * 1.1);
    if (widest > width) {
        pixelSize = std::max(8.0, pixelSize * width / widest);
        font.setPixelSize(int(pixelSize));
    }
    QTextOption option(Qt::AlignHCenter);
    option.setTextDirection(m_rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    // Two layouts of every line: the outline first, then the letters over it.
    QTextCharFormat outlineFormat;
    const QColor dark(0, 0, 0, 230);
    outlineFormat.setTextOutline(QPen(dark, pixelSize * outlineShareOfFont, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    outlineFormat.setForeground(dark);
    QTextCharFormat fillFormat;
    fillFormat.setForeground(QColor(Qt::white));

    std::vector<std::unique_ptr<QTextLayout>> outlines;
    std::vector<std::unique_ptr<QTextLayout>> fills;
    double height = 0;
    for (const Line &line : m_lines) {
        for (const bool outline : {true, false}) {
            auto layout = std::make_unique<QTextLayout>(line.text, font);
            layout->setTextOption(option);
            QList<QTextLayout::FormatRange> formats;
            formats.append({0, int(line.text.size()), outline ? outlineFormat : fillFormat});
            for (QTextLayout::FormatRange range : line.formats) {
                if (outline) // the outline keeps only the shape: slant, weight
                    range.format.clearForeground();
                formats.append(range);
            }
            layout->setFormats(formats);
            layout->beginLayout();
            double y = 0;
            for (QTextLine textLine = layout->createLine(); textLine.isValid(); textLine = layout->createLine()) {
                textLine.setLineWidth(width);
                textLine.setPosition(QPointF(0, y));
                y += textLine.height();
            }
            layout->endLayout();
            if (outline) {
                height += y;
                outlines.push_back(std::move(layout));
            } else {
                fills.push_back(std::move(layout));
            }
        }
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double left = picture.left() + (picture.width() - width) / 2;
    for (const auto *pass : {&outlines, &fills}) {
        double top = picture.bottom() - picture.height() * bottomMarginShare - height;
        for (const auto &layout : *pass) {
            layout->draw(&painter, QPointF(left, top));
            top += layout->boundingRect().height();
        }
    }
    painter.restore();
}
