// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "CrossFade.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define OZV_HAVE_AVX2_PATH 1
#endif

namespace ozv {

void drawCrossFade(QPainter& painter, const QRect& rect, const QImage& start, const QImage& target,
                   double p)
{
    const double startOpacity = std::clamp(1.0 - p, 0.0, 1.0);
    const double targetOpacity = std::clamp(p, 0.0, 1.0);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    auto draw = [&](const QImage& picture, double opacity) {
        if (picture.isNull() || opacity <= 0) return;
        painter.setOpacity(opacity);
        if (picture.size() == rect.size())
            painter.drawImage(rect.topLeft(), picture); // prepared at the window's size: no scaling
        else
            painter.drawImage(rect, picture);
    };
    draw(start, startOpacity);
    draw(target, targetOpacity);
    painter.restore();
}

namespace {

// x * a / 255 for x, a in 0..255, rounded, as the painter's own byte arithmetic does it.
inline std::uint32_t mul255(std::uint32_t x, std::uint32_t a)
{
    const std::uint32_t t = x * a + 128;
    return (t + (t >> 8)) >> 8;
}

// One premultiplied pixel of each picture, weighed by the start's opacity `a` and the target's
// `b` (0..255): t + s * (1 - alpha(t)), on opaque black.
inline std::uint32_t blendPixel(std::uint32_t s, std::uint32_t t, std::uint32_t a, std::uint32_t b)
{
    const std::uint32_t ta = mul255(t >> 24, b);
    const std::uint32_t keep = 255 - ta;
    std::uint32_t out = 0xff000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t sc = mul255((s >> shift) & 0xff, a);
        const std::uint32_t tc = mul255((t >> shift) & 0xff, b);
        out |= std::min<std::uint32_t>(tc + mul255(sc, keep), 255) << shift;
    }
    return out;
}

#if defined(__SSE2__)
// x * a / 255 on eight 16-bit lanes (x * a + 128, plus its high byte, over 256).
inline __m128i mul255x8(__m128i x, __m128i a)
{
    const __m128i t = _mm_add_epi16(_mm_mullo_epi16(x, a), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// Two pixels, unpacked to 16-bit lanes.
inline __m128i blendTwo(__m128i s, __m128i t, __m128i a, __m128i b)
{
    const __m128i sc = mul255x8(s, a);
    const __m128i tc = mul255x8(t, b);
    // The target's alpha in all four lanes of its pixel.
    __m128i ta = _mm_shufflelo_epi16(tc, _MM_SHUFFLE(3, 3, 3, 3));
    ta = _mm_shufflehi_epi16(ta, _MM_SHUFFLE(3, 3, 3, 3));
    const __m128i keep = _mm_sub_epi16(_mm_set1_epi16(255), ta);
    return _mm_add_epi16(tc, mul255x8(sc, keep));
}
#endif

// One frame's opacities, the start's `a` and the target's `b` (0..255), and the weights of both
// pictures where the target is opaque or clear: then each output channel is S * ws + T * wt over
// 256, the blend's own arithmetic folded into two factors. Worked out once a frame.
struct Blend
{
    std::uint32_t a, b;
    std::uint16_t startOverOpaque, startOverClear, target;
};

Blend blendFor(std::uint32_t a, std::uint32_t b)
{
    Blend w{};
    w.a = a;
    w.b = b;
    w.target = std::uint16_t(std::lround(b * 256.0 / 255.0));
    w.startOverClear = std::uint16_t(std::lround(a * 256.0 / 255.0));
    const long overOpaque = std::lround(a * (255.0 - b) * 256.0 / (255.0 * 255.0));
    w.startOverOpaque = std::uint16_t(std::min<long>(overOpaque, 256 - w.target)); // <= 255*256
    return w;
}

#if defined(OZV_HAVE_AVX2_PATH)
__attribute__((target("avx2"))) inline __m256i mul255x16(__m256i x, __m256i a)
{
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, a), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// S * ws + T * wt over 256, on sixteen 16-bit lanes.
__attribute__((target("avx2"))) inline __m256i weighAvx2(__m256i sc, __m256i ws, __m256i tc,
                                                         __m256i wt)
{
    const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(sc, ws), _mm256_mullo_epi16(tc, wt));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
}

// The full blend of four pixels unpacked to 16-bit lanes (as blendTwo).
__attribute__((target("avx2"))) inline __m256i blendAvx2(__m256i sc, __m256i tc, __m256i a,
                                                         __m256i b)
{
    const __m256i sw = mul255x16(sc, a), tw = mul255x16(tc, b);
    const __m256i ta = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(tw, _MM_SHUFFLE(3, 3, 3, 3)),
                                              _MM_SHUFFLE(3, 3, 3, 3));
    return _mm256_add_epi16(tw, mul255x16(sw, _mm256_sub_epi16(_mm256_set1_epi16(255), ta)));
}

// Eight pixels a step. Where all eight target pixels are opaque (the picture itself) or clear
// (its letterbox bands), the frame is two multiplies a channel; else the full blend. The frame
// is streamed past the caches: it is written once, and a large one would only push the pictures
// (and everything else) out of them.
__attribute__((target("avx2"))) int blendLineAvx2(const std::uint32_t* s, const std::uint32_t* t,
                                                  std::uint32_t* out, int n, const Blend& w)
{
    const std::uint32_t a = w.a, b = w.b;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alpha = _mm256_set1_epi32(int(0xff000000u));
    const __m256i va = _mm256_set1_epi16(short(a)), vb = _mm256_set1_epi16(short(b));
    const __m256i wOpaque = _mm256_set1_epi16(short(w.startOverOpaque));
    const __m256i wClear = _mm256_set1_epi16(short(w.startOverClear));
    const __m256i wTarget = _mm256_set1_epi16(short(w.target));
    int x = 0;
    for (; x + 8 <= n; x += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + x));
        const __m256i tv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + x));
        const __m256i sl = _mm256_unpacklo_epi8(sv, zero), sh = _mm256_unpackhi_epi8(sv, zero);
        const __m256i tl = _mm256_unpacklo_epi8(tv, zero), th = _mm256_unpackhi_epi8(tv, zero);
        __m256i lo, hi;
        const bool opaque = _mm256_testc_si256(tv, alpha);
        if (opaque || _mm256_testz_si256(tv, alpha)) {
            const __m256i ws = opaque ? wOpaque : wClear;
            lo = weighAvx2(sl, ws, tl, wTarget);
            hi = weighAvx2(sh, ws, th, wTarget);
        } else {
            lo = blendAvx2(sl, tl, va, vb);
            hi = blendAvx2(sh, th, va, vb);
        }
        _mm256_stream_si256(reinterpret_cast<__m256i*>(out + x),
                            _mm256_or_si256(_mm256_packus_epi16(lo, hi), alpha));
    }
    return x;
}

// What this processor offers, and what the compose may use of it (tests lower the latter).
const int kSupportedWidth =
    __builtin_cpu_supports("avx2") ? int(VectorWidth::Avx2) : int(VectorWidth::Sse2);
#elif defined(__SSE2__)
const int kSupportedWidth = int(VectorWidth::Sse2);
#else
const int kSupportedWidth = int(VectorWidth::Scalar);
#endif

std::atomic<int> g_width{kSupportedWidth};

void blendLine(const std::uint32_t* s, const std::uint32_t* t, std::uint32_t* out, int n,
               const Blend& w)
{
    const std::uint32_t a = w.a, b = w.b;
    const int width = g_width.load(std::memory_order_relaxed);
    int x = 0;
#if defined(OZV_HAVE_AVX2_PATH)
    // The frame's lines are aligned to a cache line, for the streamed (aligned) stores.
    if (width >= int(VectorWidth::Avx2) && reinterpret_cast<std::uintptr_t>(out) % 32 == 0)
        x = blendLineAvx2(s, t, out, n, w);
#endif
#if defined(__SSE2__)
    if (width >= int(VectorWidth::Sse2)) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i va = _mm_set1_epi16(short(a)), vb = _mm_set1_epi16(short(b));
        const __m128i opaque = _mm_set1_epi32(int(0xff000000u));
        for (; x + 4 <= n; x += 4) {
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
            const __m128i tv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + x));
            const __m128i lo =
                blendTwo(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(tv, zero), va, vb);
            const __m128i hi =
                blendTwo(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(tv, zero), va, vb);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                             _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
        }
    }
#endif
    for (; x < n; ++x)
        out[x] = blendPixel(s[x], t[x], a, b);
}

} // namespace

VectorWidth crossFadeVectorWidth()
{
    return VectorWidth(g_width.load(std::memory_order_relaxed));
}

VectorWidth setCrossFadeVectorWidth(VectorWidth widest)
{
    const int width = std::min(int(widest), kSupportedWidth);
    g_width.store(width, std::memory_order_relaxed);
    return VectorWidth(width);
}

void composeCrossFade(const QImage& start, const QImage& target, double p, QSize size, QImage& out)
{
    if (out.size() != size || out.format() != QImage::Format_RGB32) {
        // Lines aligned to 64 bytes (a cache line), for whole-line vector stores.
        const qsizetype line = (qsizetype(size.width()) * 4 + 63) / 64 * 64;
        void* bits =
            std::aligned_alloc(64, std::size_t(std::max<qsizetype>(line * size.height(), 64)));
        if (!bits) throw std::bad_alloc();
        out = QImage(
            static_cast<uchar*>(bits), size.width(), size.height(), line, QImage::Format_RGB32,
            [](void* memory) { std::free(memory); }, bits);
    }
    if (size.isEmpty()) return;
    auto usable = [size](const QImage& picture) {
        return picture.isNull() ||
               (picture.size() == size && picture.format() == QImage::Format_ARGB32_Premultiplied);
    };
    if (!usable(start) || !usable(target)) {
        out.fill(Qt::black);
        QPainter painter(&out);
        drawCrossFade(painter, out.rect(), start, target, p);
        return;
    }
    // The painter's opacity is a byte: the same rounding keeps both ways within a step.
    const auto a = std::uint32_t(std::lround(std::clamp(1.0 - p, 0.0, 1.0) * 255));
    const auto b = std::uint32_t(std::lround(std::clamp(p, 0.0, 1.0) * 255));
    const bool haveStart = !start.isNull() && a > 0, haveTarget = !target.isNull() && b > 0;
    const Blend blend = blendFor(a, b);
    const int w = size.width();
    // A missing picture is a transparent line: the blend then shows the other one on black.
    std::vector<std::uint32_t> none(haveStart != haveTarget ? std::size_t(w) : 0, 0u);
    uchar* frame = out.bits();
    const uchar* startBits = haveStart ? start.constBits() : nullptr;
    const uchar* targetBits = haveTarget ? target.constBits() : nullptr;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(frame + y * out.bytesPerLine());
        const auto* s =
            startBits ? reinterpret_cast<const std::uint32_t*>(startBits + y * start.bytesPerLine())
                      : none.data();
        const auto* t =
            targetBits
                ? reinterpret_cast<const std::uint32_t*>(targetBits + y * target.bytesPerLine())
                : none.data();
        if (startBits || targetBits)
            blendLine(s, t, line, w, blend);
        else
            std::fill(line, line + w, 0xff000000u);
    }
#if defined(__SSE2__)
    _mm_sfence(); // the streamed frame is whole before it is handed on
#endif
}

} // namespace ozv
