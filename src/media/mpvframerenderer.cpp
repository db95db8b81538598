// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mpvframerenderer.h"

#include <cstdlib>
#include <utility>

#include <mpv/render.h>

bool MpvFrameRenderer::create(mpv_handle *mpv, void (*frameWaiting)(void *), void *context, QString &reason)
{
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (const int created = mpv_render_context_create(&m_render, mpv, parameters); created < 0) {
        reason = QString::fromUtf8(mpv_error_string(created));
        m_render = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(m_render, frameWaiting, context);
    return true;
}

void MpvFrameRenderer::destroy()
{
    if (mpv_render_context *render = release())
        mpv_render_context_free(render);
}

mpv_render_context *MpvFrameRenderer::release()
{
    // mpv calls back under a lock that this call takes, so none runs after.
    if (m_render)
        mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    return std::exchange(m_render, nullptr);
}

bool MpvFrameRenderer::takeUpdate()
{
    return m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME);
}

bool MpvFrameRenderer::hasNewFrame() const
{
    mpv_render_frame_info info{};
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return m_render && mpv_render_context_get_info(m_render, parameters[0]) >= 0
           && (info.flags & MPV_RENDER_FRAME_INFO_PRESENT) && !(info.flags & MPV_RENDER_FRAME_INFO_REDRAW);
}

void MpvFrameRenderer::render(const QSize &size, QImage &frame)
{
    if (!m_render)
        return;
    if (size.isEmpty()) {
        skip();
        return;
    }
    // Rows aligned to 64 bytes keep mpv on its fast path; a frame someone
    // still holds is left alone and a new one made.
    size_t stride = (size_t(size.width()) * 4 + 63) / 64 * 64;
    if (frame.size() != size || !frame.isDetached()) {
        void *buffer = std::aligned_alloc(64, stride * size_t(size.height()));
        if (!buffer)
            return;
        frame = QImage(static_cast<uchar *>(buffer), size.width(), size.height(), qsizetype(stride),
                       QImage::Format_RGBX8888, [](void *data) { std::free(data); }, buffer);
    }
    int dimensions[2] = {size.width(), size.height()};
    int block = 0;
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_SW_SIZE, dimensions},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("rgb0")},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, frame.bits()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_render, parameters);
}

void MpvFrameRenderer::skip()
{
    if (!m_render)
        return;
    int skip = 1;
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_render, parameters);
}
