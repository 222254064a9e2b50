// The tool-bar pixel processors over a 4096 × 4096 buffer of scattered
// colours (the worst case: no two neighbours alike), against a
// straightforward per-pixel HLS round trip: a textbook float conversion to
// hue, luminance and saturation and back, the luminance raised by 0.12.
// Reports megapixels per second ("MP/s").
//
// CEnBitmap::MakeDisabled on a tool-bar strip of 64 buttons (2304 × 36,
// magenta mask) against the same four processors run straight over a pixel
// buffer: the cost of the bitmap round trip and the buffer handling.
#include <tessiv/imaging/en_bitmap.h>
#include <tessiv/imaging/image_processor.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int kSide = 4096;
constexpr std::size_t kPixels = std::size_t(kSide) * kSide;

std::vector<RGBX> const &SourceImage()
{
    static std::vector<RGBX> const image = [] {
        std::vector<RGBX> pixels(kPixels);
        std::uint32_t state = 0x9E3779B9u;
        for (RGBX &pixel : pixels) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            pixel = RGBX(static_cast<COLORREF>(state & 0xFFFFFF));
        }
        return pixels;
    }();
    return image;
}

void CountPixels(benchmark::State &state)
{
    state.counters["MP/s"] = benchmark::Counter(double(kPixels) * double(state.iterations()) / 1e6,
                                                benchmark::Counter::kIsRate);
}

float HueChannel(float m1, float m2, float hue)
{
    if (hue > 360)
        hue -= 360;
    if (hue < 0)
        hue += 360;
    if (hue < 60)
        return m1 + (m2 - m1) * hue / 60;
    if (hue < 180)
        return m2;
    if (hue < 240)
        return m1 + (m2 - m1) * (240 - hue) / 60;
    return m1;
}

// The textbook round trip, all in float, luminance raised and clamped.
RGBX RaiseLuminance(RGBX pixel, float change)
{
    float const red = pixel.btRed / 255.0f, green = pixel.btGreen / 255.0f, blue = pixel.btBlue / 255.0f;
    float const max = std::max({red, green, blue}), min = std::min({red, green, blue});
    float luminance = (max + min) / 2;
    float hue = 0, saturation = 0;
    if (max != min) {
        float const delta = max - min;
        saturation = luminance <= 0.5f ? delta / (max + min) : delta / (2 - max - min);
        if (red == max)
            hue = (green - blue) / delta;
        else if (green == max)
            hue = 2 + (blue - red) / delta;
        else
            hue = 4 + (red - green) / delta;
        hue *= 60;
        if (hue < 0)
            hue += 360;
    }
    luminance = std::min(1.0f, luminance + change);
    if (saturation == 0) {
        BYTE const level = static_cast<BYTE>(luminance * 255);
        return RGBX(level, level, level);
    }
    float const m2 = luminance <= 0.5f ? luminance * (1 + saturation) : luminance + saturation - luminance * saturation;
    float const m1 = 2 * luminance - m2;
    return RGBX(static_cast<BYTE>(HueChannel(m1, m2, hue + 120) * 255),
                static_cast<BYTE>(HueChannel(m1, m2, hue) * 255),
                static_cast<BYTE>(HueChannel(m1, m2, hue - 120) * 255));
}

void RunProcessor(benchmark::State &state, C32BitImageProcessor &processor)
{
    std::vector<RGBX> source = SourceImage();
    std::vector<RGBX> dest(kPixels);
    CSize const size(kSide, kSide);
    for (auto _ : state) {
        processor.ProcessPixels(source.data(), size, dest.data(), size);
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}

void HighOurs(benchmark::State &state)
{
    CImageHigh high(0.12f);
    high.SetBkColor(255, 0, 255);
    RunProcessor(state, high);
}

void GrayerOurs(benchmark::State &state)
{
    CImageGrayer grayer;
    grayer.SetBkColor(255, 0, 255);
    RunProcessor(state, grayer);
}

void HlsRoundTrip(benchmark::State &state)
{
    std::vector<RGBX> const &source = SourceImage();
    std::vector<RGBX> dest(kPixels);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kPixels; ++i)
            dest[i] = RaiseLuminance(source[i], 0.12f);
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}

constexpr int kStripWidth = 2304;
constexpr int kStripHeight = 36;
constexpr COLORREF kMask = RGB(255, 0, 255);

// Scattered colours on a magenta background, as a button strip has.
std::vector<RGBX> const &StripImage()
{
    static std::vector<RGBX> const image = [] {
        std::vector<RGBX> pixels(std::size_t(kStripWidth) * kStripHeight);
        std::uint32_t state = 0x2545F491u;
        for (RGBX &pixel : pixels) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            pixel = (state >> 24) < 77 ? RGBX(kMask) : RGBX(static_cast<COLORREF>(state & 0xFFFFFF));
        }
        return pixels;
    }();
    return image;
}

void MakeDisabledOurs(benchmark::State &state)
{
    std::vector<RGBX> const &strip = StripImage();
    CEnBitmap bitmap;
    bitmap.Attach(CreateBitmap(kStripWidth, kStripHeight, 1, 32, strip.data()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kStripWidth, -kStripHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    for (auto _ : state) {
        // Every run starts from the full-colour strip.
        state.PauseTiming();
        SetDIBits(screen, bitmap, 0, kStripHeight, strip.data(), &info, DIB_RGB_COLORS);
        state.ResumeTiming();
        benchmark::DoNotOptimize(bitmap.MakeDisabled(kMask));
    }
    ReleaseDC(nullptr, screen);
}

void MakeDisabledDirect(benchmark::State &state)
{
    std::vector<RGBX> const &strip = StripImage();
    std::vector<RGBX> first(strip.size()), second(strip.size());
    CSize const size(kStripWidth, kStripHeight);
    CImageGrayer grayer;
    grayer.SetBkColor(255, 0, 255);
    CImageHigh high(0.12f);
    high.SetBkColor(255, 0, 255);
    for (auto _ : state) {
        std::copy(strip.begin(), strip.end(), first.begin());
        grayer.ProcessPixels(first.data(), size, second.data(), size);
        high.ProcessPixels(second.data(), size, first.data(), size);
        high.ProcessPixels(first.data(), size, second.data(), size);
        high.ProcessPixels(second.data(), size, first.data(), size);
        benchmark::DoNotOptimize(first.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(MakeDisabledOurs)->Name("make_disabled_2304x36/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(MakeDisabledDirect)->Name("make_disabled_2304x36/direct")->Unit(benchmark::kMillisecond);
BENCHMARK(HighOurs)->Name("high_0.12_4096/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(HlsRoundTrip)->Name("high_0.12_4096/hls_round_trip")->Unit(benchmark::kMillisecond);
BENCHMARK(GrayerOurs)->Name("grayer_4096/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(HlsRoundTrip)->Name("grayer_4096/hls_round_trip")->Unit(benchmark::kMillisecond);

}  // namespace
