// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/shotchanges.h"

#include <QObject>
#include <QString>

#include <vector>

class LangDoc;
struct DetectedShots;

// The shot changes of the film under review: found in the waveform's pass
// over the film or read from a list, in milliseconds for the timeline, and
// as plain data for the correction.
class FilmShots : public QObject
{
    Q_OBJECT

public:
    enum class State { None, Finding, Found, NoPicture, Failed, Cancelled };

    explicit FilmShots(const LangDoc &lang, QObject *parent = nullptr);

    State state() const { return m_state; }
    bool isFinding() const { return m_state == State::Finding; }
    // The cuts and frame grid to correct with; nullptr when none are known.
    const ShotChanges *shotChanges() const;
    // Each cut's first millisecond, ascending.
    const std::vector<qint64> &cutMs() const { return m_cutMs; }

    void clear();
    void startFinding();
    void found(const DetectedShots &shots);
    void failed();
    void cancel();
    // Reads a cut or keyframe list (frameRate serves a list that gives
    // none). On failure the cuts stay and the message names path and line.
    QString importList(const QString &path, double frameRate);
    // Writes the plain list; a message naming path when it cannot.
    QString exportList(const QString &path) const;

    // The first cut after ms, the last before it; -1 when there is none.
    qint64 nextCutMs(qint64 ms) const;
    qint64 previousCutMs(qint64 ms) const;
    // "Frames from the nearest shot change: start +3, end -2", counted on
    // the film's frames (frameRate when the cuts give none); empty without cuts.
    QString distanceText(qint64 startMs, qint64 endMs, double frameRate) const;

signals:
    // The cuts, or whether they are being found, changed.
    void changed();
    // A search ended: found, failed, or on a film without a picture.
    void finished();
    void cancelled();

private:
    void setCuts(const ShotChanges &shots);

    const LangDoc &m_lang;
    State m_state = State::None;
    ShotChanges m_shots;
    std::vector<qint64> m_cutMs;
};
