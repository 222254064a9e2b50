// The four image scalers: nearest neighbour and three separable filters.
#include <tessiv/imaging/scale.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "image_codec.h"

namespace kolt {

namespace {

bool ValidRequest(PixelImage const &dest, PixelImage const &src, int x, int y, int width, int height)
{
    return codec::HasPixels(dest) && codec::HasPixels(src) && x >= 0 && y >= 0 && width >= 1 && height >= 1 &&
           std::int64_t{x} + width <= src.Width() && std::int64_t{y} + height <= src.Height();
}

// For each destination index along one axis: the source indices (inside the
// rectangle's span, edges repeated) and their normalised weights.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::size_t> offset;
    std::vector<float> weights;
};

template <class Kernel>
Taps MakeTaps(int source_length, int dest_length, double radius, Kernel kernel)
{
    double const scale = static_cast<double>(dest_length) / source_length;
    // Reducing widens the filter so that every source pixel contributes.
    double const stretch = scale < 1 ? 1 / scale : 1;
    double const reach = radius * stretch;
    Taps taps;
    std::vector<double> accumulated;
    for (int d = 0; d < dest_length; ++d) {
        double const centre = (d + 0.5) / scale - 0.5;
        int const low = static_cast<int>(std::ceil(centre - reach));
        int const high = static_cast<int>(std::floor(centre + reach));
        int const first = std::clamp(low, 0, source_length - 1);
        int const last = std::clamp(high, 0, source_length - 1);
        accumulated.assign(static_cast<std::size_t>(last - first + 1), 0.0);
        double total = 0;
        for (int s = low; s <= high; ++s) {
            double const weight = kernel((s - centre) / stretch);
            accumulated[static_cast<std::size_t>(std::clamp(s, 0, source_length - 1) - first)] += weight;
            total += weight;
        }
        taps.first.push_back(first);
        taps.count.push_back(last - first + 1);
        taps.offset.push_back(taps.weights.size());
        for (double weight : accumulated)
            taps.weights.push_back(static_cast<float>(total != 0 ? weight / total : 0));
    }
    return taps;
}

unsigned char ToByte(float value)
{
    float const rounded = std::floor(value + 0.5f);
    return static_cast<unsigned char>(std::clamp(rounded, 0.0f, 255.0f));
}

// Filters the rows first, into floats, then the columns. The rows a dest row
// needs form a window that only moves down, so the filtered rows live in a
// ring of that window's height rather than in one buffer for the whole
// rectangle: a few cache-resident rows instead of a block of the
// rectangle's height that would be faulted in page by page.
template <class Kernel>
void Resample(PixelImage &dest, PixelImage const &src, int x, int y, int width, int height, double radius,
              Kernel kernel)
{
    int const dest_width = static_cast<int>(dest.Width());
    int const dest_height = static_cast<int>(dest.Height());
    Taps const across = MakeTaps(width, dest_width, radius, kernel);
    Taps const down = MakeTaps(height, dest_height, radius, kernel);

    std::size_t const row_floats = std::size_t{static_cast<unsigned int>(dest_width)} * 4;
    int const window = *std::max_element(down.count.begin(), down.count.end());
    std::vector<float> rows(row_floats * static_cast<std::size_t>(window));
    std::vector<float> source_row(static_cast<std::size_t>(width) * 4);
    auto filtered_row = [&](int r) { return rows.data() + row_floats * static_cast<std::size_t>(r % window); };
    int filtered = 0;  // source rows filtered so far, from the top
    std::vector<float> sum(row_floats);
    for (int d = 0; d < dest_height; ++d) {
        for (int last = down.first[d] + down.count[d]; filtered < last; ++filtered) {
            ColorI const *in = &src(static_cast<unsigned int>(x), static_cast<unsigned int>(y + filtered));
            for (int i = 0; i < width; ++i)
                for (int c = 0; c < 4; ++c)
                    source_row[static_cast<std::size_t>(i) * 4 + c] = in[i][c];
            float *out = filtered_row(filtered);
            for (int column = 0; column < dest_width; ++column) {
                float const *weight = across.weights.data() + across.offset[column];
                float const *sample = source_row.data() + static_cast<std::size_t>(across.first[column]) * 4;
                float b = 0, g = 0, red = 0, a = 0;
                for (int t = 0; t < across.count[column]; ++t, sample += 4) {
                    b += weight[t] * sample[0];
                    g += weight[t] * sample[1];
                    red += weight[t] * sample[2];
                    a += weight[t] * sample[3];
                }
                out[column * 4] = b;
                out[column * 4 + 1] = g;
                out[column * 4 + 2] = red;
                out[column * 4 + 3] = a;
            }
        }
        std::fill(sum.begin(), sum.end(), 0.0f);
        float const *weight = down.weights.data() + down.offset[d];
        for (int t = 0; t < down.count[d]; ++t) {
            float const *in = filtered_row(down.first[d] + t);
            for (std::size_t i = 0; i < row_floats; ++i)
                sum[i] += weight[t] * in[i];
        }
        ColorI *out = &dest(0, static_cast<unsigned int>(d));
        for (int i = 0; i < dest_width; ++i)
            for (int c = 0; c < 4; ++c)
                out[i][c] = ToByte(sum[static_cast<std::size_t>(i) * 4 + c]);
    }
}

double Triangle(double t)
{
    t = std::fabs(t);
    return t < 1 ? 1 - t : 0;
}

// Keys' cubic convolution with a = -0.5.
double Keys(double t)
{
    double const a = -0.5;
    t = std::fabs(t);
    if (t < 1)
        return ((a + 2) * t - (a + 3)) * t * t + 1;
    if (t < 2)
        return ((a * t - 5 * a) * t + 8 * a) * t - 4 * a;
    return 0;
}

double CubicBSpline(double t)
{
    t = std::fabs(t);
    if (t < 1)
        return ((3 * t - 6) * t * t + 4) / 6;
    if (t < 2)
        return (2 - t) * (2 - t) * (2 - t) / 6;
    return 0;
}

// Runs a filter on a copy of src when dest and src are the same image.
template <class Kernel>
bool Filter(PixelImage &dest, PixelImage const &src, int x, int y, int width, int height, double radius,
            Kernel kernel)
{
    if (!ValidRequest(dest, src, x, y, width, height))
        return false;
    if (&dest == &src) {
        PixelImage const copy(src);
        Resample(dest, copy, x, y, width, height, radius, kernel);
    } else {
        Resample(dest, src, x, y, width, height, radius, kernel);
    }
    return true;
}

}  // namespace

bool NormalScaleFunction::operator()(PixelImage &dest, PixelImage const &src, int x, int y, int width,
                                     int height)
{
    if (!ValidRequest(dest, src, x, y, width, height))
        return false;
    PixelImage copy;
    PixelImage const &from = &dest == &src ? (copy = src) : src;
    unsigned int const dest_width = dest.Width();
    unsigned int const dest_height = dest.Height();
    std::vector<unsigned int> columns(dest_width);
    // The source pixel whose area holds the destination pixel's centre.
    for (unsigned int d = 0; d < dest_width; ++d)
        columns[d] = static_cast<unsigned int>(x) +
                     static_cast<unsigned int>((2 * std::uint64_t{d} + 1) * static_cast<unsigned int>(width) /
                                               (2 * std::uint64_t{dest_width}));
    for (unsigned int d = 0; d < dest_height; ++d) {
        unsigned int const row = static_cast<unsigned int>(y) +
                                 static_cast<unsigned int>((2 * std::uint64_t{d} + 1) *
                                                           static_cast<unsigned int>(height) /
                                                           (2 * std::uint64_t{dest_height}));
        ColorI const *in = &from(0, row);
        ColorI *out = &dest(0, d);
        for (unsigned int i = 0; i < dest_width; ++i)
            out[i] = in[columns[i]];
    }
    return true;
}

bool BiLinearScaleFunction::operator()(PixelImage &dest, PixelImage const &src, int x, int y, int width,
                                       int height)
{
    return Filter(dest, src, x, y, width, height, 1.0, Triangle);
}

bool BiCubicScaleFunction::operator()(PixelImage &dest, PixelImage const &src, int x, int y, int width,
                                      int height)
{
    return Filter(dest, src, x, y, width, height, 2.0, Keys);
}

bool BiCubicSplineScaleFunction::operator()(PixelImage &dest, PixelImage const &src, int x, int y,
                                            int width, int height)
{
    return Filter(dest, src, x, y, width, height, 2.0, CubicBSpline);
}

}  // namespace kolt
