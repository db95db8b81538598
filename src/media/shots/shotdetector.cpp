// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/shots/shotdetector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr int width = FrameThumbnail::width;
constexpr int height = FrameThumbnail::height;
// Each part of the picture may have moved this many thumbnail pixels
// between frames: 6 % of the width, a pan across the screen in 17 frames.
constexpr int shift = 4;
constexpr int paddedWidth = width + 2 * shift;
constexpr int paddedHeight = height + 2 * shift;
// Parts followed on their own, so that things moving different ways in one
// picture each find their match.
constexpr int regionColumns = 4;
constexpr int regionRows = 3;
constexpr int regionWidth = width / regionColumns;
constexpr int regionHeight = height / regionRows;
constexpr int regions = regionColumns * regionRows;
// The most different parts are left out of the score: something large
// moving fast in one corner does not make a cut.
constexpr int regionsCounted = regions * 3 / 4;
// Contrast is evened out down to this spread of grey levels; darker, flatter
// pictures (the black at the bottom of a fade) stay flat.
constexpr float flatSpread = 12.0f;
// Weight of how far brightness and colours moved as a whole, in shares of
// the full range: a fade of 10 frames to black adds about 0.2 a frame.
constexpr float spreadWeight = 4.0f;

// The area between two cumulative spreads: how far the values moved.
template <typename Below>
float moved(const Below &before, const Below &after)
{
    float area = 0;
    for (std::size_t i = 0; i < before.size(); ++i)
        area += std::abs(before[i] - after[i]);
    return area / float(before.size());
}

template <typename Share>
Share cumulative(const Share &share)
{
    Share below{};
    float sum = 0;
    for (std::size_t i = 0; i < share.size(); ++i)
        below[i] = sum += share[i];
    return below;
}

// The score a cut must reach, and how far it must rise above the mean of the
// frames around it (neighbours on each side), as a ratio and as a margin.
constexpr float lowestCut = 0.30f;
constexpr float aboveNeighbours = 1.4f;
constexpr float marginAboveNeighbours = 0.4f;
constexpr int neighbours = 8;
// Frames on each side of a cut compared across it: a flash of up to this
// many frames is not a cut.
constexpr int flashFrames = 3;
// A pair across a candidate less unlike than this share of the way from the
// neighbours' changes to the candidate's own shows the same shot on both sides.
constexpr float sameShot = 0.5f;

constexpr qint64 lookAhead = std::max(neighbours, flashFrames);
constexpr qint64 kept = lookAhead + flashFrames + 2;

} // namespace

ShotDetector::ShotDetector()
{
    m_scores.reserve(4096);
}

ShotDetector::Frame ShotDetector::prepare(const FrameThumbnail &thumbnail, double seconds)
{
    const auto &pixels = thumbnail.pixels;
    const float mean = std::accumulate(pixels.begin(), pixels.end(), 0.0f) / float(pixels.size());
    float squares = 0;
    for (const float value : pixels)
        squares += (value - mean) * (value - mean);
    const float spread = std::max(flatSpread, std::sqrt(squares / float(pixels.size())));

    Frame frame;
    frame.seconds = seconds;
    frame.greyBelow = cumulative(thumbnail.greyShare);
    frame.blueBelow = cumulative(thumbnail.blueShare);
    frame.redBelow = cumulative(thumbnail.redShare);
    frame.hasColour = thumbnail.hasColour;
    frame.padded.resize(std::size_t(paddedWidth * paddedHeight));
    for (int y = 0; y < paddedHeight; ++y) {
        const int from = std::clamp(y - shift, 0, height - 1);
        for (int x = 0; x < paddedWidth; ++x)
            frame.padded[std::size_t(y * paddedWidth + x)] =
                (thumbnail.at(std::clamp(x - shift, 0, width - 1), from) - mean) / spread;
    }
    return frame;
}

float ShotDetector::difference(const Frame &before, const Frame &after)
{
    std::array<float, regions> scores{};
    for (int region = 0; region < regions; ++region) {
        const int left = shift + (region % regionColumns) * regionWidth;
        const int top = shift + (region / regionColumns) * regionHeight;
        float best = std::numeric_limits<float>::max();
        for (int dy = -shift; dy <= shift; ++dy) {
            for (int dx = -shift; dx <= shift; ++dx) {
                float sum = 0;
                for (int y = top; y < top + regionHeight; ++y) {
                    const float *a = after.padded.data() + y * paddedWidth + left;
                    const float *b = before.padded.data() + (y + dy) * paddedWidth + left + dx;
                    for (int x = 0; x < regionWidth; ++x)
                        sum += std::abs(a[x] - b[x]);
                }
                best = std::min(best, sum);
            }
        }
        scores[std::size_t(region)] = best / float(regionWidth * regionHeight);
    }
    std::sort(scores.begin(), scores.end());
    const float parts = std::accumulate(scores.begin(), scores.begin() + regionsCounted, 0.0f) / float(regionsCounted);
    float spreads = moved(before.greyBelow, after.greyBelow);
    if (before.hasColour && after.hasColour)
        spreads += moved(before.blueBelow, after.blueBelow) + moved(before.redBelow, after.redBelow);
    return parts + spreadWeight * spreads;
}

const ShotDetector::Frame &ShotDetector::frameAt(qint64 index) const
{
    return m_recent[std::size_t(index - (m_frames - qint64(m_recent.size())))];
}

void ShotDetector::addFrame(const FrameThumbnail &thumbnail, double seconds)
{
    Frame frame = prepare(thumbnail, seconds);
    m_scores.push_back(m_recent.empty() ? 0.0f : difference(m_recent.back(), frame));
    m_recent.push_back(std::move(frame));
    ++m_frames;
    if (qint64(m_recent.size()) > kept)
        m_recent.pop_front();
    // A frame is decided once the frames after it that it is judged by are in.
    while (m_decided < m_frames - lookAhead)
        decide(m_decided++);
}

void ShotDetector::finish()
{
    while (m_decided < m_frames)
        decide(m_decided++);
}

void ShotDetector::decide(qint64 candidate)
{
    if (candidate < 1)
        return;
    const float score = m_scores[std::size_t(candidate)];
    if (score < lowestCut)
        return;
    // Higher than the frames right beside it, so that the frame after a cut
    // is not one too, and well above its neighbours on average.
    const qint64 first = std::max<qint64>(1, candidate - neighbours);
    const qint64 last = std::min(m_frames - 1, candidate + neighbours);
    float sum = 0;
    int count = 0;
    for (qint64 k = first; k <= last; ++k) {
        if (k == candidate)
            continue;
        const float other = m_scores[std::size_t(k)];
        if ((k == candidate - 1 && other >= score) || (k == candidate + 1 && other > score))
            return;
        sum += other;
        ++count;
    }
    const float mean = count > 0 ? sum / float(count) : 0.0f;
    if (score < aboveNeighbours * mean || score < mean + marginAboveNeighbours)
        return;
    // The same shot on both sides of a flash: a pair across it nearer the
    // shot's own changes than the candidate's.
    const float sameShotBelow = mean + sameShot * (score - mean);
    const qint64 oldest = m_frames - qint64(m_recent.size());
    for (qint64 before = candidate - 1; before >= std::max(oldest, candidate - 1 - flashFrames); --before) {
        for (qint64 after = candidate; after <= std::min(m_frames - 1, before + flashFrames + 1); ++after) {
            if (before == candidate - 1 && after == candidate)
                continue;
            if (difference(frameAt(before), frameAt(after)) < sameShotBelow)
                return;
        }
    }
    m_cutSeconds.push_back(frameAt(candidate).seconds);
}
