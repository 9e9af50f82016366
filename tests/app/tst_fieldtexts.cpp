// Awkward texts in every field of a record, in user names and in login passwords. Entered in the
// windows as a user would (typed, committed by an input method, or pasted), they are stored and
// shown back exactly: in the editor, in the list, after the data file was closed and opened
// again, and after a backup and a restore. Where a window changes what was entered (the length
// of a text box, the form of a date), the row says what it becomes.
#include "TestServices.h"
#include "TestWidgets.h"
#include "VaultFixture.h"

#include "maintenance/Backup.h"
#include "maintenance/FrmResumeData.h"
#include "maintenance/Restore.h"
#include "records/CategoryStore.h"
#include "records/FrmData.h"
#include "records/FrmMain.h"
#include "records/RecordModel.h"
#include "records/RecordStore.h"
#include "users/FrmLogin.h"
#include "users/Session.h"
#include "vault/DataFile.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

Q_DECLARE_METATYPE(RecordInput)

namespace {

struct Awkward {
    const char *name;
    QString text;
};

QString repeated(const QString &piece, int length) {
    QString text;
    while (text.size() < length)
        text += piece;
    return text.left(length);
}

// Each at least six characters, so that it also serves as a login password.
QList<Awkward> awkwardTexts() {
    return {
        {"quotes", QStringLiteral("it's \"quoted\" '' x' OR '1'='1")},
        {"percent and underscore", QStringLiteral("100%_off %% _a_")},
        {"backslashes", QStringLiteral("C:\\dir\\\\x\\' \\n\\")},
        {"50 CJK characters", repeated(QStringLiteral("招商银行网上支付密钥"), 50)},
        {"emoji beyond the BMP", QStringLiteral("密钥🔑😀 𠀀✓ok")},
        {"control characters", QStringLiteral("a\tb\nc\u0001d")},
        {"leading and trailing spaces", QStringLiteral("  spaced out  ")},
    };
}

const QString kLoginPassword = QStringLiteral("Secret1");

using testwidgets::child;

bool isAscii(const QString &text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}
bool hasControl(const QString &text) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

bool hasLoneSurrogate(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            return true;
    }
    return false;
}

// Replaces the text of a text box as a user would: everything selected and deleted, then the
// new text typed on the keyboard (ASCII), committed by an input method (Chinese, emoji), or
// pasted (control characters, and anything in a box that takes no input method).
void enter(QWidget *box, const QString &text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    if (text.isEmpty())
        return;
    if (isAscii(text)) {
        QTest::keyClicks(box, text);
    } else if (box->testAttribute(Qt::WA_InputMethodEnabled) && !hasControl(text)) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(box, &commit);
    } else {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
}

} // namespace

class TstFieldTexts : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<VaultFixture> data;
    QString backupPath;

    Services services() { return env->services(); }
    std::shared_ptr<Session> login(const QString &name, const QString &password) {
        return std::make_shared<Session>(data->login(name, password));
    }
    // Closes the data file as the program does at its end, and opens it as the next start does.
    void reopen() {
        data->vault.reset();
        datafile::scramble(data->path);
        data->vault = datafile::open(data->path, {});
        data->vault->setKdfParams(crypto::KdfParams::minimal());
    }

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

    // The record as the store gives it back, as the editor shows it and as the list shows it.
    void verifyShown(const std::shared_ptr<Session> &session, qint64 id,
                     const RecordInput &expected) {
        RecordStore store = data->vault->records(*session);
        const std::optional<Record> record = store.get(id);
        QVERIFY(record);
        QCOMPARE(record->TypeName, expected.TypeName);
        QCOMPARE(record->AccountName, expected.AccountName);
        QCOMPARE(record->AccountID, expected.AccountID);
        QCOMPARE(store.password(*record), expected.Password);
        QCOMPARE(record->RegDate, expected.RegDate);
        QCOMPARE(record->URL, expected.URL);
        QCOMPARE(record->Remarks, expected.Remarks);

        FrmData look(*data->vault, *session, services(), FrmData::Mode::Look, id, {});
        look.show();
        QVERIFY(QTest::qWaitForWindowExposed(&look));
        QCOMPARE(child<QComboBox>(&look, "CbAccountType")->currentText(), expected.TypeName);
        QCOMPARE(child<QLineEdit>(&look, "TxtAccountName")->text(), expected.AccountName);
        QCOMPARE(child<QLineEdit>(&look, "TxtAccountID")->text(), expected.AccountID);
        QCOMPARE(child<QLineEdit>(&look, "TxtAccountPassword")->text(), expected.Password);
        QCOMPARE(child<QLineEdit>(&look, "TxtRegDate")->text(), expected.RegDate);
        QCOMPARE(child<QLineEdit>(&look, "TxtURL")->text(), expected.URL);
        QCOMPARE(child<QPlainTextEdit>(&look, "TxtRemarks")->toPlainText(), expected.Remarks);
        look.close();

        FrmMain main(*data->vault, session, services());
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        RecordModel *list = main.records();
        list->setMaskPasswords(false);
        const int row = list->rowOf(id);
        QVERIFY(row >= 0);
        const auto cell = [&](int column) { return list->index(row, column).data().toString(); };
        QCOMPARE(cell(RecordModel::TypeNameColumn), expected.TypeName);
        QCOMPARE(cell(RecordModel::AccountNameColumn), expected.AccountName);
        QCOMPARE(cell(RecordModel::AccountIDColumn), expected.AccountID);
        QCOMPARE(cell(RecordModel::PasswordColumn), expected.Password);
        QCOMPARE(cell(RecordModel::URLColumn), expected.URL);
        QCOMPARE(list->index(row, RecordModel::AccountNameColumn).data(Qt::ToolTipRole).toString(),
                 expected.AccountName);
        const QList<QTreeWidgetItem *> nodes =
            child<QTreeWidget>(&main, "TreeViewType")
                ->findItems(expected.TypeName, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(nodes.size(), 1);
    }

private slots:
    void init() {
        env = std::make_unique<TestEnvironment>();
        data = std::make_unique<VaultFixture>();
        backupPath = data->folder.filePath(QStringLiteral("备份.dat"));
    }
    void cleanup() {
        data.reset();
        env.reset();
    }

    void recordFields_data() {
        QTest::addColumn<RecordInput>("typed");
        QTest::addColumn<RecordInput>("shown");
        for (const Awkward &a : awkwardTexts()) {
            const RecordInput every{a.text, a.text, a.text, a.text, {}, a.text, a.text};
            QTest::newRow(a.name) << every << every;
        }
        // The one-line boxes take 50 characters, the web address 200, the remarks 255; what is
        // typed beyond is dropped.
        const QString cjk51 = repeated(QStringLiteral("密码管理"), 51);
        const QString cjk50 = cjk51.left(50);
        const QString url201 = QStringLiteral("https://") + repeated(QStringLiteral("ab%_"), 193);
        const QString remarks256 = repeated(QStringLiteral("备注 'x' "), 256);
        QTest::newRow("longer than the boxes take")
            << RecordInput{cjk51, cjk51, cjk51, cjk51, {}, url201, remarks256}
            << RecordInput{cjk50, cjk50, cjk50, cjk50, {}, url201.left(200), remarks256.left(255)};
        // The boxes count UTF-16 code units: an emoji typed as the 50th character does not fit
        // whole, and only the characters before it may stay.
        const QString emojiAt50 = repeated(QStringLiteral("密码管理"), 49) + QStringLiteral("😀");
        QTest::newRow("an emoji across the limit")
            << RecordInput{emojiAt50, emojiAt50, emojiAt50, emojiAt50, {}, {}, {}}
            << RecordInput{
                   cjk50.left(49), cjk50.left(49), cjk50.left(49), cjk50.left(49), {}, {}, {}};
        // A date is stored, and shown again, as yyyy-MM-dd, whichever form it was typed in.
        const auto dated = [](const QString &date) {
            return RecordInput{QStringLiteral("其它"),
                               QStringLiteral("日期"),
                               QStringLiteral("id"),
                               QStringLiteral("pw"),
                               date,
                               {},
                               {}};
        };
        const RecordInput stored = dated(QStringLiteral("2011-03-05"));
        const std::pair<const char *, const char *> dates[] = {
            {"date as stored", "2011-03-05"},
            {"date with slashes", "2011/3/5"},
            {"date with dots", "2011.3.5"},
            {"date in Chinese", "2011年3月5日"},
            {"date without separators", "20110305"},
            {"date after a tab", "\t2011-3-5"},
            {"date between spaces", " 2011-3-5 "},
            // Ten characters fit: the box keeps "2011年03月05", which is still that day.
            {"date one character too long", "2011年03月05日"},
        };
        for (const auto &[row, typed] : dates)
            QTest::newRow(row) << dated(QString::fromUtf8(typed)) << stored;
    }
    void recordFields() {
        QFETCH(RecordInput, typed);
        QFETCH(RecordInput, shown);
        data->addUser(QStringLiteral("alice"), kLoginPassword);
        data->addUser(QStringLiteral("bob"), kLoginPassword);
        std::shared_ptr<Session> alice = login(QStringLiteral("alice"), kLoginPassword);

        FrmData editor(*data->vault, *alice, services(), FrmData::Mode::Add, 0, {});
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        enter(child<QComboBox>(&editor, "CbAccountType")->lineEdit(), typed.TypeName);
        enter(child<QLineEdit>(&editor, "TxtAccountName"), typed.AccountName);
        enter(child<QLineEdit>(&editor, "TxtAccountID"), typed.AccountID);
        enter(child<QLineEdit>(&editor, "TxtAccountPassword"), typed.Password);
        enter(child<QLineEdit>(&editor, "TxtRegDate"), typed.RegDate);
        enter(child<QLineEdit>(&editor, "TxtURL"), typed.URL);
        enter(child<QPlainTextEdit>(&editor, "TxtRemarks"), typed.Remarks);
        // What a box cuts at its limit goes whole, never half of a character.
        for (QLineEdit *box : editor.findChildren<QLineEdit *>())
            QVERIFY2(!hasLoneSurrogate(box->text()), qPrintable(box->objectName()));
        QTest::mouseClick(child<QPushButton>(&editor, "CmdSave"), Qt::LeftButton);
        QCOMPARE(env->messages.texts(), QStringList());
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        const qint64 id = editor.savedId();
        verifyShown(alice, id, shown);
        if (QTest::currentTestFailed())
            return;

        reopen();
        alice = login(QStringLiteral("alice"), kLoginPassword);
        verifyShown(alice, id, shown);
        if (QTest::currentTestFailed())
            return;

        // Both kinds of backup, each restored into bob.
        for (const bool compact : {true, false}) {
            QVERIFY(BackupDatabase(*data->vault, backupPath, compact));
            std::shared_ptr<Session> bob = login(QStringLiteral("bob"), kLoginPassword);
            BackupFile::open(backupPath, data->folder.path())
                ->restoreInto(*data->vault, *bob, QStringLiteral("alice"), kLoginPassword, false);
            const std::vector<Record> restored = data->vault->records(*bob).all();
            QCOMPARE(restored.size(), std::size_t(1));
            verifyShown(bob, restored.front().id, shown);
        }
    }

    void userNamesAndLoginPasswords_data() {
        QTest::addColumn<QString>("text");
        for (const Awkward &a : awkwardTexts())
            QTest::newRow(a.name) << a.text;
    }
    // The text is both the user name and his login password.
    void userNamesAndLoginPasswords() {
        QFETCH(QString, text);
        const QString &name = text, &password = text;
        const RecordInput record{QStringLiteral("其它"),
                                 QStringLiteral("邮箱"),
                                 QStringLiteral("id"),
                                 QStringLiteral("pw"),
                                 {},
                                 {},
                                 {}};
        std::shared_ptr<Session> session;
        {
            FrmLogin window(*data->vault, services());
            connect(&window, &FrmLogin::loggedIn, this,
                    [&session](std::shared_ptr<Session> s) { session = std::move(s); });
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            onModal([&](QDialog *registration) {
                enter(child<QLineEdit>(registration, "TxtUser"), name);
                enter(child<QLineEdit>(registration, "TxtPass"), password);
                enter(child<QLineEdit>(registration, "TxtVerifyPass"), password);
                QTest::mouseClick(child<QPushButton>(registration, "CmdOK"), Qt::LeftButton);
            });
            QTest::mouseClick(child<QPushButton>(&window, "CmdRegNewUser"), Qt::LeftButton);
            QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("注册成功,请登录!")});
            auto *users = child<QComboBox>(&window, "CbUser");
            QCOMPARE(users->count(), 1);
            QCOMPARE(users->currentText(), name);
            enter(child<QLineEdit>(&window, "TxtPass"), password);
            QTest::mouseClick(child<QPushButton>(&window, "CmdLogin"), Qt::LeftButton);
            QVERIFY(session);
            QCOMPARE(session->userName(), name);
        }
        data->vault->records(*session).add(record);
        {
            FrmMain main(*data->vault, session, services());
            QVERIFY(main.windowTitle().endsWith(QStringLiteral("当前用户:") + name));
        }

        // The next start reads the remembered name from the settings file on disk. QSettings
        // keeps a file it parsed while its size and time stay the same; a new time makes it
        // read the file again.
        reopen();
        const QString ini = env->folder.filePath(QStringLiteral("settings.ini"));
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                     QFileDevice::FileModificationTime));
        }
        SettingsStore reread(ini);
        Services again = services();
        Services withReread{again.messages,    again.clock,      reread,
                            again.clipboard,   again.desktop,    again.tray,
                            again.fileDialogs, again.globalKeys, again.appPath};
        QCOMPARE(data->vault->users().names(), QStringList{name});
        session.reset();
        {
            FrmLogin window(*data->vault, withReread);
            connect(&window, &FrmLogin::loggedIn, this,
                    [&session](std::shared_ptr<Session> s) { session = std::move(s); });
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(child<QComboBox>(&window, "CbUser")->currentText(), name);
            enter(child<QLineEdit>(&window, "TxtPass"), password);
            QTest::mouseClick(child<QPushButton>(&window, "CmdLogin"), Qt::LeftButton);
            QVERIFY(session);
            QCOMPARE(session->userName(), name);
        }
        QCOMPARE(data->vault->records(*session).all().size(), std::size_t(1));

        // In a backup the name is listed as it was, and its password restores his records.
        QVERIFY(BackupDatabase(*data->vault, backupPath, true));
        data->addUser(QStringLiteral("bob"), kLoginPassword);
        std::shared_ptr<Session> bob = login(QStringLiteral("bob"), kLoginPassword);
        std::unique_ptr<BackupFile> backup = BackupFile::open(backupPath, data->folder.path());
        QCOMPARE(backup->users(), QStringList{name});
        env->messages.shown.clear();
        {
            FrmResumeData window(*backup, *data->vault, *bob, services());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto *users = child<QComboBox>(&window, "CbUser");
            QCOMPARE(users->itemText(0), name);
            users->setCurrentIndex(0);
            enter(child<QLineEdit>(&window, "TxtPass"), password);
            QTest::mouseClick(child<QPushButton>(&window, "CmdResume"), Qt::LeftButton);
            QCOMPARE(env->messages.last(), QStringLiteral("数据恢复成功!"));
        }
        const std::vector<Record> restored = data->vault->records(*bob).all();
        QCOMPARE(restored.size(), std::size_t(1));
        QCOMPARE(restored.front().AccountName, record.AccountName);
    }
};

QTEST_MAIN(TstFieldTexts)
#include "tst_fieldtexts.moc"
