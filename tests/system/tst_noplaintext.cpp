// No secret reaches a disk in the clear. A whole session in this process (registration, records,
// an automatic and a manual backup, compaction, the lock, the exit) and the real executable
// killed while logged in; then every file of the data folder and of the settings folder is
// searched for the login password and the account passwords, in UTF-8, UTF-16LE and GB18030:
// as its bytes, unscrambled, and as the tables of the database it holds.
#include "TestFiles.h"
#include "TestServices.h"
#include "TestWidgets.h"

#include "app/Application.h"
#include "records/FrmData.h"
#include "records/FrmMain.h"
#include "records/RecordModel.h"
#include "records/RecordStore.h"
#include "storage/Sqlite.h"
#include "storage/clsSimpleXOR.h"
#include "tray/FrmTrayMenu.h"
#include "users/FrmLogin.h"
#include "users/UserStore.h"
#include "vault/DataFile.h"
#include "vault/Vault.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <sqlite3.h>
#include <unicode/ucnv.h>

#include <csignal>

namespace {

const QString kUser = QStringLiteral("alice 测试");
const QString kLoginPassword = QStringLiteral("Lg-Passwort-蓝鲸-7q");
const QString kAsciiSecret = QStringLiteral("Tr0ub4dor&3-Zebra");
const QString kCjkSecret = QStringLiteral("蓝鲸吃了七个月饼");
const QString kMixedSecret = QStringLiteral("密码🔑X9-mixed");
const QString kReplacedSecret = QStringLiteral("Old-Secret-Before-Edit");
// Not secret: found in the decoded tables, it shows that the decoding reached the records.
const QString kVisibleName = QStringLiteral("可见的帐号名");

using testwidgets::child;

using testfiles::readAll;
using testfiles::unscrambled;
using testfiles::writeAll;

QByteArray gb18030(const QString &text) {
    UErrorCode error = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("gb18030", &error);
    QByteArray bytes(text.size() * 4 + 16, Qt::Uninitialized);
    const int32_t length = ucnv_fromUChars(converter, bytes.data(), int32_t(bytes.size()),
                                           reinterpret_cast<const UChar *>(text.utf16()),
                                           int32_t(text.size()), &error);
    ucnv_close(converter);
    if (U_FAILURE(error))
        qFatal("no GB18030 converter");
    bytes.truncate(length);
    return bytes;
}

struct Encoded {
    const char *encoding;
    QByteArray bytes;
};
QList<Encoded> encodingsOf(const QString &secret) {
    return {{"UTF-8", secret.toUtf8()},
            {"UTF-16LE", QStringEncoder(QStringEncoder::Utf16LE).encode(secret)},
            {"GB18030", gb18030(secret)}};
}

// What a search of the folders found.
struct Findings {
    QStringList secrets;  // "file, view, encoding: secret"
    QStringList decoded;  // files that opened as the program's database, and how
    QStringList visible;  // files whose tables hold kVisibleName
    QStringList searched; // every file looked at
};

class Searcher {
public:
    explicit Searcher(QStringList secrets) : m_secrets(std::move(secrets)) {}

    // Every file below `roots` except `skip` (the live data file, which this process must not
    // open a second time while it runs).
    Findings search(const QStringList &roots, const QStringList &skip = {}) {
        Findings found;
        for (const QString &root : roots) {
            QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                if (skip.contains(path))
                    continue;
                found.searched << path;
                searchFile(path, found);
            }
        }
        return found;
    }

private:
    void searchBytes(const QString &where, const QByteArray &bytes, Findings &found) {
        for (const QString &secret : m_secrets)
            for (const Encoded &e : encodingsOf(secret))
                if (bytes.contains(e.bytes))
                    found.secrets << QStringLiteral("%1, %2: %3")
                                         .arg(where, QString::fromLatin1(e.encoding), secret);
    }
    void searchText(const QString &where, const QString &text, Findings &found) {
        for (const QString &secret : m_secrets)
            if (text.contains(secret))
                found.secrets << QStringLiteral("%1, as text: %2").arg(where, secret);
    }

    void searchFile(const QString &path, Findings &found) {
        const QByteArray raw = readAll(path);
        searchBytes(path + QStringLiteral(", its bytes"), raw, found);
        searchBytes(path + QStringLiteral(", unscrambled"), unscrambled(raw), found);
        // As the program opens a file: as it is (with what a crash left beside it), and
        // unscrambled.
        dumpDatabase(path, raw, true, QStringLiteral("as it is"), found);
        dumpDatabase(path, unscrambled(raw), false, QStringLiteral("unscrambled"), found);
        if (path.endsWith(QLatin1String(".conf")) || path.endsWith(QLatin1String(".ini"))) {
            QSettings settings(path, QSettings::IniFormat);
            for (const QString &key : settings.allKeys())
                searchText(path + QStringLiteral(", setting ") + key,
                           key + QLatin1Char('=') + settings.value(key).toString(), found);
        }
    }

    // Opens a copy of `bytes` with the database key and reads every row of every table.
    void dumpDatabase(const QString &path, const QByteArray &bytes, bool withJournals,
                      const QString &view, Findings &found) {
        QTemporaryDir scratch;
        const QString copy = scratch.filePath(QStringLiteral("copy.db"));
        writeAll(copy, bytes);
        if (withJournals)
            for (const char *suffix : {"-journal", "-wal"})
                if (QFileInfo::exists(path + QLatin1String(suffix)))
                    writeAll(copy + QLatin1String(suffix), readAll(path + QLatin1String(suffix)));
        const QString where = QStringLiteral("%1, %2 as a database").arg(path, view);
        try {
            sql::Connection db = sql::Connection::open(copy, sql::Connection::Mode::ReadWrite,
                                                       QByteArray(Vault::kDatabaseKey));
            QStringList tables;
            sql::Statement master = db.prepare("SELECT name, sql FROM sqlite_master");
            while (master.step()) {
                searchText(where + QStringLiteral(", schema"), master.text(1), found);
                if (master.text(1).startsWith(QLatin1String("CREATE TABLE")))
                    tables << master.text(0);
            }
            bool visible = false;
            for (const QString &table : tables) {
                const QByteArray select = "SELECT * FROM \"" + table.toUtf8() + "\"";
                sqlite3_stmt *rows = nullptr;
                if (sqlite3_prepare_v2(db.handle(), select.constData(), -1, &rows, nullptr) !=
                    SQLITE_OK)
                    throw std::runtime_error("cannot read " + table.toStdString());
                while (sqlite3_step(rows) == SQLITE_ROW) {
                    for (int column = 0; column < sqlite3_column_count(rows); ++column) {
                        const auto *data =
                            static_cast<const char *>(sqlite3_column_blob(rows, column));
                        const QByteArray value(data, sqlite3_column_bytes(rows, column));
                        const QString at =
                            where +
                            QStringLiteral(", %1.%2").arg(
                                table, QString::fromUtf8(sqlite3_column_name(rows, column)));
                        searchBytes(at, value, found);
                        searchText(at, QString::fromUtf8(value), found);
                        visible = visible || QString::fromUtf8(value) == kVisibleName;
                    }
                }
                sqlite3_finalize(rows);
            }
            found.decoded << path + QStringLiteral(" (") + view + QLatin1Char(')');
            if (visible)
                found.visible << path;
        } catch (const sql::Error &) {
            // Not a database under our key.
        }
    }

    QStringList m_secrets;
};

QString report(const QStringList &lines) {
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TstNoPlaintext : public QObject {
    Q_OBJECT

    QString m_config; // XDG_CONFIG_HOME of this process, where SettingsStore() writes

    // Runs `act` on the modal window that the next command opens; closes it if `act` did not.
    void onModal(std::function<void(QDialog *)> act) {
        QTimer::singleShot(0, this, [act] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                QFAIL("no modal window");
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    }
    void fillRecord(QDialog *editor, const RecordInput &r) {
        child<QComboBox>(editor, "CbAccountType")->setEditText(r.TypeName);
        child<QLineEdit>(editor, "TxtAccountName")->setText(r.AccountName);
        child<QLineEdit>(editor, "TxtAccountID")->setText(r.AccountID);
        child<QLineEdit>(editor, "TxtAccountPassword")->setText(r.Password);
        child<QPlainTextEdit>(editor, "TxtRemarks")->setPlainText(r.Remarks);
        QTest::mouseClick(child<QPushButton>(editor, "CmdSave"), Qt::LeftButton);
    }
    void logIn(Application &app, const QString &password) {
        FrmLogin *login = app.loginWindow();
        QVERIFY(login);
        auto *users = child<QComboBox>(login, "CbUser");
        users->setCurrentIndex(users->findText(kUser));
        child<QLineEdit>(login, "TxtPass")->setText(password);
        QTest::keyClick(child<QLineEdit>(login, "TxtPass"), Qt::Key_Return);
        QTRY_VERIFY(app.mainWindow() && app.mainWindow()->isVisible());
    }
    static QStringList secrets(const QString &login) {
        return {login, kAsciiSecret, kCjkSecret, kMixedSecret, kReplacedSecret};
    }

public:
    explicit TstNoPlaintext(QString config) : m_config(std::move(config)) {}

private slots:
    void wholeSessionLeavesNoSecretOnDisk() {
        QTemporaryDir folder;
        TestEnvironment env;
        SettingsStore desktopSettings; // ~/.config/Ombrivo.conf, under this process's config
        const QString dataFolder = folder.path();
        const QString dataFile = folder.filePath(QStringLiteral("SystemData.dat"));
        const QString autoBackup = folder.filePath(QStringLiteral("SystemDataBackup.dat"));
        const QString manualBackup = folder.filePath(QStringLiteral("手动备份.dat"));
        const Services services{env.messages,    env.clock,      desktopSettings,
                                env.clipboard,   env.desktop,    env.tray,
                                env.fileDialogs, env.globalKeys, dataFolder};
        Searcher searcher(secrets(kLoginPassword));
        const QStringList live{dataFile, dataFile + QStringLiteral("-journal"),
                               dataFile + QStringLiteral("-wal")};

        // First run: registration and three records, one of them edited to a new password.
        {
            Application app(services);
            app.setKdfParams(crypto::KdfParams::minimal());
            QVERIFY(app.start());
            onModal([](QDialog *registration) {
                child<QLineEdit>(registration, "TxtUser")->setText(kUser);
                child<QLineEdit>(registration, "TxtPass")->setText(kLoginPassword);
                child<QLineEdit>(registration, "TxtVerifyPass")->setText(kLoginPassword);
                QTest::mouseClick(child<QPushButton>(registration, "CmdOK"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(app.loginWindow(), "CmdRegNewUser"),
                              Qt::LeftButton);
            QCOMPARE(env.messages.texts(), QStringList{QStringLiteral("注册成功,请登录!")});
            logIn(app, kLoginPassword);
            FrmMain *main = app.mainWindow();
            const QList<RecordInput> records{
                {QStringLiteral("其它"),
                 kVisibleName,
                 QStringLiteral("id1"),
                 kAsciiSecret,
                 {},
                 {},
                 QStringLiteral("备注")},
                {QStringLiteral("网站帐号"),
                 QStringLiteral("第二个"),
                 QStringLiteral("id2"),
                 kCjkSecret,
                 {},
                 {},
                 {}},
                {QStringLiteral("邮箱帐号"),
                 QStringLiteral("third"),
                 QStringLiteral("id3"),
                 kReplacedSecret,
                 {},
                 {},
                 {}},
            };
            for (const RecordInput &r : records) {
                onModal([this, r](QDialog *editor) { fillRecord(editor, r); });
                QTest::mouseClick(child<QPushButton>(main, "CmdAdd"), Qt::LeftButton);
            }
            QCOMPARE(main->records()->recordCount(), 3);
            const auto rowOf = [main](const QString &name) {
                for (int row = 0; row < main->records()->rowCount(); ++row)
                    if (main->records()->entry(row).AccountName == name)
                        return row;
                return -1;
            };
            main->listView()->selectRow(rowOf(QStringLiteral("third")));
            onModal([](QDialog *editor) {
                child<QLineEdit>(editor, "TxtAccountPassword")->setText(kMixedSecret);
                QTest::mouseClick(child<QPushButton>(editor, "CmdSave"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(main, "CmdEdit"), Qt::LeftButton);
            QCOMPARE(main->records()->password(rowOf(QStringLiteral("third"))), kMixedSecret);
            QSignalSpy finished(&app, &Application::finished);
            main->close();
            QTRY_COMPARE(finished.count(), 1);
        }
        QCOMPARE(desktopSettings.lastUser(), kUser);

        // Second run: the automatic backup is due at the login; then a manual backup and a
        // compaction from the tools window, the lock from the tray menu, and the exit.
        {
            Application app(services);
            app.setKdfParams(crypto::KdfParams::minimal());
            QVERIFY(app.start());
            UserSettings due = app.vault()->users().settings(kUser);
            due.AutoBackup = 1;
            due.PriorBackupDate = env.clock.today().addDays(-3);
            due.AutoBackupPath = autoBackup;
            app.vault()->users().saveSettings(kUser, due);
            logIn(app, kLoginPassword);
            QVERIFY(QFileInfo::exists(autoBackup));
            FrmMain *main = app.mainWindow();
            env.messages.shown.clear();
            Findings during;
            onModal([&](QDialog *tools) {
                env.fileDialogs.answers.push_back(manualBackup);
                QTest::mouseClick(child<QPushButton>(tools, "CmdBackup"), Qt::LeftButton);
                during = searcher.search({dataFolder, m_config}, live);
                QTest::mouseClick(child<QPushButton>(tools, "CmdCompress"), Qt::LeftButton);
                const Findings compacted = searcher.search({dataFolder, m_config}, live);
                during.secrets << compacted.secrets;
            });
            QTest::mouseClick(child<QPushButton>(main, "CmdTool"), Qt::LeftButton);
            QCOMPARE(env.messages.texts(), QStringList({QStringLiteral("数据备份成功!"),
                                                        QStringLiteral("数据库压缩完毕!")}));
            QVERIFY2(during.secrets.isEmpty(), qPrintable(report(during.secrets)));
            QVERIFY(during.visible.contains(autoBackup));
            QVERIFY(during.visible.contains(manualBackup));

            main->trayMenu()->item("mnuLock")->trigger();
            QVERIFY(main->IsLock());
            const Findings locked = searcher.search({dataFolder, m_config}, live);
            QVERIFY2(locked.secrets.isEmpty(), qPrintable(report(locked.secrets)));

            QSignalSpy finished(&app, &Application::finished);
            main->trayMenu()->item("mnuQuit")->trigger();
            QTRY_COMPARE(finished.count(), 1);
            QCOMPARE(finished.first().first().toInt(), 0);
        }

        // At rest: everything, the data file included.
        const Findings atRest = searcher.search({dataFolder, m_config});
        QVERIFY2(atRest.secrets.isEmpty(), qPrintable(report(atRest.secrets)));
        for (const QString &file : {dataFile, autoBackup, manualBackup})
            QVERIFY2(atRest.visible.contains(file), qPrintable(report(atRest.decoded)));
        QVERIFY(atRest.searched.contains(m_config + QStringLiteral("/Ombrivo.conf")));
    }

    // The real executable, logged in under an X server of the test's own, gets a new record and
    // is killed: the data file stays unscrambled, and it and whatever lies beside it hold no
    // secret in the clear.
    void killedWhileLoggedInLeavesNoSecretOnDisk() {
        for (const char *tool : {"Xvfb", "xdotool"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing").arg(QString::fromLatin1(tool))));
        const QString login = QStringLiteral("Kill9-Login-Pw-42");
        const QString typedSecret = QStringLiteral("Typed-Before-Kill-9");
        QTemporaryDir folder;
        const QString dataFolder = folder.filePath(QStringLiteral("data"));
        const QString config = folder.filePath(QStringLiteral("config"));
        const QString dataFile = dataFolder + QStringLiteral("/SystemData.dat");
        QVERIFY(QDir().mkpath(dataFolder) && QDir().mkpath(config));

        // A data file at rest with alice and her records; her automatic backup is due.
        Vault::create(dataFile);
        {
            std::unique_ptr<Vault> vault = Vault::open(dataFile);
            vault->setKdfParams(crypto::KdfParams::minimal());
            vault->users().registerUser(QStringLiteral("alice"), login, QDate(2026, 1, 1),
                                        dataFolder);
            std::optional<Session> alice = vault->users().login(QStringLiteral("alice"), login);
            QVERIFY(alice);
            RecordStore store = vault->records(*alice);
            store.add({QStringLiteral("其它"),
                       kVisibleName,
                       QStringLiteral("id1"),
                       kAsciiSecret,
                       {},
                       {},
                       {}});
            store.add({QStringLiteral("网站帐号"),
                       QStringLiteral("第二个"),
                       QStringLiteral("id2"),
                       kCjkSecret,
                       {},
                       {},
                       {}});
            UserSettings due = vault->users().settings(QStringLiteral("alice"));
            due.AutoBackup = 1;
            vault->users().saveSettings(QStringLiteral("alice"), due);
        }
        datafile::scramble(dataFile);
        writeAll(config + QStringLiteral("/Ombrivo.conf"), "[login]\nuser=alice\n");

        // The server picks a free display and writes its number once it takes clients.
        QProcess xvfb;
        xvfb.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                    QStringLiteral("1024x768x24")});
        QVERIFY(xvfb.waitForStarted(10000));
        const auto stopServer = qScopeGuard([&xvfb] {
            xvfb.terminate();
            if (!xvfb.waitForFinished(10000))
                xvfb.kill();
        });
        QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine(), 20000);
        const QString display = QLatin1Char(':') + QString::fromLatin1(xvfb.readLine()).trimmed();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"WAYLAND_DISPLAY", "XAUTHORITY"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("OMBRIVO_HOME"), dataFolder);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        const auto xdotool = [&environment](const QStringList &arguments) {
            QProcess run;
            run.setProcessEnvironment(environment);
            run.start(QStringLiteral("xdotool"), arguments);
            if (!run.waitForFinished(30000)) {
                run.kill();
                run.waitForFinished();
                return QString();
            }
            return run.exitCode() == 0 ? QString::fromUtf8(run.readAllStandardOutput()).trimmed()
                                       : QString();
        };
        // Waits for a window by its title and gives it the keyboard.
        const auto focusWindow = [&](const QString &title) {
            const QString id =
                xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                         QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title})
                    .section(QLatin1Char('\n'), 0, 0);
            if (!id.isEmpty())
                xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
            return !id.isEmpty();
        };

        QProcess ombrivo;
        ombrivo.setProcessEnvironment(environment);
        ombrivo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        ombrivo.start(QStringLiteral(OMBRIVO_EXECUTABLE), QStringList());
        QVERIFY(ombrivo.waitForStarted(10000));
        const auto stopProgram = qScopeGuard([&ombrivo] {
            if (ombrivo.state() != QProcess::NotRunning) {
                ombrivo.kill();
                ombrivo.waitForFinished(10000);
            }
        });
        // alice is remembered, so the password box has the focus.
        QVERIFY2(focusWindow(QStringLiteral("^登录$")), "no login window");
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), login});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QVERIFY2(focusWindow(QStringLiteral("当前用户:alice$")), "no main window");
        QVERIFY(QFileInfo::exists(dataFolder + QStringLiteral("/SystemDataBackup.dat")));
        // Alt+A adds a record: a new category, a name, a user ID and the password, each box
        // reached with Tab, and Enter saves.
        xdotool({QStringLiteral("key"), QStringLiteral("alt+a")});
        QVERIFY2(focusWindow(QStringLiteral("^添加资料$")), "no record editor");
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                 QStringLiteral("Misc\tKillNine\tkid\t") + typedSecret});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QTRY_VERIFY_WITH_TIMEOUT(xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                          QStringLiteral("--name"), QStringLiteral("^添加资料$")})
                                     .isEmpty(),
                                 20000);

        ::kill(pid_t(ombrivo.processId()), SIGKILL);
        QVERIFY(ombrivo.waitForFinished(20000));
        QCOMPARE(ombrivo.exitStatus(), QProcess::CrashExit);

        Searcher searcher({login, typedSecret, kAsciiSecret, kCjkSecret});
        const Findings found = searcher.search({dataFolder, config});
        QVERIFY2(found.secrets.isEmpty(), qPrintable(report(found.secrets)));
        QVERIFY2(found.visible.contains(dataFile), qPrintable(report(found.decoded)));

        // The record had reached the file, which opens as it is, as the next start uses it.
        {
            std::unique_ptr<Vault> vault = Vault::open(dataFile);
            std::optional<Session> alice = vault->users().login(QStringLiteral("alice"), login);
            QVERIFY(alice);
            QStringList names;
            for (const Record &r : vault->records(*alice).all())
                names << r.AccountName;
            QCOMPARE(names, QStringList({kVisibleName, QStringLiteral("第二个"),
                                         QStringLiteral("KillNine")}));
        }
    }
};

int main(int argc, char **argv) {
    // The desktop user's settings folder of this process: SettingsStore() writes Ombrivo.conf
    // there, and QSettings takes the folder once, so it is set before anything starts.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    TstNoPlaintext test(config.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_noplaintext.moc"
