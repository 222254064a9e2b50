// MatX4::Invert (Gauss-Jordan, first acceptable pivot) and InvertFast
// (affine) against a plain reference inverse: the adjugate from 2x2 minors
// over the determinant, the textbook closed form.
#include <tessiv/core/matrix.h>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

bool ReferenceInverse(double const *a, double *out)
{
    // 2x2 minors of the top two and bottom two rows.
    double s0 = a[0] * a[5] - a[4] * a[1], s1 = a[0] * a[6] - a[4] * a[2];
    double s2 = a[0] * a[7] - a[4] * a[3], s3 = a[1] * a[6] - a[5] * a[2];
    double s4 = a[1] * a[7] - a[5] * a[3], s5 = a[2] * a[7] - a[6] * a[3];
    double c5 = a[10] * a[15] - a[14] * a[11], c4 = a[9] * a[15] - a[13] * a[11];
    double c3 = a[9] * a[14] - a[13] * a[10], c2 = a[8] * a[15] - a[12] * a[11];
    double c1 = a[8] * a[14] - a[12] * a[10], c0 = a[8] * a[13] - a[12] * a[9];
    double det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (det == 0)
        return false;
    double inv = 1 / det;
    out[0] = (a[5] * c5 - a[6] * c4 + a[7] * c3) * inv;
    out[1] = (-a[1] * c5 + a[2] * c4 - a[3] * c3) * inv;
    out[2] = (a[13] * s5 - a[14] * s4 + a[15] * s3) * inv;
    out[3] = (-a[9] * s5 + a[10] * s4 - a[11] * s3) * inv;
    out[4] = (-a[4] * c5 + a[6] * c2 - a[7] * c1) * inv;
    out[5] = (a[0] * c5 - a[2] * c2 + a[3] * c1) * inv;
    out[6] = (-a[12] * s5 + a[14] * s2 - a[15] * s1) * inv;
    out[7] = (a[8] * s5 - a[10] * s2 + a[11] * s1) * inv;
    out[8] = (a[4] * c4 - a[5] * c2 + a[7] * c0) * inv;
    out[9] = (-a[0] * c4 + a[1] * c2 - a[3] * c0) * inv;
    out[10] = (a[12] * s4 - a[13] * s2 + a[15] * s0) * inv;
    out[11] = (-a[8] * s4 + a[9] * s2 - a[11] * s0) * inv;
    out[12] = (-a[4] * c3 + a[5] * c1 - a[6] * c0) * inv;
    out[13] = (a[0] * c3 - a[1] * c1 + a[2] * c0) * inv;
    out[14] = (-a[12] * s3 + a[13] * s1 - a[14] * s0) * inv;
    out[15] = (a[8] * s3 - a[9] * s1 + a[10] * s0) * inv;
    return true;
}

std::vector<kolt::MatX4> Matrices(bool affine)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<double> element(-2, 2);
    std::vector<kolt::MatX4> matrices(1024);
    for (kolt::MatX4 &m : matrices) {
        for (double &e : m.m)
            e = element(random);
        if (affine) {
            m[3] = m[7] = m[11] = 0;
            m[15] = 1;
        }
    }
    return matrices;
}

void Invert(benchmark::State &state)
{
    std::vector<kolt::MatX4> const matrices = Matrices(false);
    for (auto _ : state) {
        for (kolt::MatX4 const &m : matrices) {
            kolt::MatX4 inverse = m;
            benchmark::DoNotOptimize(inverse.Invert());
            benchmark::DoNotOptimize(inverse.m);
        }
    }
    state.SetItemsProcessed(state.iterations() * matrices.size());
}

void InvertFast(benchmark::State &state)
{
    std::vector<kolt::MatX4> const matrices = Matrices(true);
    for (auto _ : state) {
        for (kolt::MatX4 const &m : matrices) {
            kolt::MatX4 inverse = m;
            benchmark::DoNotOptimize(inverse.InvertFast());
            benchmark::DoNotOptimize(inverse.m);
        }
    }
    state.SetItemsProcessed(state.iterations() * matrices.size());
}

template <bool Affine>
void Reference(benchmark::State &state)
{
    std::vector<kolt::MatX4> const matrices = Matrices(Affine);
    for (auto _ : state) {
        for (kolt::MatX4 const &m : matrices) {
            kolt::MatX4 inverse;
            benchmark::DoNotOptimize(ReferenceInverse(m.m, inverse.m));
            benchmark::DoNotOptimize(inverse.m);
        }
    }
    state.SetItemsProcessed(state.iterations() * matrices.size());
}

BENCHMARK(Invert)->Name("invert_general/ours");
BENCHMARK(Reference<false>)->Name("invert_general/adjugate_reference");
BENCHMARK(InvertFast)->Name("invert_affine/ours");
BENCHMARK(Reference<true>)->Name("invert_affine/adjugate_reference");

}  // namespace
