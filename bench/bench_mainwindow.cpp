// The program at scale: a generated vault with Chinese and Latin account names in every
// category. Measures the start up to the login window, the login up to the main window,
// opening the main window, a quick-search keystroke (filter and repaint), the memory the list
// holds and a compacted backup.
#include "DemoRecords.h"
#include "TestServices.h"

#include "app/Application.h"
#include "maintenance/Backup.h"
#include "records/FrmMain.h"
#include "records/RecordModel.h"
#include "records/RecordStore.h"
#include "storage/CipherKey.h"
#include "storage/Schema.h"
#include "users/FrmLogin.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/DataFile.h"
#include "vault/Vault.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <map>

namespace {

const QString kUser = QStringLiteral("bench");
const QString kPassword = QStringLiteral("bench-password");

struct Corpus {
    TestEnvironment env;
    std::unique_ptr<Vault> vault;
    std::unique_ptr<std::shared_ptr<Session>> session;
};

std::map<int, std::unique_ptr<Corpus>> corpora;

Corpus &corpus(int records) {
    auto &slot = corpora[records];
    if (slot)
        return *slot;
    slot = std::make_unique<Corpus>();
    Corpus &c = *slot;
    Vault::create(c.env.dataFile());
    c.vault = Vault::open(c.env.dataFile());
    // The login password is hashed at the program's own cost, so the login is measured as
    // a user meets it.
    c.vault->users().registerUser(kUser, kPassword, QDate(2026, 1, 1), c.env.folder.path());
    auto session = std::make_shared<Session>(*c.vault->users().login(kUser, kPassword));
    QRandomGenerator random(42);
    sql::Transaction transaction(c.vault->connection());
    RecordStore store = c.vault->records(*session);
    for (int i = 0; i < records; ++i)
        store.add(demo::record(random, i));
    transaction.commit();
    c.session = std::make_unique<std::shared_ptr<Session>>(std::move(session));
    return c;
}

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// From the start of the program (data file at rest) until the login window is on screen: the
// lock, unscrambling and opening the data file, and building the login window.
void BM_StartToLoginWindow(benchmark::State &state) {
    TestEnvironment env;
    Vault::create(env.dataFile());
    {
        auto vault = Vault::open(env.dataFile());
        vault->setKdfParams(crypto::KdfParams::minimal());
        vault->users().registerUser(kUser, kPassword, QDate(2026, 1, 1), env.folder.path());
    }
    datafile::scramble(env.dataFile());
    for (auto _ : state) {
        Application application(env.services());
        if (!application.start() || !application.loginWindow()) {
            state.SkipWithError("the program did not start");
            break;
        }
        QApplication::processEvents();
        state.PauseTiming();
        application.quit();  // scrambles the file again for the next round
        cipherkey::forget(); // and the next round stretches the database key, as a new process
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToLoginWindow)->Unit(benchmark::kMillisecond);

// From the login button to the main window with its list filled: Argon2id at the program's
// cost, unwrapping the data key, and the main window over 10,000 records.
void BM_LoginToMainWindow(benchmark::State &state) {
    Corpus &c = corpus(int(state.range(0)));
    for (auto _ : state) {
        FrmLogin login(*c.vault, c.env.services());
        login.show();
        std::unique_ptr<FrmMain> main;
        QObject::connect(
            &login, &FrmLogin::loggedIn, &login, [&](std::shared_ptr<Session> session) {
                main = std::make_unique<FrmMain>(*c.vault, std::move(session), c.env.services());
                main->show();
            });
        auto *user = login.findChild<QComboBox *>(QStringLiteral("CbUser"));
        user->setCurrentIndex(user->findText(kUser));
        login.findChild<QLineEdit *>(QStringLiteral("TxtPass"))->setText(kPassword);
        login.findChild<QPushButton *>(QStringLiteral("CmdLogin"))->click();
        QApplication::processEvents();
        if (!main) {
            state.SkipWithError("the login failed");
            break;
        }
        state.PauseTiming();
        main.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoginToMainWindow)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_OpenMainWindow(benchmark::State &state) {
    Corpus &c = corpus(int(state.range(0)));
    for (auto _ : state) {
        FrmMain window(*c.vault, *c.session, c.env.services());
        window.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenMainWindow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One keystroke in the quick-search box: filter every record and repaint the list.
void BM_QuickSearchKeystroke(benchmark::State &state) {
    Corpus &c = corpus(100000);
    FrmMain window(*c.vault, *c.session, c.env.services());
    window.show();
    QApplication::processEvents();
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("TxtFindData"));
    const QStringList typed = {QStringLiteral("z"),  QStringLiteral("zs"), QStringLiteral("zsy"),
                               QStringLiteral("zs"), QStringLiteral("g"),  QString(),
                               QStringLiteral("招"), QStringLiteral("1")};
    int i = 0;
    for (auto _ : state) {
        box->setText(typed[i++ % typed.size()]);
        window.listView()->viewport()->repaint();
    }
}
BENCHMARK(BM_QuickSearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_MemoryWith100kRecords(benchmark::State &state) {
    Corpus &c = corpus(100000);
    const long before = residentKilobytes();
    long after = before;
    for (auto _ : state) {
        FrmMain window(*c.vault, *c.session, c.env.services());
        window.show();
        QApplication::processEvents();
        after = residentKilobytes();
    }
    state.counters["rss_MB"] = double(after) / 1024.0;
    state.counters["list_MB"] = double(after - before) / 1024.0;
}
BENCHMARK(BM_MemoryWith100kRecords)->Iterations(1)->Unit(benchmark::kMillisecond);

// The manual backup of a 100,000-record vault: compacted export, scrambled, renamed into place.
void BM_CompactedBackup(benchmark::State &state) {
    Corpus &c = corpus(int(state.range(0)));
    const QString target = c.env.folder.filePath(QStringLiteral("SystemDataBackup.dat"));
    for (auto _ : state) {
        QString error;
        if (!BackupDatabase(*c.vault, target, true, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
    }
    state.counters["file_MB"] = double(QFileInfo(target).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_CompactedBackup)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    corpora.clear();
    return 0;
}
