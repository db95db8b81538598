// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shots/filmshots.h"

#include "engine/shots/cutlistfile.h"
#include "engine/shots/framegrid.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "media/shots/detectedshots.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

// The first millisecond of the frame a cut starts, as the correction writes it.
qint64 firstMsOf(double seconds)
{
    return std::max<qint64>(0, qint64(std::ceil(seconds * 1000 - 1e-6)));
}

} // namespace

FilmShots::FilmShots(const LangDoc &lang, QObject *parent) : QObject(parent), m_lang(lang) {}

const ShotChanges *FilmShots::shotChanges() const
{
    return m_cutMs.empty() ? nullptr : &m_shots;
}

void FilmShots::setCuts(const ShotChanges &shots)
{
    m_shots = shots;
    m_cutMs.clear();
    m_cutMs.reserve(shots.cutSeconds.size());
    for (const double seconds : shots.cutSeconds)
        m_cutMs.push_back(firstMsOf(seconds));
}

void FilmShots::clear()
{
    m_state = State::None;
    setCuts({});
    emit changed();
}

void FilmShots::startFinding()
{
    m_state = State::Finding;
    setCuts({});
    emit changed();
}

void FilmShots::found(const DetectedShots &shots)
{
    m_state = shots.hasPicture ? State::Found : State::NoPicture;
    setCuts(shots.shotChanges);
    emit changed();
    emit finished();
}

void FilmShots::failed()
{
    m_state = State::Failed;
    emit changed();
    emit finished();
}

void FilmShots::cancel()
{
    if (!isFinding())
        return;
    m_state = State::Cancelled;
    emit changed();
    emit cancelled();
}

QString FilmShots::importList(const QString &path, double frameRate)
{
    QFile file(path);
    CutListError error;
    std::optional<ShotChanges> shots;
    if (file.open(QIODevice::ReadOnly)) {
        shots = readCutList(file, error, frameRate);
    } else {
        error.kind = CutListError::Kind::CannotRead;
        error.reason = file.errorString();
    }
    if (!shots)
        return GetLangText(m_lang, Form1Msg::ShotListUnreadable).arg(path, error.describe(m_lang));
    if (shots->frameRate <= 0)
        shots->frameRate = frameRate;
    m_state = State::Found;
    setCuts(*shots);
    emit changed();
    emit finished();
    return {};
}

QString FilmShots::exportList(const QString &path) const
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && writeCutList(file, m_shots) && file.commit())
        return {};
    return GetLangText(m_lang, Form1Msg::ShotListUnwritable).arg(path, file.errorString());
}

qint64 FilmShots::nextCutMs(qint64 ms) const
{
    const auto next = std::upper_bound(m_cutMs.begin(), m_cutMs.end(), ms);
    return next == m_cutMs.end() ? -1 : *next;
}

qint64 FilmShots::previousCutMs(qint64 ms) const
{
    const auto next = std::lower_bound(m_cutMs.begin(), m_cutMs.end(), ms);
    return next == m_cutMs.begin() ? -1 : *(next - 1);
}

QString FilmShots::distanceText(qint64 startMs, qint64 endMs, double frameRate) const
{
    if (m_cutMs.empty())
        return {};
    const FrameGrid grid(m_shots.frameRate > 0 ? m_shots.frameRate : frameRate, m_shots.firstFrameSeconds);
    // Signed: after the nearest cut is +, before it -.
    const auto frames = [&](qint64 ms) {
        const auto next = std::lower_bound(m_cutMs.begin(), m_cutMs.end(), ms);
        qint64 cut = next == m_cutMs.end() ? m_cutMs.back() : *next;
        if (next != m_cutMs.begin() && (next == m_cutMs.end() || ms - *(next - 1) < *next - ms))
            cut = *(next - 1);
        const qint64 count = grid.framesIn(grid.placeFrom(ms) - grid.placeFrom(cut));
        return count > 0 ? u'+' + QString::number(count) : QString::number(count);
    };
    return GetLangText(m_lang, Form1Msg::FramesFromShotChange).arg(frames(startMs), frames(endMs));
}
