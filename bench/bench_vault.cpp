// Cost of opening the data file and of a login (Argon2id verifier check plus key unwrap).
#include "storage/CipherKey.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Fixture {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("SystemData.dat"));
    Fixture() {
        Vault::create(path);
        auto vault = Vault::open(path);
        vault->users().registerUser(QStringLiteral("bench"), QStringLiteral("correct horse"),
                                    QDate(2026, 1, 1), folder.path());
    }
};

void BM_OpenDataFile(benchmark::State &state) {
    Fixture fixture;
    for (auto _ : state) {
        // As a new process opens it: the database key is stretched again.
        state.PauseTiming();
        cipherkey::forget();
        state.ResumeTiming();
        auto vault = Vault::open(fixture.path);
        benchmark::DoNotOptimize(vault.get());
    }
}
BENCHMARK(BM_OpenDataFile)->Unit(benchmark::kMillisecond);

void BM_Login(benchmark::State &state) {
    Fixture fixture;
    auto vault = Vault::open(fixture.path);
    for (auto _ : state) {
        auto session =
            vault->users().login(QStringLiteral("bench"), QStringLiteral("correct horse"));
        if (!session)
            state.SkipWithError("login failed");
    }
}
BENCHMARK(BM_Login)->Unit(benchmark::kMillisecond);

void BM_WrongPassword(benchmark::State &state) {
    Fixture fixture;
    auto vault = Vault::open(fixture.path);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vault->users().login(QStringLiteral("bench"), QStringLiteral("wrong")));
}
BENCHMARK(BM_WrongPassword)->Unit(benchmark::kMillisecond);

} // namespace
