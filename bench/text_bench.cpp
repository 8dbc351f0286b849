// Decoding and encoding of help-desk text, per byte: the work done for every
// value fetched (UTF-8 to UTF-16) and every value quelvo-search prints.
#include "core/utf.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

// Sentences like the demo's: Portuguese, an accent every few words, a line
// break now and then.
std::string helpDeskText(std::size_t bytes)
{
    const char* pieces[] = {"Cliente relata ", "erro ao salvar ", "na emissão de NF-e. ", "não abre ",
                            "o módulo de estoque ", "Mensagem: \"Rejeição 539: Duplicidade de NF-e\". ",
                            "Começou depois da atualização para a versão 4.12.7. ", "\r\n",
                            "[10:42:17] ERRO cód_12 ao gravar registro 31337 na tabela NOTAFISCAL. "};
    std::mt19937 random(11);
    std::string text;
    while (text.size() < bytes)
        text += pieces[random() % std::size(pieces)];
    text.resize(bytes);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty() && static_cast<unsigned char>(text.back()) >= 0xC0)
        text.pop_back();
    return text;
}

void decode(benchmark::State& state)
{
    const std::string text = helpDeskText(static_cast<std::size_t>(state.range(0)));
    std::u16string out(text.size(), u'\0');
    for (auto _ : state)
        benchmark::DoNotOptimize(quelvo::decodeUtf8(text, out.data()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void encode(benchmark::State& state)
{
    const std::u16string text = quelvo::fromUtf8(helpDeskText(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(quelvo::toUtf8(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size() * 2));
}

} // namespace

BENCHMARK(decode)->Arg(500)->Arg(5000);
BENCHMARK(encode)->Arg(500)->Arg(5000);
BENCHMARK_MAIN();
