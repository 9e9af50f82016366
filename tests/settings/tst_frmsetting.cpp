#include "TestServices.h"
#include "TestWidgets.h"
#include "VaultFixture.h"

#include "records/CategoryStore.h"
#include "records/RecordStore.h"
#include "settings/FrmSetting.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

class TstFrmSetting : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<Vault> vault;
    std::unique_ptr<FrmSetting> window;
    QTemporaryDir config;
    const QString alice = QStringLiteral("alice");
    const QString bob = QStringLiteral("bob");

    template <typename T = QWidget> T *child(const QString &name) {
        return testwidgets::child<T>(window.get(), name);
    }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(QString::fromLatin1(name)); }
    void click(const char *name) {
        QTest::mouseClick(child<QPushButton>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    void open() {
        window = std::make_unique<FrmSetting>(*vault, alice, env->services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    UserSettings saved() { return vault->users().settings(alice); }
    QStringList listed() {
        QStringList names;
        auto *list = child<QListWidget>(QStringLiteral("ListAccountType"));
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
    void select(const QString &category) {
        auto *list = child<QListWidget>(QStringLiteral("ListAccountType"));
        const auto items = list->findItems(category, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        list->setCurrentItem(items.first());
    }
    void addRecord(const QString &user, const QString &category, const QString &name) {
        Session session = *vault->users().login(user, QStringLiteral("secret1"));
        vault->records(session).add(
            {category, name, QStringLiteral("id"), QStringLiteral("pw"), {}, {}, {}});
    }
    QStringList recordCategories(const QString &user) {
        Session session = *vault->users().login(user, QStringLiteral("secret1"));
        QStringList result;
        for (const Record &r : vault->records(session).all())
            result << r.TypeName + QLatin1Char('/') + r.AccountName;
        return result;
    }

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config.path().toUtf8()); }
    void init() {
        env = std::make_unique<TestEnvironment>();
        Vault::create(env->dataFile());
        vault = Vault::open(env->dataFile());
        vault->setKdfParams(crypto::KdfParams::minimal());
        for (const QString &name : {alice, bob})
            vault->users().registerUser(name, QStringLiteral("secret1"), QDate(2026, 1, 1),
                                        env->folder.path());
        open();
    }
    void cleanup() {
        window.reset();
        vault.reset();
        env.reset();
    }

    void opensOnTheBackupPage() {
        QCOMPARE(window->windowTitle(), QStringLiteral("设置"));
        QCOMPARE(window->CurPage(), 0);
        QCOMPARE(child<QStackedWidget>(QStringLiteral("PicFunction"))->currentIndex(), 0);
        for (int i = 0; i < FrmSetting::kPages; ++i) {
            auto *label = child<QLabel>(QStringLiteral("lblSelect%1").arg(i));
            QCOMPARE(label->font().bold(), i == 0);
        }
        QCOMPARE(child<QLabel>(QStringLiteral("lblSelect0"))->text(), QStringLiteral("备份压缩"));
        QTest::mouseClick(child(QStringLiteral("PicSelect3")), Qt::LeftButton);
        QCOMPARE(window->CurPage(), 3);
        QVERIFY(child<QLabel>(QStringLiteral("lblSelect3"))->font().bold());
        QVERIFY(!child<QLabel>(QStringLiteral("lblSelect0"))->font().bold());
    }

    void loadsAndSavesEverySetting() {
        QCOMPARE(edit("TxtDay")->text(), QStringLiteral("0"));
        QCOMPARE(edit("TxtMinLock")->text(), QStringLiteral("5"));
        QCOMPARE(edit("TxtShortcutKey0")->text(), QStringLiteral("Alt + Num 1"));
        QCOMPARE(edit("TxtShortcutKey3")->text(), QStringLiteral("Alt + S"));
        QVERIFY(child<QCheckBox>(QStringLiteral("ChkCloseMin"))->isChecked());
        edit("TxtDay")->setText(QStringLiteral("7"));
        edit("TxtMinLock")->setText(QStringLiteral("2.5"));
        child<QCheckBox>(QStringLiteral("ChkCompress"))->setChecked(false);
        child<QCheckBox>(QStringLiteral("ChkShowPassword"))->setChecked(false);
        child<QCheckBox>(QStringLiteral("ChkClearClipboard"))->setChecked(false);
        child<QCheckBox>(QStringLiteral("ChkCloseMin"))->setChecked(false);
        // Capture Ctrl+F5 for the password shortcut, as the keyboard gives it.
        auto *box = edit("TxtShortcutKey1");
        QTest::keyPress(box, Qt::Key_Control, Qt::ControlModifier);
        QTest::keyPress(box, Qt::Key_F5, Qt::ControlModifier);
        QTest::keyRelease(box, Qt::Key_F5, Qt::ControlModifier);
        QTest::keyRelease(box, Qt::Key_Control, Qt::NoModifier);
        QCOMPARE(box->text(), QStringLiteral("Ctrl + F5"));
        click("CmdOK");
        const UserSettings s = saved();
        QCOMPARE(s.AutoBackup, 7.0);
        QCOMPARE(s.MinLockTime, 2.5);
        QVERIFY(!s.AutoCompress && !s.ShowPassword && !s.ClearClipboard);
        QCOMPARE(s.Custom2, 0);
        QCOMPARE(s.ShortcutPassword, QStringLiteral("2|116"));
        QCOMPARE(s.ShortcutUser, QStringLiteral("4|49"));
        QCOMPARE(vault->users().settings(bob), UserSettings(vault->users().settings(bob)));
        QCOMPARE(vault->users().settings(bob).AutoBackup, 0.0);
    }

    void cancelWritesNothing() {
        edit("TxtDay")->setText(QStringLiteral("9"));
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(saved().AutoBackup, 0.0);
    }

    // Shift with a main-row digit reaches the box as the symbol above the digit; the capture keeps
    // the digit's key. Keypad digits keep their own codes.
    void shiftedDigitsCaptureTheDigitKey_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        const int shift = Qt::ShiftModifier;
        QTest::newRow("Shift+1") << 3 << int(Qt::Key_Exclam) << shift << "Shift + Num 1"
                                 << "1|49";
        QTest::newRow("Shift+2") << 3 << int(Qt::Key_At) << shift << "Shift + Num 2"
                                 << "1|50";
        QTest::newRow("Shift+6") << 3 << int(Qt::Key_AsciiCircum) << shift << "Shift + Num 6"
                                 << "1|54";
        QTest::newRow("Shift+9") << 3 << int(Qt::Key_ParenLeft) << shift << "Shift + Num 9"
                                 << "1|57";
        QTest::newRow("Shift+0") << 3 << int(Qt::Key_ParenRight) << shift << "Shift + Num 0"
                                 << "1|48";
        QTest::newRow("Shift+1, paste box") << 0 << int(Qt::Key_Exclam) << shift << ""
                                            << "";
        QTest::newRow("keypad 1") << 3 << int(Qt::Key_1)
                                  << int(Qt::AltModifier | Qt::KeypadModifier) << "Alt + Num 1"
                                  << "4|97";
        QTest::newRow("main-row 1") << 3 << int(Qt::Key_1) << int(Qt::AltModifier) << "Alt + Num 1"
                                    << "4|49";
    }
    void shiftedDigitsCaptureTheDigitKey() {
        QFETCH(int, box);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        auto *edit = child<QLineEdit>(QStringLiteral("TxtShortcutKey%1").arg(box));
        const auto held = Qt::KeyboardModifiers(modifiers);
        const Qt::Key modifier = held & Qt::ShiftModifier ? Qt::Key_Shift : Qt::Key_Alt;
        QTest::keyPress(edit, modifier, held & ~Qt::KeypadModifier);
        QTest::keyPress(edit, Qt::Key(key), held);
        QTest::keyRelease(edit, Qt::Key(key), held);
        QTest::keyRelease(edit, modifier, Qt::NoModifier);
        QCOMPARE(edit->text(), shown);
        click("CmdOK");
        const UserSettings s = saved();
        QCOMPARE(box == 3 ? s.Custom1 : s.ShortcutUser, stored);
    }

    // The two number boxes show the stored number with every digit it has, and OK stores it
    // again unchanged.
    void numberBoxesKeepTheStoredValue_data() {
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("seven digits") << 1234567.0 << "1234567";
        QTest::newRow("a tenth") << 0.1 << "0.1";
        QTest::newRow("a half") << 2.5 << "2.5";
        QTest::newRow("small") << 1e-7 << "1e-07";
        QTest::newRow("a third") << 1.0 / 3 << "0.3333333333333333";
        QTest::newRow("many decimals") << 123456.789 << "123456.789";
        QTest::newRow("negative") << -3.0 << "-3";
        QTest::newRow("large") << 1e21 << "1e+21";
    }
    void numberBoxesKeepTheStoredValue() {
        QFETCH(double, stored);
        QFETCH(QString, shown);
        UserSettings s = saved();
        s.AutoBackup = stored;
        s.MinLockTime = stored;
        vault->users().saveSettings(alice, s);
        open();
        QCOMPARE(edit("TxtDay")->text(), shown);
        QCOMPARE(edit("TxtMinLock")->text(), shown);
        click("CmdOK");
        QCOMPARE(saved().AutoBackup, stored);
        QCOMPARE(saved().MinLockTime, stored);
        QVERIFY(env->messages.shown.isEmpty());
    }

    void lockTimeCheckedWhileTyping_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("after");
        QTest::newRow("digit then letter") << "1a" << true << "";
        QTest::newRow("minus alone") << "-" << true << "";
        QTest::newRow("decimal") << "2.5" << false << "2.5";
        // Key by key, a negative number starts as a lone minus sign, which is refused.
        QTest::newRow("negative typed") << "-3" << true << "3";
    }
    void lockTimeCheckedWhileTyping() {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(QString, after);
        edit("TxtMinLock")->clear();
        QTest::keyClicks(edit("TxtMinLock"), typed);
        QCOMPARE(env->messages.texts().contains(QStringLiteral("请输入正确时间!")), refused);
        QCOMPARE(edit("TxtMinLock")->text(), after);
    }

    void daysCheckedOnLeaving_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<double>("stored");
        QTest::newRow("letters") << "abc" << true << 0.0;
        QTest::newRow("negative") << "-3" << false << -3.0;
        QTest::newRow("negative then letter") << "-3x" << false << -3.0;
        QTest::newRow("empty") << "" << false << 0.0;
    }
    void daysCheckedOnLeaving() {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(double, stored);
        edit("TxtDay")->setFocus();
        edit("TxtDay")->setText(typed);
        edit("TxtMinLock")->setFocus();
        QCOMPARE(env->messages.texts().contains(QStringLiteral("请输入正确天数!")), refused);
        if (refused)
            QVERIFY(edit("TxtDay")->text().isEmpty());
        edit("TxtMinLock")->clear(); // empty saves 0 too
        click("CmdOK");
        QCOMPARE(saved().AutoBackup, stored);
        QCOMPARE(saved().MinLockTime, 0.0);
    }

    // Only leaving the box for another control of the window checks it: a switch to another
    // application or a context menu takes the focus for a while and gives it back.
    void daysCheckedOnlyWhenLeftInsideTheWindow_data() {
        QTest::addColumn<QString>("away");
        QTest::addColumn<bool>("refused");
        QTest::newRow("another application") << "application" << false;
        QTest::newRow("a context menu") << "menu" << false;
        QTest::newRow("Tab to the next box") << "tab" << true;
    }
    void daysCheckedOnlyWhenLeftInsideTheWindow() {
        QFETCH(QString, away);
        QFETCH(bool, refused);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QLineEdit *days = edit("TxtDay");
        days->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(days, QStringLiteral("abc"));
        QWidget other;
        QMenu menu;
        if (away == "application") {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        } else if (away == "menu") {
            menu.addAction(QStringLiteral("x"));
            menu.popup(days->mapToGlobal(QPoint(0, 0)));
            QVERIFY(QTest::qWaitForWindowExposed(&menu));
        } else {
            QTest::keyClick(days, Qt::Key_Tab);
        }
        QCOMPARE(env->messages.texts().contains(QStringLiteral("请输入正确天数!")), refused);
        QCOMPARE(days->text().isEmpty(), refused);
    }

    void backupPathChooser_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("shown"); // "=" keeps the old path
        QTest::addColumn<bool>("refused");
        QTest::newRow("cancel") << ""
                                << "=" << false;
        QTest::newRow("no extension") << "/tmp/mine"
                                      << "/tmp/mine.dat" << false;
        QTest::newRow("capitals kept") << "/tmp/MINE.DAT"
                                       << "/tmp/MINE.DAT" << false;
        QTest::newRow("data file") << "<data>"
                                   << "" << true;
        QTest::newRow("data file without extension") << "<data-noext>"
                                                     << "" << true;
    }
    void backupPathChooser() {
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        QFETCH(bool, refused);
        const QString before = edit("TxtPath")->text();
        if (chosen == QLatin1String("<data>"))
            chosen = env->dataFile();
        else if (chosen == QLatin1String("<data-noext>"))
            chosen = env->folder.filePath(QStringLiteral("SystemData"));
        env->fileDialogs.answers.push_back(chosen);
        QTest::mouseClick(child(QStringLiteral("ImgPath")), Qt::LeftButton);
        QCOMPARE(env->fileDialogs.asked.size(), 1);
        QCOMPARE(env->fileDialogs.asked.first().at(1), QStringLiteral("备份文件(dat)|*.dat"));
        QCOMPARE(env->fileDialogs.asked.first().at(3), QStringLiteral("SystemDataBackup"));
        QCOMPARE(edit("TxtPath")->text(), shown == QLatin1String("=") ? before : shown);
        QCOMPARE(env->messages.texts().contains(
                     QStringLiteral("备份文件不能与数据文件路径一样,请重新选择.")),
                 refused);
        if (refused)
            QCOMPARE(env->messages.shown.last().icon, MessageService::Icon::None);
    }

    void autorunEntry() {
        const QString entry = config.filePath(QStringLiteral("autostart/ombrivo.desktop"));
        child<QCheckBox>(QStringLiteral("ChkWinRun"))->setChecked(true);
        click("CmdOK");
        QVERIFY(QFile::exists(entry));
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QCoreApplication::applicationFilePath().toUtf8()));
        QVERIFY(saved().WinRun);
        open();
        child<QCheckBox>(QStringLiteral("ChkWinRun"))->setChecked(false);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(QFile::exists(entry)); // cancel leaves it
        open();
        child<QCheckBox>(QStringLiteral("ChkWinRun"))->setChecked(false);
        click("CmdOK");
        QVERIFY(!QFile::exists(entry));
    }

    void reservedCategories_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("default") << "银行帐号";
        QTest::newRow("part") << "帐号";
        QTest::newRow("latin part") << "FTP";
        QTest::newRow("one character") << "其";
    }
    void reservedCategories() {
        QFETCH(QString, name);
        if (!listed().contains(name))
            vault->categories(alice).add({name, 11});
        open();
        select(name);
        click("CmdEditType");
        click("CmdDeleteType");
        QCOMPARE(env->messages.texts(), QStringList({QStringLiteral("系统保留分类,不能修改!"),
                                                     QStringLiteral("系统保留分类,不能删除!")}));
        QVERIFY(listed().contains(name));
        QVERIFY(!window->categoriesChanged());
    }

    void addRenameDelete() {
        addRecord(alice, QStringLiteral("Tom's"), QStringLiteral("a1"));
        addRecord(bob, QStringLiteral("Tom's"), QStringLiteral("b1"));
        // Add, with a quote in the name; shown at the end.
        click("CmdAddType");
        QVERIFY(!edit("TxtAccountType")->isReadOnly());
        QVERIFY(!child(QStringLiteral("ListAccountType"))->isEnabled());
        QTest::keyClicks(edit("TxtAccountType"), QStringLiteral("Tom's"));
        click("CmdSaveType");
        QCOMPARE(listed().last(), QStringLiteral("Tom's"));
        QVERIFY(window->categoriesChanged());
        QVERIFY(edit("TxtAccountType")->isReadOnly());
        // Duplicates: the same name, and the empty name.
        click("CmdAddType");
        QTest::keyClicks(edit("TxtAccountType"), QStringLiteral("Tom's"));
        click("CmdSaveType");
        click("CmdCancelType");
        click("CmdAddType");
        click("CmdSaveType");
        QCOMPARE(env->messages.texts(), QStringList(2, QStringLiteral("该分类已存在,请重新输入!")));
        click("CmdCancelType");
        // Rename to its own name is a duplicate; to other letter case it is not.
        select(QStringLiteral("Tom's"));
        click("CmdEditType");
        QCOMPARE(edit("TxtAccountType")->text(), QStringLiteral("Tom's"));
        click("CmdSaveType");
        QCOMPARE(env->messages.shown.size(), 3);
        edit("TxtAccountType")->setText(QStringLiteral("TOM'S"));
        click("CmdSaveType");
        QCOMPARE(env->messages.shown.size(), 3);
        QVERIFY(listed().contains(QStringLiteral("TOM'S")));
        // Alice's record moved with the category; Bob's stays.
        QCOMPARE(recordCategories(alice), QStringList{QStringLiteral("TOM'S/a1")});
        QCOMPARE(recordCategories(bob), QStringList{QStringLiteral("Tom's/b1")});
        // Delete with No, then with Yes: the records of this user only go with it.
        select(QStringLiteral("TOM'S"));
        env->messages.answers = {MessageService::Answer::No};
        click("CmdDeleteType");
        QVERIFY(listed().contains(QStringLiteral("TOM'S")));
        QCOMPARE(env->messages.last(),
                 QStringLiteral("是否删除“TOM'S”分类和“TOM'S”分类下所有数据?"));
        click("CmdDeleteType");
        QVERIFY(!listed().contains(QStringLiteral("TOM'S")));
        QVERIFY(recordCategories(alice).isEmpty());
        QCOMPARE(recordCategories(bob), QStringList{QStringLiteral("Tom's/b1")});
        QCOMPARE(vault->categories(bob).list().size(), std::size_t(9));
        // Nothing selected after a delete: a second delete meets the empty name.
        click("CmdDeleteType");
        QCOMPARE(env->messages.last(), QStringLiteral("系统保留分类,不能删除!"));
        // Cancelling the window keeps the category changes.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(vault->categories(alice).list().size(), std::size_t(9));
    }

    // "ftp帐号" is a category of its own beside the reserved "FTP帐号".
    void letterCaseTwinOfAReservedName_data() {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QStringList>("records");
        QTest::newRow("delete") << false << QStringList{QStringLiteral("FTP帐号/reserved")};
        QTest::newRow("rename") << true
                                << QStringList{QStringLiteral("FTP帐号/reserved"),
                                               QStringLiteral("Ftp帐号/twin")};
    }
    void letterCaseTwinOfAReservedName() {
        QFETCH(bool, rename);
        QFETCH(QStringList, records);
        vault->categories(alice).add({QStringLiteral("ftp帐号"), 11});
        addRecord(alice, QStringLiteral("FTP帐号"), QStringLiteral("reserved"));
        addRecord(alice, QStringLiteral("ftp帐号"), QStringLiteral("twin"));
        open();
        select(QStringLiteral("ftp帐号"));
        if (rename) {
            click("CmdEditType");
            edit("TxtAccountType")->setText(QStringLiteral("Ftp帐号"));
            click("CmdSaveType");
        } else {
            click("CmdDeleteType");
        }
        QCOMPARE(env->messages.shown.size(), rename ? 0 : 1);
        QCOMPARE(listed()
                     .filter(QStringLiteral("帐号"))
                     .filter(QStringLiteral("tp"), Qt::CaseInsensitive),
                 rename ? QStringList({QStringLiteral("FTP帐号"), QStringLiteral("Ftp帐号")})
                        : QStringList{QStringLiteral("FTP帐号")});
        QCOMPARE(recordCategories(alice), records);
        std::vector<Category> stored = vault->categories(alice).list();
        QCOMPARE(stored.front().TypeName, QStringLiteral("FTP帐号"));
        QCOMPARE(stored.size(), std::size_t(rename ? 10 : 9));
    }
};

QTEST_MAIN(TstFrmSetting)
#include "tst_frmsetting.moc"
