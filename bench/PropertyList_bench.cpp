// Writing and reading a property list the size of a large design: 1000 item dicts of 90 mixed values.
#include "platform/PropertyList.h"

#include <benchmark/benchmark.h>

namespace {

using platform::PlistArray;
using platform::PlistDict;
using platform::PlistValue;
namespace PropertyList = platform::PropertyList;

PlistValue largeList()
{
    PlistArray items;
    items.reserve(1000);
    for (int item = 0; item < 1000; ++item) {
        PlistDict dict;
        for (int field = 0; field < 90; ++field) {
            const QString key = QStringLiteral("_field_%1").arg(field);
            switch (field % 6) {
            case 0:
                dict.insert(key, field % 4 == 0);
                break;
            case 1:
                dict.insert(key, item * 90 + field);
                break;
            case 2:
                dict.insert(key, item * 0.37 + field / 7.0);
                break;
            case 3:
                dict.insert(key, QStringLiteral("text %1 of item %2").arg(field).arg(item));
                break;
            case 4:
                dict.insert(key, PlistArray { item * 1.5, field * 2.5, 100.0, 40.25 });
                break;
            default:
                dict.insert(key, QByteArray(64, static_cast<char>(item + field)));
                break;
            }
        }
        items.emplace_back(std::move(dict));
    }
    return items;
}

void writeBench(benchmark::State& state, PropertyList::Format format)
{
    const PlistValue value = largeList();
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray bytes = PropertyList::toBytes(value, format);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.counters["bytes"] = static_cast<double>(size);
}

void readBench(benchmark::State& state, PropertyList::Format format)
{
    const QByteArray bytes = PropertyList::toBytes(largeList(), format);
    for (auto _ : state) {
        const auto value = PropertyList::fromBytes(bytes);
        if (!value) {
            state.SkipWithError("the written property list did not read back");
            break;
        }
        benchmark::DoNotOptimize(value->toArray().size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_PropertyListWriteBinary(benchmark::State& state)
{
    writeBench(state, PropertyList::Format::Binary);
}
void BM_PropertyListReadBinary(benchmark::State& state)
{
    readBench(state, PropertyList::Format::Binary);
}
void BM_PropertyListWriteXml(benchmark::State& state)
{
    writeBench(state, PropertyList::Format::Xml);
}
void BM_PropertyListReadXml(benchmark::State& state)
{
    readBench(state, PropertyList::Format::Xml);
}

} // namespace

BENCHMARK(BM_PropertyListWriteBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropertyListReadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropertyListWriteXml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropertyListReadXml)->Unit(benchmark::kMillisecond);
