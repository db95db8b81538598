// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

struct mpv_handle;
struct mpv_render_context;

// mpv's software render API: takes the frames mpv's video output hands
// over and draws them into a QImage.
class MpvFrameRenderer
{
public:
    MpvFrameRenderer() = default;
    MpvFrameRenderer(const MpvFrameRenderer &) = delete;
    MpvFrameRenderer &operator=(const MpvFrameRenderer &) = delete;
    ~MpvFrameRenderer() { destroy(); }

    // Starts rendering for mpv; frameWaiting(context) is then called on
    // mpv's threads whenever a frame waits to be taken. On failure reason
    // says why.
    bool create(mpv_handle *mpv, void (*frameWaiting)(void *), void *context, QString &reason);
    // Must run before mpv itself is destroyed; no callback follows it.
    void destroy();
    // Stops the callbacks and hands over the context, for freeing elsewhere
    // (mpv_render_context_free, before mpv itself is destroyed).
    mpv_render_context *release();
    bool isValid() const { return m_render != nullptr; }

    // Whether the wake-up was for a new frame.
    bool takeUpdate();
    // Whether mpv holds a new frame not yet taken.
    bool hasNewFrame() const;
    // Draws the waiting frame at size into frame, which becomes a new
    // image when it is sized otherwise or shared; an empty size takes the
    // frame without drawing it.
    void render(const QSize &size, QImage &frame);
    // Takes the frame without drawing it, so mpv's video output goes on.
    void skip();

private:
    mpv_render_context *m_render = nullptr;
};
