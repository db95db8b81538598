// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/shots/cutlistfile.h"

#include "engine/shots/framegrid.h"
#include "lang/form1messages.h"

#include <QIODevice>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A longer line is no time; it is not held whole either.
constexpr qsizetype MaxLineBytes = 4096;

// The lines of a device, ended by LF, CR LF or a lone CR, read in blocks.
class LineReader
{
public:
    explicit LineReader(QIODevice &device) : m_device(device), m_block(64 * 1024, Qt::Uninitialized) {}

    // The next line without its end, cut after MaxLineBytes + 1 bytes;
    // false at the end, or when the device fails (failed() says so).
    bool next(QByteArray &line)
    {
        line.clear();
        bool started = false;
        for (;;) {
            if (m_position == m_size && !fill()) {
                m_lineNumber += started ? 1 : 0;
                return started && !m_failed;
            }
            const char c = m_block[m_position++];
            if (std::exchange(m_afterCr, false) && c == '\n')
                continue;
            if (c == '\n' || c == '\r') {
                m_afterCr = c == '\r';
                ++m_lineNumber;
                return true;
            }
            started = true;
            if (line.size() <= MaxLineBytes)
                line.append(c);
        }
    }

    qint64 lineNumber() const { return m_lineNumber; }
    bool failed() const { return m_failed; }

private:
    bool fill()
    {
        const qint64 read = m_device.read(m_block.data(), m_block.size());
        m_failed = read < 0;
        m_position = 0;
        m_size = std::max<qint64>(read, 0);
        return m_size > 0;
    }

    QIODevice &m_device;
    QByteArray m_block;
    qint64 m_position = 0;
    qint64 m_size = 0;
    qint64 m_lineNumber = 0;
    bool m_afterCr = false;
    bool m_failed = false;
};

bool isDecimal(QByteArrayView text, bool fraction)
{
    const qsizetype point = fraction ? text.indexOf('.') : -1;
    const QByteArrayView whole = point < 0 ? text : text.first(point);
    const QByteArrayView after = point < 0 ? QByteArrayView() : text.sliced(point + 1);
    const auto digits = [](QByteArrayView part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return !whole.isEmpty() && digits(whole) && (point < 0 || (!after.isEmpty() && digits(after)));
}

// A non-negative decimal ("12", "12.480"); nothing else, not even "1e3".
std::optional<double> decimal(QByteArrayView text)
{
    if (!isDecimal(text, true))
        return std::nullopt;
    const double value = text.toByteArray().toDouble();
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

// A frame rate the grid can use, else none.
std::optional<double> frameRate(QByteArrayView text)
{
    const std::optional<double> rate = decimal(text);
    return rate && *rate > 0 && *rate <= MaxFramesPerSecond ? rate : std::nullopt;
}

} // namespace

QString CutListError::describe(const LangDoc &lang) const
{
    switch (kind) {
    case Kind::CannotRead:
        return GetLangText(lang, Form1Msg::CannotRead).arg(reason);
    case Kind::NotATime:
        return GetLangText(lang, Form1Msg::CutNotATime).arg(QString::number(lineNumber), line);
    case Kind::NotAFrame:
        return GetLangText(lang, Form1Msg::CutNotAFrame).arg(QString::number(lineNumber), line);
    case Kind::NotAFrameRate:
        return GetLangText(lang, Form1Msg::CutNotAFrameRate).arg(QString::number(lineNumber), line);
    case Kind::NoFrameRate:
        return GetLangText(lang, Form1Msg::CutNoFrameRate);
    case Kind::TooMany:
        return GetLangText(lang, Form1Msg::CutTooMany).arg(MaxCuts);
    }
    return {};
}

std::optional<ShotChanges> readCutList(QIODevice &device, CutListError &error, double frameRateIfNone)
{
    LineReader reader(device);
    ShotChanges shots;
    std::vector<qint64> frames; // of a keyframe list, until its rate is known
    bool keyframes = false;
    bool first = true; // no line but blank ones yet
    const auto refuse = [&](CutListError::Kind kind, QByteArrayView line = {}) {
        error = {kind, reader.lineNumber(), QString::fromUtf8(line.first(std::min<qsizetype>(line.size(), 80))), {}};
        return std::nullopt;
    };
    for (QByteArray line; reader.next(line);) {
        if (reader.lineNumber() == 1 && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        const QByteArray text = line.trimmed();
        if (text.isEmpty())
            continue;
        if (line.size() > MaxLineBytes)
            return refuse(keyframes ? CutListError::Kind::NotAFrame : CutListError::Kind::NotATime, text);
        const bool isFirst = std::exchange(first, false);
        if (text.startsWith('#')) {
            const QByteArray comment = text.sliced(1).simplified();
            if (isFirst && comment == "keyframe format v1") {
                keyframes = true;
            } else if (!keyframes && comment.startsWith("fps ")) {
                const std::optional<double> rate = frameRate(comment.sliced(4));
                if (!rate)
                    return refuse(CutListError::Kind::NotAFrameRate, text);
                shots.frameRate = *rate;
            }
            continue;
        }
        if (keyframes && text.startsWith("fps") && frames.empty() && shots.frameRate == 0) {
            const std::optional<double> rate = frameRate(text.sliced(3).trimmed());
            if (!rate)
                return refuse(CutListError::Kind::NotAFrameRate, text);
            shots.frameRate = *rate;
            continue;
        }
        if (qint64(shots.cutSeconds.size() + frames.size()) >= MaxCuts)
            return refuse(CutListError::Kind::TooMany);
        if (keyframes) {
            bool ok = false;
            const qint64 frame = isDecimal(text, false) ? text.toLongLong(&ok) : 0;
            if (!ok)
                return refuse(CutListError::Kind::NotAFrame, text);
            frames.push_back(frame);
        } else if (const std::optional<double> seconds = decimal(text)) {
            shots.cutSeconds.push_back(*seconds);
        } else {
            return refuse(CutListError::Kind::NotATime, text);
        }
    }
    if (reader.failed()) {
        error = {CutListError::Kind::CannotRead, 0, {}, device.errorString()};
        return std::nullopt;
    }
    if (shots.frameRate <= 0)
        shots.frameRate = frameRateIfNone > 0 ? frameRateIfNone : 0;
    if (keyframes && !frames.empty()) {
        if (shots.frameRate <= 0) {
            error = {CutListError::Kind::NoFrameRate, 0, {}, {}};
            return std::nullopt;
        }
        shots.cutSeconds.reserve(frames.size());
        for (const qint64 frame : frames)
            shots.cutSeconds.push_back(double(frame) / normalFrameRate(shots.frameRate));
    }
    std::sort(shots.cutSeconds.begin(), shots.cutSeconds.end());
    shots.cutSeconds.erase(std::unique(shots.cutSeconds.begin(), shots.cutSeconds.end()), shots.cutSeconds.end());
    return shots;
}

bool writeCutList(QIODevice &device, const ShotChanges &shots)
{
    QByteArray text;
    text.reserve(qsizetype(shots.cutSeconds.size()) * 12);
    for (const double seconds : shots.cutSeconds)
        text += QByteArray::number(seconds, 'f', 3) + '\n';
    return device.write(text) == text.size();
}
