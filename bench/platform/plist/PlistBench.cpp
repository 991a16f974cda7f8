// Reading and writing property lists: one flat dictionary of many keys, as a document from elsewhere may
// hold.

#include "platform/plist/PlistReader.h"
#include "platform/plist/PlistWriter.h"

#include <benchmark/benchmark.h>

using namespace nupo;

namespace {

QByteArray dictionaryText(int keys)
{
    QByteArray text("{\n");
    for (int i = 0; i < keys; ++i)
        text.append("    key")
            .append(QByteArray::number(i))
            .append(" = \"value ")
            .append(QByteArray::number(i))
            .append("\";\n");
    text.append("}\n");
    return text;
}

void BM_ReadDictionary(benchmark::State& state)
{
    const QByteArray text = dictionaryText(int(state.range(0)));
    for (auto _ : state) {
        std::optional<PlistValue> value = PlistReader::parse(text);
        if (!value || value->toDictionary().size() != std::size_t(state.range(0)))
            state.SkipWithError("the dictionary did not read back whole");
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ReadDictionary)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_WriteDictionary(benchmark::State& state)
{
    const std::optional<PlistValue> value = PlistReader::parse(dictionaryText(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(PlistWriter::write(*value));
}
BENCHMARK(BM_WriteDictionary)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
