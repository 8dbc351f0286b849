// The pattern builder next to the visiting algorithm it replaced.
#include "core/search_pattern.h"
#include "support/visiting_pattern.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

std::u16string typedText(std::size_t length)
{
    const std::u16string words[] = {u"erro", u"ao", u"salvar", u"nota", u"fiscal", u"ação", u"não", u"100%"};
    std::mt19937 random(7);
    std::u16string text;
    while (text.size() < length) {
        text += words[random() % std::size(words)];
        text += (random() % 5 == 0) ? u"\r\n" : u"  ";
    }
    text.resize(length);
    return text;
}

void onePass(benchmark::State& state)
{
    const std::u16string text = typedText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(quelvo::buildSearchPattern(text));
}

void visiting(benchmark::State& state)
{
    const std::u16string text = typedText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::u16string s = text;
        quelvo::testing::visitingRemoveCaracteres(s, quelvo::searchSeparators());
        benchmark::DoNotOptimize(s);
    }
}

} // namespace

BENCHMARK(onePass)->Arg(100)->Arg(5000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(visiting)->Arg(100)->Arg(5000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
