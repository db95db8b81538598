// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/videoplayer.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QString>

#include <memory>

class FilmShots;
class FramePrefetcher;
class LangDoc;
class PeakJob;
class Prompter;
class QDockWidget;
class QMainWindow;
class SubtitleDocument;
class SubtitlePanes;
class TimelinePane;
class TimelineView;
class VideoPane;
struct AudioTrack;
struct MediaError;
struct Peaks;
struct Settings;
struct VideoActions;

// The film under review: a video (or sound) file open beside the subtitles,
// its picture at the selected subtitle's start with the subtitle drawn over
// it, and the timeline of its sound with the subtitles as read and as
// corrected. The video belongs to the window, not to the subtitle file:
// nothing of it is saved with the subtitles.
class FilmReview : public QObject
{
    Q_OBJECT

public:
    // The panes are docked into window, hidden until a video is open;
    // cacheFolder keeps the waveforms between sessions.
    FilmReview(QMainWindow &window, SubtitleDocument &document, SubtitlePanes &panes, Prompter &prompter,
               const LangDoc &lang, VideoPlayer::AudioOutput audio, const QString &cacheFolder);
    ~FilmReview() override;

    void openVideo(const QString &path);
    void closeVideo();
    // Whether path names a video or sound file by its extension.
    static bool isMediaFile(const QString &path);
    // Those extensions, lower case, videos first.
    static QStringList mediaSuffixes();
    // The video that goes with a subtitle file: the same name, or the same
    // name without a language part ("movie.en.srt" with "movie.mkv").
    static QString videoBeside(const QString &subtitlePath);

    void applySettings(const Settings &settings);
    void storeSettings(Settings &settings) const;
    // The pane's words and the audio tracks' names in the language in use.
    void retranslate();

    // Started with the first film: libmpv costs its memory only then.
    VideoPlayer &player();
    bool isOpen() const { return m_player && m_player->isLoaded(); }
    TimelineView &timeline() const;
    VideoPane &videoPane() const { return *m_videoPane; }
    const VideoActions &actions() const { return *m_actions; }
    FilmShots &shots() const { return *m_shots; }
    // Video › Find shot changes: in the waveform's pass when that is still
    // to come, so the film is read once.
    void findShotChanges();
    // ShotChanges: every film opened has its cuts found with its waveform.
    void setFindShotChanges(bool find);

private:
    void connectActions();
    void subtitleSelected(int originalRow, int correctedRow);
    void documentOpened(const QString &path);
    void showPosition();
    void showSubtitleAtPosition();
    void showLoaded();
    void showFailure(const MediaError &error);
    // "No picture" for a sound file, or why the frame of a time is not shown.
    void showPictureNote();
    void showPeaks(const Peaks &peaks);
    void showPeaksFailure(const MediaError &error);
    void listAudioTracks(const QList<AudioTrack> &tracks);
    void chooseAudioTrack(int streamIndex);
    void showPanes(bool videoOpen);
    // The panes' sizes are kept while they are hidden and given back when
    // they show, as a hidden dock's size is not laid out.
    void rememberPaneSizes();
    void resizePanes();
    void playSelectedSubtitle();
    void playAroundSubtitle();
    // The selected corrected subtitle's start or end at the frame on screen.
    void setTimeFromVideo(bool start);
    // The selected subtitle's start changed: the picture goes there.
    void followSelectedStart();
    void computeWaveform();
    void showWaveformCancelled();
    void showShotChanges();
    void stepToShotChange(bool forward);

    QMainWindow &m_window;
    SubtitleDocument &m_document;
    SubtitlePanes &m_panes;
    Prompter &m_prompter;
    const LangDoc &m_lang;
    std::unique_ptr<VideoActions> m_actions;
    VideoPlayer::AudioOutput m_audio;
    VideoPlayer *m_player = nullptr;
    FramePrefetcher *m_prefetcher = nullptr; // the player's
    PeakJob *m_peakJob;
    QDockWidget *m_videoDock;
    QDockWidget *m_timelineDock;
    VideoPane *m_videoPane;
    TimelinePane *m_timelinePane;
    bool m_autoOpen = true;
    QSize m_paneSizes; // the video's width, the timeline's height, in pixels
    // The selected subtitle's times, for "play the selected subtitle", and
    // its row when it is one of the corrected list.
    qint64 m_selectedStartMs = -1;
    qint64 m_selectedEndMs = -1;
    QPersistentModelIndex m_selectedCorrected;
    QString m_waveformNote;
    bool m_waveformCancelled = false;
    FilmShots *m_shots;
    bool m_findShotChanges = false; // with every film opened (ShotChanges)
    bool m_peaksPending = false;    // the job still owes the waveform
};
