#include "storage/clsSimpleXOR.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_EncryptByte(benchmark::State &state) {
    clsSimpleXOR x;
    QByteArray data(state.range(0), 'x');
    const QString key = QStringLiteral("tarnwick");
    for (auto _ : state) {
        x.EncryptByte(data, key);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EncryptByte)->Arg(1 << 20)->Arg(64 << 20)->Unit(benchmark::kMicrosecond);

// The data file's at-rest scrambling, in place, including the read, the temporary file and
// the sync to disk.
void BM_EncryptFileInPlace(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vault.dat"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(state.range(0), 'x')) < 0) {
            state.SkipWithError("cannot create the test file");
            return;
        }
    }
    clsSimpleXOR x;
    const QString key = QStringLiteral("tarnwick");
    for (auto _ : state)
        x.EncryptFile(path, path, key);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EncryptFileInPlace)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

} // namespace
