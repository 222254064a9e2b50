// kolt::cvector against std::vector doing the same work: push_back from
// empty, copy construction, and reserve followed by push_back.
#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// A 40-byte trivially copyable record, the size of a position key.
struct Record40 {
    int frame = 0;
    double value[4] = {};
};
static_assert(sizeof(Record40) == 40);

constexpr unsigned int kCount = 1 << 20;

template <class T>
T Make(unsigned int i)
{
    if constexpr (std::is_same_v<T, int>)
        return static_cast<int>(i);
    else if constexpr (std::is_same_v<T, kolt::Pnt3>)
        return kolt::Pnt3(i, i + 1, i + 2);
    else
        return Record40{static_cast<int>(i), {double(i), 0, 0, 0}};
}

template <class Array, class T>
void PushBack(benchmark::State &state)
{
    T const value = Make<T>(7);
    for (auto _ : state) {
        Array a;
        for (unsigned int i = 0; i < kCount; ++i)
            a.push_back(value);
        benchmark::DoNotOptimize(&*a.begin());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

template <class Array, class T>
void Copy(benchmark::State &state)
{
    Array source;
    for (unsigned int i = 0; i < kCount; ++i)
        source.push_back(Make<T>(i));
    for (auto _ : state) {
        Array copy(source);
        benchmark::DoNotOptimize(&*copy.begin());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

template <class Array, class T>
void ReserveThenFill(benchmark::State &state)
{
    T const value = Make<T>(7);
    for (auto _ : state) {
        Array a;
        a.reserve(kCount);
        for (unsigned int i = 0; i < kCount; ++i)
            a.push_back(value);
        benchmark::DoNotOptimize(&*a.begin());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

#define TESSIV_CVECTOR_CASES(T, label)                                                         \
    BENCHMARK(PushBack<kolt::cvector<T>, T>)->Name("push_back<" label ">/ours");              \
    BENCHMARK(PushBack<std::vector<T>, T>)->Name("push_back<" label ">/std::vector");         \
    BENCHMARK(Copy<kolt::cvector<T>, T>)->Name("copy<" label ">/ours");                       \
    BENCHMARK(Copy<std::vector<T>, T>)->Name("copy<" label ">/std::vector");                  \
    BENCHMARK(ReserveThenFill<kolt::cvector<T>, T>)->Name("reserve_fill<" label ">/ours");    \
    BENCHMARK(ReserveThenFill<std::vector<T>, T>)->Name("reserve_fill<" label ">/std::vector")

TESSIV_CVECTOR_CASES(int, "int");
TESSIV_CVECTOR_CASES(kolt::Pnt3, "Pnt3");
TESSIV_CVECTOR_CASES(Record40, "Record40");

}  // namespace
