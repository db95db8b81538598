// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/filmreview.h"

#include "document/prompter.h"
#include "document/timecode.h"
#include "editor/subtitledocument.h"
#include "editor/subtitlelist.h"
#include "editor/subtitletablemodel.h"
#include "lang/form1messages.h"
#include "lang/langdoc.h"
#include "media/audiotrack.h"
#include "media/frames/frameprefetcher.h"
#include "media/mediaerror.h"
#include "media/peakjob.h"
#include "media/peaks.h"
#include "settings/settings.h"
#include "ui/subtitles/subtitlepanes.h"
#include "ui/shots/filmshots.h"
#include "ui/twips.h"
#include "ui/video/framesahead.h"
#include "ui/video/timeline/timelinepane.h"
#include "ui/video/timeline/timelineview.h"
#include "ui/video/videoactions.h"
#include "ui/video/videopane.h"
#include "ui/video/videopicture.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QDockWidget>
#include <QTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSlider>
#include <QToolButton>

#include <cmath>

namespace {

// What a video beside a subtitle file may be called, most likely first;
// the sound files give a waveform and no picture.
const QStringList VideoSuffixes{QStringLiteral("mkv"), QStringLiteral("mp4"), QStringLiteral("webm"),
                                QStringLiteral("avi"), QStringLiteral("mov"), QStringLiteral("m4v"),
                                QStringLiteral("ts")};
const QStringList SoundSuffixes{QStringLiteral("wav"), QStringLiteral("mp3"), QStringLiteral("flac"),
                                QStringLiteral("m4a"), QStringLiteral("ogg")};

// Taken when a film does not say its frame rate.
constexpr double AssumedFrameRate = 25;
// How far "play around the subtitle" starts before it and ends after it.
constexpr qint64 AroundMs = 1'000;

} // namespace

FilmReview::FilmReview(QMainWindow &window, SubtitleDocument &document, SubtitlePanes &panes, Prompter &prompter,
                       const LangDoc &lang, VideoPlayer::AudioOutput audio, const QString &cacheFolder)
    : QObject(&window), m_window(window), m_document(document), m_panes(panes), m_prompter(prompter), m_lang(lang),
      m_actions(std::make_unique<VideoActions>(window)), m_audio(audio),
      m_peakJob(new PeakJob(cacheFolder, this)), m_videoDock(new QDockWidget(QStringLiteral("Video"), &window)),
      m_timelineDock(new QDockWidget(QStringLiteral("Timeline"), &window)),
      m_videoPane(new VideoPane(*m_actions, m_videoDock)), m_timelinePane(new TimelinePane(document, m_timelineDock)),
      m_shots(new FilmShots(lang, this))
{
    m_videoDock->setObjectName(QStringLiteral("dockVideo"));
    m_timelineDock->setObjectName(QStringLiteral("dockTimeline"));
    m_videoDock->setWidget(m_videoPane);
    m_timelineDock->setWidget(m_timelinePane);
    // The video beside the timeline, under the lists: beside the lists it
    // would squeeze their texts out of sight on all but the widest screens.
    window.addDockWidget(Qt::BottomDockWidgetArea, m_timelineDock);
    window.splitDockWidget(m_timelineDock, m_videoDock, Qt::Horizontal);
    m_videoDock->hide();
    m_timelineDock->hide();
    m_videoPane->volume().setValue(100);
    connectActions();
    retranslate();
    showPanes(false);
}

FilmReview::~FilmReview()
{
    // The panes show the document, which may go right after this.
    delete m_timelineDock;
    delete m_videoDock;
}

VideoPlayer &FilmReview::player()
{
    if (m_player)
        return *m_player;
    m_player = new VideoPlayer(m_audio, this);
    m_prefetcher = new FramePrefetcher(*m_player);
    m_player->setVolume(m_videoPane->playingVolume());
    m_player->setFrameSize(m_videoPane->picture().size());
    connect(m_player, &VideoPlayer::loaded, this, &FilmReview::showLoaded);
    connect(m_player, &VideoPlayer::failed, this, &FilmReview::showFailure);
    connect(m_player, &VideoPlayer::frameReady, this, [this] { m_videoPane->picture().setFrame(m_player->frame()); });
    connect(m_player, &VideoPlayer::positionChanged, this, &FilmReview::showPosition);
    connect(m_player, &VideoPlayer::seekFinished, this, [this] {
        showPictureNote();
        showPosition();
    });
    connect(m_player, &VideoPlayer::pausedChanged, this, [this](bool paused) { m_videoPane->showPlaying(!paused); });
    return *m_player;
}

TimelineView &FilmReview::timeline() const
{
    return m_timelinePane->view();
}

void FilmReview::connectActions()
{
    const VideoActions &a = *m_actions;
    connect(a.mnuCloseVideo, &QAction::triggered, this, &FilmReview::closeVideo);
    connect(a.mnuPlayPause, &QAction::triggered, this, [this] {
        if (player().isPaused())
            player().play();
        else
            player().pause();
    });
    connect(a.mnuPlaySubtitle, &QAction::triggered, this, &FilmReview::playSelectedSubtitle);
    connect(a.mnuFrameBack, &QAction::triggered, this, [this] { player().stepBackward(); });
    connect(a.mnuFrameForward, &QAction::triggered, this, [this] { player().stepForward(); });
    connect(a.mnuPlayAround, &QAction::triggered, this, &FilmReview::playAroundSubtitle);
    connect(a.mnuSetStartFromVideo, &QAction::triggered, this, [this] { setTimeFromVideo(true); });
    connect(a.mnuSetEndFromVideo, &QAction::triggered, this, [this] { setTimeFromVideo(false); });
    connect(a.speeds, &QActionGroup::triggered, this,
            [this](QAction *item) { player().setSpeed(item->data().toDouble()); });
    connect(a.mnuComputeWaveform, &QAction::triggered, this, &FilmReview::computeWaveform);
    connect(a.mnuZoomIn, &QAction::triggered, &timeline(), &TimelineView::zoomIn);
    connect(a.mnuZoomOut, &QAction::triggered, &timeline(), &TimelineView::zoomOut);
    connect(a.mnuShowVideo, &QAction::toggled, this, [this](bool shown) {
        m_videoDock->setVisible(shown && isOpen());
    });
    connect(a.mnuShowTimeline, &QAction::toggled, this, [this](bool shown) {
        m_timelineDock->setVisible(shown && isOpen());
    });
    connect(a.mnuShowOriginal, &QAction::toggled, this, &FilmReview::showSubtitleAtPosition);
    // A pane closed with its own button unticks its menu item.
    connect(m_videoDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible && isOpen() && !m_window.isMinimized() && m_videoDock->isHidden())
            m_actions->mnuShowVideo->setChecked(false);
    });
    connect(m_timelineDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible && isOpen() && !m_window.isMinimized() && m_timelineDock->isHidden())
            m_actions->mnuShowTimeline->setChecked(false);
    });
    connect(m_videoPane, &VideoPane::playingVolumeChanged, this, [this](int volume) {
        if (m_player)
            m_player->setVolume(volume);
    });
    connect(&m_videoPane->picture(), &VideoPicture::resized, this, [this](const QSize &size) {
        if (m_player)
            m_player->setFrameSize(size);
    });

    connect(m_peakJob, &PeakJob::progress, this, [this](double fraction) {
        m_timelinePane->showProgress(GetLangText(m_lang, m_peaksPending ? Form1Msg::VideoComputingWaveform
                                                                        : Form1Msg::FindingShotChanges),
                                     fraction);
    });
    connect(m_peakJob, &PeakJob::finished, this, [this](const Peaks &peaks, bool) { showPeaks(peaks); });
    connect(m_peakJob, &PeakJob::shotChangesFound, m_shots, &FilmShots::found);
    connect(m_peakJob, &PeakJob::shotChangesFailed, m_shots, &FilmShots::failed);
    connect(m_shots, &FilmShots::changed, this, &FilmReview::showShotChanges);
    connect(a.mnuFindShotChanges, &QAction::triggered, this, &FilmReview::findShotChanges);
    connect(a.mnuNextShotChange, &QAction::triggered, this, [this] { stepToShotChange(true); });
    connect(a.mnuPrevShotChange, &QAction::triggered, this, [this] { stepToShotChange(false); });
    connect(m_peakJob, &PeakJob::failed, this, &FilmReview::showPeaksFailure);
    connect(m_timelinePane, &TimelinePane::cancelRequested, this, [this] {
        m_peakJob->cancel();
        m_timelinePane->hideProgress();
        if (m_peaksPending)
            showWaveformCancelled();
        m_peaksPending = false;
        m_shots->cancel();
    });

    TimelineView &view = timeline();
    connect(&view, &TimelineView::seekRequested, this, [this](qint64 ms) {
        if (isOpen())
            m_player->seek(ms);
    });
    connect(&view, &TimelineView::originalRowActivated, this, [this](int row) { m_panes.showRecord(row + 1); });
    connect(&view, &TimelineView::correctedRowActivated, &m_panes, &SubtitlePanes::showCorrected);
    connect(&view, &TimelineView::waveformLinkActivated, a.mnuComputeWaveform, &QAction::trigger);
    connect(&m_panes, &SubtitlePanes::subtitleSelected, this, &FilmReview::subtitleSelected);
    connect(&m_document, &SubtitleDocument::pathChanged, this, &FilmReview::documentOpened);
    // The subtitle over the picture follows every change of the lists.
    for (const SubtitleList *list : {&m_document.originalList(), &m_document.correctedList()})
        connect(list, &SubtitleList::changed, this, &FilmReview::showSubtitleAtPosition);
    connect(&m_document.correctedList(), &SubtitleList::changed, this, &FilmReview::followSelectedStart);
}

QStringList FilmReview::mediaSuffixes()
{
    return VideoSuffixes + SoundSuffixes;
}

bool FilmReview::isMediaFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return VideoSuffixes.contains(suffix) || SoundSuffixes.contains(suffix);
}

QString FilmReview::videoBeside(const QString &subtitlePath)
{
    const QFileInfo subtitles(subtitlePath);
    const QDir folder = subtitles.absoluteDir();
    // "movie.en.srt" tries "movie.en.*", then "movie.*".
    QStringList bases{subtitles.completeBaseName()};
    if (const qsizetype dot = bases.first().lastIndexOf(u'.'); dot > 0)
        bases << bases.first().left(dot);
    const QStringList entries = folder.entryList(QDir::Files | QDir::Readable);
    for (const QString &base : std::as_const(bases)) {
        for (const QString &suffix : VideoSuffixes) {
            for (const QString &entry : entries) {
                if (entry.size() == base.size() + 1 + suffix.size() && entry.startsWith(base)
                    && entry.at(base.size()) == u'.' && entry.endsWith(suffix, Qt::CaseInsensitive))
                    return folder.filePath(entry);
            }
        }
    }
    return {};
}

void FilmReview::openVideo(const QString &path)
{
    // The film open stays until the new one has loaded: a file the player
    // refuses leaves it as it was.
    player().open(path);
    // Cuts being found from now: F8 waits for them; the old film's go.
    if (m_findShotChanges)
        m_shots->startFinding();
}

void FilmReview::closeVideo()
{
    m_peakJob->cancel();
    m_peaksPending = false;
    m_timelinePane->hideProgress();
    m_shots->clear();
    if (m_player)
        m_player->close();
    m_document.setFrameMs(qint64(std::ceil(1000 / AssumedFrameRate)));
    timeline().setPeaks(nullptr);
    timeline().setDurationMs(0);
    m_videoPane->picture().setFrame({});
    m_videoPane->picture().setSubtitle({});
    listAudioTracks({});
    showPanes(false);
}

void FilmReview::showPanes(bool videoOpen)
{
    const bool wereHidden = m_videoDock->isHidden() && m_timelineDock->isHidden();
    if (!videoOpen)
        rememberPaneSizes();
    m_videoDock->setVisible(videoOpen && m_actions->mnuShowVideo->isChecked());
    m_timelineDock->setVisible(videoOpen && m_actions->mnuShowTimeline->isChecked());
    // Once the docks are laid out: sizes given before are divided anew.
    if (videoOpen && wereHidden)
        QTimer::singleShot(0, this, &FilmReview::resizePanes);
    m_actions->mnuCloseVideo->setEnabled(videoOpen);
    for (QAction *action : {m_actions->mnuPlayPause, m_actions->mnuPlaySubtitle, m_actions->mnuFrameBack,
                            m_actions->mnuFrameForward, m_actions->mnuPlayAround, m_actions->mnuSetStartFromVideo,
                            m_actions->mnuSetEndFromVideo, m_actions->mnuZoomIn, m_actions->mnuZoomOut,
                            m_actions->mnuComputeWaveform, m_actions->mnuFindShotChanges,
                            m_actions->mnuImportShotChanges})
        action->setEnabled(videoOpen);
    showShotChanges();
    m_actions->mnuSpeed->setEnabled(videoOpen);
}

void FilmReview::showLoaded()
{
    showPanes(true);
    m_waveformNote.clear();
    m_waveformCancelled = false;
    timeline().setWaveformNote({});
    timeline().setPeaks(nullptr);
    timeline().setDurationMs(m_player->durationMs());
    // Times set by hand keep a subtitle at least a frame long.
    const double frameRate = m_player->frameRate() > 0 ? m_player->frameRate() : AssumedFrameRate;
    m_document.setFrameMs(qint64(std::ceil(1000 / frameRate)));
    listAudioTracks(m_player->audioTracks());
    // The waveform is computed beside the player, with the cuts in the same pass.
    m_timelinePane->showProgress(GetLangText(m_lang, Form1Msg::VideoComputingWaveform), 0);
    m_peaksPending = true;
    // Asked for when the film was opened, and not cancelled since.
    const bool findShots = m_shots->isFinding();
    if (!findShots)
        m_shots->clear();
    m_peakJob->start(m_player->path(), -1, findShots);
    m_videoPane->picture().setFrame(m_player->frame());
    showPictureNote();
    m_videoPane->picture().setPictureSize(m_player->videoSize());
    m_player->setFrameSize(m_videoPane->picture().size());
    // Straight to the subtitle already selected, if any.
    if (m_selectedStartMs >= 0)
        m_player->seek(m_selectedStartMs);
    showPosition();
}

void FilmReview::showFailure(const MediaError &error)
{
    // The subtitles are not touched: only the film goes, and a file refused
    // in its place leaves it open.
    const QString message = error.describe(m_lang);
    if (!isOpen() || error.path == m_player->path())
        closeVideo();
    else if (m_shots->isFinding())
        m_shots->failed(); // the new film's, which never came
    if (!message.isEmpty())
        m_prompter.warn(message);
}

void FilmReview::showPictureNote()
{
    QString note;
    if (isOpen() && !m_player->hasVideo())
        note = GetLangText(m_lang, m_shots->state() == FilmShots::State::NoPicture ? Form1Msg::NoPictureNoShotChanges
                                                                                   : Form1Msg::VideoNoPicture);
    else if (isOpen() && !m_player->isFrameExact())
        note = GetLangText(m_lang, Form1Msg::MediaInexactSeek).arg(MillisecondsToTimeText(m_player->positionMs()));
    m_videoPane->picture().setNote(note);
}

void FilmReview::showPeaks(const Peaks &peaks)
{
    m_peaksPending = false;
    if (!m_shots->isFinding())
        m_timelinePane->hideProgress();
    timeline().setPeaks(std::make_shared<const Peaks>(peaks));
}

void FilmReview::showPeaksFailure(const MediaError &error)
{
    m_peaksPending = false;
    if (!m_shots->isFinding())
        m_timelinePane->hideProgress();
    m_waveformCancelled = false;
    m_waveformNote = error.kind == MediaError::Kind::NoSound ? GetLangText(m_lang, Form1Msg::VideoNoSound)
                                                              : error.describe(m_lang);
    timeline().setPeaks(nullptr);
    timeline().setWaveformNote(m_waveformNote);
}

void FilmReview::listAudioTracks(const QList<AudioTrack> &tracks)
{
    for (QAction *item : m_actions->audioTracks->actions())
        delete item;
    for (const AudioTrack &track : tracks) {
        QAction *item = m_actions->mnuAudioTrack->addAction(track.label(m_lang));
        item->setCheckable(true);
        item->setData(track.streamIndex);
        const int playing = m_player ? m_player->audioTrack() : -1;
        item->setChecked(track.streamIndex == playing || (playing < 0 && track.number == 1));
        m_actions->audioTracks->addAction(item);
        connect(item, &QAction::triggered, this, [this, index = track.streamIndex] { chooseAudioTrack(index); });
    }
    m_actions->mnuAudioTrack->setEnabled(tracks.size() > 1);
}

void FilmReview::chooseAudioTrack(int streamIndex)
{
    m_player->setAudioTrack(streamIndex);
    timeline().setPeaks(nullptr);
    m_timelinePane->showProgress(GetLangText(m_lang, Form1Msg::VideoComputingWaveform), 0);
    m_peaksPending = true;
    m_peakJob->start(m_player->path(), streamIndex, m_shots->isFinding());
}

void FilmReview::subtitleSelected(int originalRow, int correctedRow)
{
    timeline().setSelectedRows(originalRow, correctedRow);
    const SubtitleList &list = correctedRow >= 0 ? m_document.correctedList() : m_document.originalList();
    const int row = correctedRow >= 0 ? correctedRow : originalRow;
    m_selectedCorrected = QPersistentModelIndex(m_document.correctedModel().index(correctedRow, 0));
    if (row < 0)
        return;
    m_selectedStartMs = list.startMs(row);
    m_selectedEndMs = list.endMs(row);
    if (isOpen() && m_selectedStartMs >= 0)
        m_player->seek(m_selectedStartMs);
    // Kept until the film is loaded, if it is still on its way.
    if (m_player)
        m_prefetcher->prefetch(framesAhead(m_document, originalRow, correctedRow));
}

void FilmReview::followSelectedStart()
{
    if (!m_selectedCorrected.isValid())
        return;
    const SubtitleList &list = m_document.correctedList();
    const int row = m_selectedCorrected.row();
    m_selectedEndMs = list.endMs(row);
    if (list.startMs(row) == m_selectedStartMs)
        return;
    m_selectedStartMs = list.startMs(row);
    if (isOpen())
        m_player->seek(m_selectedStartMs);
}

void FilmReview::playSelectedSubtitle()
{
    if (isOpen() && m_selectedStartMs >= 0 && m_selectedEndMs > m_selectedStartMs)
        m_player->playRange(m_selectedStartMs, m_selectedEndMs);
}

void FilmReview::playAroundSubtitle()
{
    if (!isOpen() || m_selectedStartMs < 0)
        return;
    qint64 endMs = std::max(m_selectedEndMs, m_selectedStartMs) + AroundMs;
    if (m_player->durationMs() > 0)
        endMs = std::min(endMs, m_player->durationMs());
    m_player->playRange(std::max<qint64>(0, m_selectedStartMs - AroundMs), endMs);
}

void FilmReview::setTimeFromVideo(bool start)
{
    const int row = m_panes.selectedCorrectedRow();
    if (!isOpen() || row < 0)
        return;
    const auto field = start ? SubtitleDocument::TimeField::Start : SubtitleDocument::TimeField::End;
    const qint64 positionMs = m_player->positionMs();
    // Refused as a time typed past the subtitle's limits is.
    if (const QString refusal = m_document.timeRefusal(row, field, positionMs); !refusal.isEmpty())
        m_prompter.warn(refusal);
    else
        m_document.editTimeMs(row, field, positionMs);
}

void FilmReview::computeWaveform()
{
    if (!isOpen())
        return;
    m_waveformCancelled = false;
    m_waveformNote.clear();
    timeline().setWaveformNote({});
    m_timelinePane->showProgress(GetLangText(m_lang, Form1Msg::VideoComputingWaveform), 0);
    m_peaksPending = true;
    m_peakJob->start(m_player->path(), m_player->audioTrack(), m_shots->isFinding());
}

void FilmReview::findShotChanges()
{
    if (!isOpen())
        return;
    // The peaks come from the cache when they are there, so only the
    // picture is read.
    m_shots->startFinding();
    m_timelinePane->showProgress(GetLangText(m_lang, Form1Msg::FindingShotChanges), 0);
    m_peaksPending = !timeline().hasWaveform();
    m_peakJob->start(m_player->path(), m_player->audioTrack(), true);
}

void FilmReview::setFindShotChanges(bool find)
{
    // Turned on with a film open: its cuts are found now.
    const bool wasOff = !m_findShotChanges;
    m_findShotChanges = find;
    if (wasOff && find && isOpen() && m_shots->state() == FilmShots::State::None)
        findShotChanges();
}

void FilmReview::showShotChanges()
{
    timeline().setCutMs(m_shots->cutMs());
    if (!m_shots->isFinding() && !m_peaksPending)
        m_timelinePane->hideProgress();
    const bool hasCuts = isOpen() && !m_shots->cutMs().empty();
    for (QAction *action : {m_actions->mnuNextShotChange, m_actions->mnuPrevShotChange, m_actions->mnuExportShotChanges})
        action->setEnabled(hasCuts);
    showPictureNote();
}

void FilmReview::stepToShotChange(bool forward)
{
    if (!isOpen())
        return;
    const qint64 positionMs = m_player->positionMs();
    // A millisecond either way: the player may stand a rounding off the cut it went to.
    const qint64 cutMs = forward ? m_shots->nextCutMs(positionMs + 1) : m_shots->previousCutMs(positionMs - 1);
    if (cutMs >= 0)
        m_player->seek(cutMs);
}

void FilmReview::showWaveformCancelled()
{
    m_waveformCancelled = true;
    m_waveformNote = GetLangText(m_lang, Form1Msg::VideoWaveformCancelled);
    timeline().setWaveformNote(m_waveformNote, m_actions->mnuComputeWaveform->text().remove(u'&'));
}

void FilmReview::documentOpened(const QString &path)
{
    timeline().setSelectedRows(-1, -1);
    m_selectedStartMs = m_selectedEndMs = -1;
    m_selectedCorrected = QPersistentModelIndex();
    if (!m_autoOpen || path.isEmpty())
        return;
    // Another film's subtitles bring their own film; without one beside
    // them, the film open stays.
    const QString video = videoBeside(path);
    const QString open = m_player ? m_player->path() : QString();
    if (!video.isEmpty() && QFileInfo(video).absoluteFilePath() != QFileInfo(open).absoluteFilePath())
        openVideo(video);
}

void FilmReview::showPosition()
{
    if (!m_player)
        return;
    const qint64 positionMs = m_player->positionMs();
    m_videoPane->showPosition(positionMs, m_player->hasVideo() ? m_player->frameNumber() : -1);
    timeline().setPositionMs(positionMs);
    showSubtitleAtPosition();
}

void FilmReview::showSubtitleAtPosition()
{
    // Until a correction, the subtitles as read are all there is to see.
    const bool asRead = m_actions->mnuShowOriginal->isChecked() || !m_document.isCorrected();
    const SubtitleList &list = asRead ? m_document.originalList() : m_document.correctedList();
    if (!isOpen()) {
        m_videoPane->picture().setSubtitle({});
        return;
    }
    const double frameRate = m_player->frameRate();
    const qint64 frameMs = qint64(1000.0 / (frameRate > 0 ? frameRate : AssumedFrameRate));
    const int row = list.rowShownAt(m_player->positionMs(), frameMs);
    m_videoPane->picture().setSubtitle(row >= 0 ? list.text(row) : QString());
}

void FilmReview::applySettings(const Settings &settings)
{
    m_autoOpen = settings.AutoOpenVideo;
    setFindShotChanges(settings.ShotChanges);
    m_actions->mnuShowVideo->setChecked(settings.VideoPane);
    m_actions->mnuShowTimeline->setChecked(settings.TimelinePane);
    timeline().setSpanMs(settings.TimelineSpanMs);
    m_videoPane->volume().setValue(std::clamp(settings.VideoVolume, 0, 100));
    const Twips twips = Twips::forWidget(&m_window);
    m_paneSizes = QSize(twips.toPixels(settings.VideoPaneWidthTwips), twips.toPixels(settings.TimelinePaneHeightTwips));
    resizePanes();
}

void FilmReview::rememberPaneSizes()
{
    if (m_videoDock->isVisible())
        m_paneSizes.setWidth(m_videoDock->width());
    if (m_timelineDock->isVisible())
        m_paneSizes.setHeight(m_timelineDock->height());
}

void FilmReview::resizePanes()
{
    // Space left over is shared by weight, so the timeline is named too.
    const int videoWidth = std::min(m_paneSizes.width(), m_window.width() / 2);
    m_window.resizeDocks({m_timelineDock, m_videoDock}, {m_window.width() - videoWidth, videoWidth}, Qt::Horizontal);
    m_window.resizeDocks({m_timelineDock}, {m_paneSizes.height()}, Qt::Vertical);
}

void FilmReview::storeSettings(Settings &settings) const
{
    settings.VideoPane = m_actions->mnuShowVideo->isChecked();
    settings.TimelinePane = m_actions->mnuShowTimeline->isChecked();
    settings.TimelineSpanMs = qint32(timeline().spanMs());
    settings.VideoVolume = m_videoPane->volume().value();
    const Twips twips = Twips::forWidget(&m_window);
    // Sizes of panes shown; a hidden one keeps the size it was given.
    QSize sizes = m_paneSizes;
    if (m_videoDock->isVisible())
        sizes.setWidth(m_videoDock->width());
    if (m_timelineDock->isVisible())
        sizes.setHeight(m_timelineDock->height());
    settings.VideoPaneWidthTwips = twips.fromPixels(sizes.width());
    settings.TimelinePaneHeightTwips = twips.fromPixels(sizes.height());
}

void FilmReview::retranslate()
{
    // The lanes are named as the lists above them are.
    timeline().setLaneNames(m_panes.originalCaption().text(), m_panes.correctedCaption().text());
    m_videoPane->speed().setToolTip(m_actions->mnuSpeed->title().remove(u'&'));
    if (m_waveformCancelled)
        showWaveformCancelled();
    showPictureNote();
    if (m_player && !m_player->audioTracks().isEmpty())
        listAudioTracks(m_player->audioTracks());
}
