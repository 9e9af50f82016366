#include "TestServices.h"
#include "TestWidgets.h"
#include "VaultFixture.h"

#include "records/CategoryStore.h"
#include "records/FrmData.h"
#include "records/RecordStore.h"
#include "users/Session.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kWeb = QStringLiteral("网站帐号");
}

// The record editor over a real vault: one user with two Gmail accounts and a record whose
// category no longer exists.
class TstFrmData : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<VaultFixture> data;
    std::unique_ptr<Session> session;
    std::unique_ptr<FrmData> window;
    qint64 gmail = 0;  // 网站帐号 / Gmail / alice, with a web address
    qint64 gmail2 = 0; // 网站帐号 / Gmail / alice2, without one
    qint64 orphan = 0; // 旧分类 / 旧帐号 / old

    RecordStore records() { return data->vault->records(*session); }
    std::vector<Category> categories() {
        return data->vault->categories(session->userName()).list();
    }

    void open(FrmData::Mode mode, qint64 id = 0, const QString &category = {}) {
        window =
            std::make_unique<FrmData>(*data->vault, *session, env->services(), mode, id, category);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    template <typename T = QLineEdit> T *field(const char *name) {
        return testwidgets::child<T>(window.get(), name);
    }
    QComboBox *category() { return field<QComboBox>("CbAccountType"); }
    QLineEdit *password() { return field("TxtAccountPassword"); }
    void fill(const QString &type, const QString &name, const QString &id, const QString &pass,
              const QString &date = {}) {
        category()->setEditText(type);
        field("TxtAccountName")->setText(name);
        field("TxtAccountID")->setText(id);
        password()->setText(pass);
        field("TxtRegDate")->setText(date);
    }
    void save() { QTest::mouseClick(field<QPushButton>("CmdSave"), Qt::LeftButton); }
    void click(const char *label) { QTest::mouseClick(field<QLabel>(label), Qt::LeftButton); }
    bool focused(QWidget *widget) {
        QWidget *focus = window->focusWidget();
        return focus && (focus == widget || focus->parentWidget() == widget);
    }
    bool saved() { return window->result() == QDialog::Accepted && !window->isVisible(); }
    void expectRefused(const QString &message) {
        QCOMPARE(env->messages.texts(), QStringList{message});
        QVERIFY(window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
    }

private slots:
    void init() {
        env = std::make_unique<TestEnvironment>();
        data = std::make_unique<VaultFixture>();
        data->addUser(QStringLiteral("alice"), QStringLiteral("Secret1"));
        session = std::make_unique<Session>(
            data->login(QStringLiteral("alice"), QStringLiteral("Secret1")));
        gmail = records().add({kWeb, QStringLiteral("Gmail"), QStringLiteral("alice"),
                               QStringLiteral("p@ss1"), QStringLiteral("2011-03-05"),
                               QStringLiteral("https://mail.example"), QStringLiteral("工作")});
        gmail2 = records().add({kWeb,
                                QStringLiteral("Gmail"),
                                QStringLiteral("alice2"),
                                QStringLiteral("p@ss2"),
                                {},
                                {},
                                {}});
        orphan = records().add({QStringLiteral("旧分类"),
                                QStringLiteral("旧帐号"),
                                QStringLiteral("old"),
                                QStringLiteral("x"),
                                {},
                                {},
                                {}});
    }
    void cleanup() {
        window.reset();
        session.reset();
        data.reset();
        env.reset();
    }

    void addStartsFromTheSelectedCategory() {
        open(FrmData::Mode::Add, 0, kWeb);
        QCOMPARE(window->windowTitle(), QStringLiteral("添加资料"));
        QCOMPARE(category()->currentText(), kWeb);
        QCOMPARE(category()->count(), 9);
        QCOMPARE(category()->itemText(0), QStringLiteral("FTP帐号"));
        QCOMPARE(field("TxtURL")->text(), QStringLiteral("http://"));
        QCOMPARE(password()->echoMode(), QLineEdit::Password);
        QVERIFY(field<QPushButton>("CmdSave")->isDefault());
        QVERIFY(field<QLabel>("lblOpenURL")->isHidden());
        QVERIFY(field<QPushButton>("CmdEdit")->isHidden());
        QVERIFY(!field<QLabel>("lblNowData")->isHidden());
    }

    void validation_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        // Each row fills one more field; the first missing one is reported.
        QTest::newRow("nothing") << ""
                                 << ""
                                 << ""
                                 << ""
                                 << "2011-13-40"
                                 << "请输入或选择帐号分类!"
                                 << "CbAccountType";
        QTest::newRow("no name") << kWeb << ""
                                 << "u"
                                 << "p"
                                 << ""
                                 << "请输入帐号名称!"
                                 << "TxtAccountName";
        QTest::newRow("neither id nor password") << kWeb << "n"
                                                 << ""
                                                 << ""
                                                 << ""
                                                 << "请输入用户名或密码!"
                                                 << "TxtAccountID";
        QTest::newRow("no id") << kWeb << "n"
                               << ""
                               << "p"
                               << ""
                               << "请输入用户名或密码!"
                               << "TxtAccountID";
        QTest::newRow("no password") << kWeb << "n"
                                     << "u"
                                     << ""
                                     << ""
                                     << "请输入用户名或密码!"
                                     << "TxtAccountPassword";
        QTest::newRow("no such day") << kWeb << "n"
                                     << "u"
                                     << "p"
                                     << "2011-13-40"
                                     << "注册日期格式错误,请重新输入!"
                                     << "TxtRegDate";
        QTest::newRow("29 February 2023") << kWeb << "n"
                                          << "u"
                                          << "p"
                                          << "2023-2-29"
                                          << "注册日期格式错误,请重新输入!"
                                          << "TxtRegDate";
        QTest::newRow("no date") << kWeb << "n"
                                 << "u"
                                 << "p"
                                 << "abc"
                                 << "注册日期格式错误,请重新输入!"
                                 << "TxtRegDate";
    }
    void validation() {
        QFETCH(QString, type);
        QFETCH(QString, name);
        QFETCH(QString, id);
        QFETCH(QString, pass);
        QFETCH(QString, date);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        open(FrmData::Mode::Add);
        fill(type, name, id, pass, date);
        save();
        expectRefused(message);
        QVERIFY(focused(window->findChild<QWidget *>(focus)));
        QCOMPARE(env->messages.shown.first().title, QStringLiteral("提示"));
        QCOMPARE(env->messages.shown.first().icon, MessageService::Icon::Information);
        QCOMPARE(records().all().size(), std::size_t(3));
        // Nothing typed was lost.
        QCOMPARE(field("TxtRegDate")->text(), date);
        QCOMPARE(field("TxtURL")->text(), QStringLiteral("http://"));
    }

    void storedValues_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("storedDate");
        QTest::addColumn<QString>("storedUrl");
        QTest::newRow("defaults") << ""
                                  << "http://"
                                  << ""
                                  << "";
        QTest::newRow("slashes") << "2011/3/5"
                                 << "https://mail.qq.example"
                                 << "2011-03-05"
                                 << "https://mail.qq.example";
        QTest::newRow("chinese date") << "2011年3月5日"
                                      << ""
                                      << "2011-03-05"
                                      << "";
        QTest::newRow("leap day") << "2024-02-29"
                                  << "http://x"
                                  << "2024-02-29"
                                  << "http://x";
    }
    void storedValues() {
        QFETCH(QString, date);
        QFETCH(QString, url);
        QFETCH(QString, storedDate);
        QFETCH(QString, storedUrl);
        open(FrmData::Mode::Add);
        fill(QStringLiteral("邮箱帐号"), QStringLiteral("QQ邮箱"), QStringLiteral("10001"),
             QStringLiteral("s3cret"), date);
        field("TxtURL")->setText(url);
        field<QPlainTextEdit>("TxtRemarks")->setPlainText(QStringLiteral("第一行\n第二行"));
        save();
        QVERIFY(env->messages.shown.isEmpty());
        QVERIFY(saved());
        QVERIFY(!window->categoriesChanged());
        const std::optional<Record> record = records().get(window->savedId());
        QVERIFY(record);
        QCOMPARE(record->TypeName, QStringLiteral("邮箱帐号"));
        QCOMPARE(record->AccountName, QStringLiteral("QQ邮箱"));
        QCOMPARE(record->AccountPY, QStringLiteral("QQYX"));
        QCOMPARE(record->AccountID, QStringLiteral("10001"));
        QCOMPARE(records().password(*record), QStringLiteral("s3cret"));
        QVERIFY(!record->AccountPassword.contains("s3cret"));
        QCOMPARE(record->RegDate, storedDate);
        QCOMPARE(record->URL, storedUrl);
        QCOMPARE(record->Remarks, QStringLiteral("第一行\n第二行"));
        QCOMPARE(categories().size(), std::size_t(9));
    }

    void typedCategory_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("created");
        QTest::newRow("listed") << kWeb << false;
        QTest::newRow("new") << "新分类" << true;
        QTest::newRow("other letter case") << "ftp帐号" << true;
        QTest::newRow("apostrophe") << "Tom's" << true;
    }
    void typedCategory() {
        QFETCH(QString, type);
        QFETCH(bool, created);
        open(FrmData::Mode::Add);
        fill(type, QStringLiteral("n"), QStringLiteral("u"), QStringLiteral("p"));
        save();
        QVERIFY(saved());
        QCOMPARE(window->categoriesChanged(), created);
        const std::vector<Category> after = categories();
        QCOMPARE(after.size(), std::size_t(created ? 10 : 9));
        if (created)
            QCOMPARE(after.back(), (Category{type, 11}));
        QCOMPARE(records().get(window->savedId())->TypeName, type);
    }

    void createdCategoryStaysWhenTheRecordIsRefused() {
        open(FrmData::Mode::Add);
        fill(QStringLiteral("旧分类"), QStringLiteral("旧帐号"), QStringLiteral("old"),
             QStringLiteral("p"));
        save();
        expectRefused(QStringLiteral("该帐号已存在,请重新输入!"));
        QVERIFY(focused(category()));
        QVERIFY(window->categoriesChanged());
        QCOMPARE(categories().back(), (Category{QStringLiteral("旧分类"), 11}));
        // A second try does not make the category twice, and cancelling keeps it.
        save();
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(window->categoriesChanged());
        QCOMPARE(categories().size(), std::size_t(10));
        QCOMPARE(records().all().size(), std::size_t(3));
    }

    void duplicateKeyOnAdd_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same key") << kWeb << "Gmail"
                                  << "alice" << true;
        QTest::newRow("other id") << kWeb << "Gmail"
                                  << "alice3" << false;
        QTest::newRow("other category") << "邮箱帐号"
                                        << "Gmail"
                                        << "alice" << false;
        QTest::newRow("other name") << kWeb << "Outlook"
                                    << "alice" << false;
    }
    void duplicateKeyOnAdd() {
        QFETCH(QString, type);
        QFETCH(QString, name);
        QFETCH(QString, id);
        QFETCH(bool, refused);
        open(FrmData::Mode::Add);
        fill(type, name, id, QStringLiteral("new"));
        save();
        if (refused) {
            expectRefused(QStringLiteral("该帐号已存在,请重新输入!"));
            QVERIFY(focused(category()));
            QCOMPARE(records().all().size(), std::size_t(3));
        } else {
            QVERIFY(saved());
            QCOMPARE(records().all().size(), std::size_t(4));
        }
    }

    void editKey_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<bool>("refused");
        QTest::newRow("free key") << "alice3"
                                  << "p@ss2" << false;
        QTest::newRow("taken key") << "alice"
                                   << "p@ss2" << true;
        QTest::newRow("key unchanged") << "alice2"
                                       << "changed" << false;
    }
    void editKey() {
        QFETCH(QString, id);
        QFETCH(QString, pass);
        QFETCH(bool, refused);
        open(FrmData::Mode::Edit, gmail2);
        QCOMPARE(window->windowTitle(), QStringLiteral("修改资料"));
        QCOMPARE(field("TxtAccountID")->text(), QStringLiteral("alice2"));
        QCOMPARE(password()->text(), QStringLiteral("p@ss2"));
        QVERIFY(field<QPushButton>("CmdSave")->isEnabled());
        QVERIFY(!field("TxtAccountName")->isReadOnly());
        field("TxtAccountID")->setText(id);
        password()->setText(pass);
        field("TxtRegDate")->setText(QStringLiteral("2011.3.5"));
        save();
        const Record record = *records().get(gmail2);
        if (refused) {
            expectRefused(QStringLiteral("该帐号已存在,请重新输入!"));
            QCOMPARE(record.AccountID, QStringLiteral("alice2"));
            QCOMPARE(record.RegDate, QString());
        } else {
            QVERIFY(saved());
            QCOMPARE(window->savedId(), gmail2);
            QCOMPARE(record.AccountID, id);
            QCOMPARE(records().password(record), pass);
            QCOMPARE(record.RegDate, QStringLiteral("2011-03-05"));
        }
        QCOMPARE(records().all().size(), std::size_t(3));
        QCOMPARE(records().get(gmail)->AccountID, QStringLiteral("alice"));
    }

    void apostrophesEverywhere() {
        const QString type = QStringLiteral("Tom's"), name = QStringLiteral("O'Brien's"),
                      id = QStringLiteral("it's '' me");
        open(FrmData::Mode::Add);
        fill(type, name, id, QStringLiteral("a'b"));
        save();
        QVERIFY(saved());
        const qint64 added = window->savedId();

        open(FrmData::Mode::Edit, added);
        QCOMPARE(category()->currentText(), type);
        QCOMPARE(field("TxtAccountName")->text(), name);
        QCOMPARE(field("TxtAccountID")->text(), id);
        save();
        QVERIFY(saved());
        QVERIFY(!window->categoriesChanged());

        open(FrmData::Mode::Add);
        fill(type, name, id, QStringLiteral("p"));
        save();
        expectRefused(QStringLiteral("该帐号已存在,请重新输入!"));
        QCOMPARE(records().password(*records().get(added)), QStringLiteral("a'b"));
        QCOMPARE(categories().size(), std::size_t(10));
    }

    void lookIsReadOnly() {
        open(FrmData::Mode::Look, gmail);
        QCOMPARE(window->windowTitle(), QStringLiteral("查看资料"));
        QCOMPARE(category()->currentText(), kWeb);
        QCOMPARE(field("TxtRegDate")->text(), QStringLiteral("2011-03-05"));
        QCOMPARE(field<QPlainTextEdit>("TxtRemarks")->toPlainText(), QStringLiteral("工作"));
        QVERIFY(!category()->isEnabled());
        for (const char *name :
             {"TxtAccountName", "TxtAccountID", "TxtAccountPassword", "TxtRegDate", "TxtURL"})
            QVERIFY2(field(name)->isReadOnly(), name);
        QVERIFY(field<QPlainTextEdit>("TxtRemarks")->isReadOnly());
        QVERIFY(!field<QPushButton>("CmdSave")->isEnabled());
        QVERIFY(!field<QPushButton>("CmdEdit")->isHidden());
        QVERIFY(field<QLabel>("lblNowData")->isHidden());
        QVERIFY(field<QLabel>("lblOpenURL")->isEnabled());
        QCOMPARE(password()->echoMode(), QLineEdit::Password);
        QCOMPARE(password()->toolTip(), QStringLiteral("点击旁边星号显示密码"));

        // Enter does not save either.
        QTest::keyClick(window.get(), Qt::Key_Return);
        QVERIFY(window->isVisible());
        QVERIFY(env->messages.shown.isEmpty());
        QCOMPARE(window->mode(), FrmData::Mode::Look);
    }

    void lookCopiesAndShowsThePassword() {
        open(FrmData::Mode::Look, gmail);
        env->clipboard.setText(QStringLiteral("old"));
        QTest::mouseDClick(password(), Qt::LeftButton);
        QCOMPARE(env->clipboard.text(), QStringLiteral("p@ss1"));
        QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("密码已复制到系统剪贴板!")});

        click("lblOther4");
        QCOMPARE(password()->echoMode(), QLineEdit::Normal);
        QCOMPARE(password()->toolTip(), QStringLiteral("点击旁边星号隐藏密码"));
        click("lblOther4");
        QCOMPARE(password()->echoMode(), QLineEdit::Password);
        QCOMPARE(password()->toolTip(), QStringLiteral("点击旁边星号显示密码"));
    }

    void lookSwitchesToEdit() {
        open(FrmData::Mode::Look, gmail);
        QTest::mouseClick(field<QPushButton>("CmdEdit"), Qt::LeftButton);
        QCOMPARE(window->mode(), FrmData::Mode::Edit);
        QCOMPARE(window->windowTitle(), QStringLiteral("修改资料"));
        QVERIFY(field<QPushButton>("CmdSave")->isEnabled());
        QVERIFY(field<QPushButton>("CmdEdit")->isHidden());
        QVERIFY(field<QLabel>("lblOpenURL")->isHidden());
        QVERIFY(!field<QLabel>("lblNowData")->isHidden());
        QVERIFY(category()->isEnabled());
        QVERIFY(!field("TxtAccountName")->isReadOnly());
        QCOMPARE(field("TxtRegDate")->toolTip(), QStringLiteral("点击旁边Now插入当前日期"));
        QStringList listed;
        for (int i = 0; i < category()->count(); ++i)
            listed << category()->itemText(i);
        QCOMPARE(listed.size(), 9);
        listed.removeDuplicates();
        QCOMPARE(listed.size(), 9);

        // The star and the double click belong to view mode only.
        click("lblOther4");
        QCOMPARE(password()->echoMode(), QLineEdit::Password);
        QTest::mouseDClick(password(), Qt::LeftButton);
        QVERIFY(env->clipboard.text().isEmpty());

        field("TxtAccountName")->setText(QStringLiteral("Gmail 工作"));
        save();
        QVERIFY(saved());
        QCOMPARE(records().get(gmail)->AccountName, QStringLiteral("Gmail 工作"));
        QCOMPARE(records().get(gmail)->URL, QStringLiteral("https://mail.example"));
    }

    void nowPutsTodaysDate() {
        env->clock.set(QDate(2011, 3, 5));
        open(FrmData::Mode::Add);
        field("TxtRegDate")->setText(QStringLiteral("1999-1-1"));
        click("lblNowData");
        QCOMPARE(field("TxtRegDate")->text(), QStringLiteral("2011-03-05"));
    }

    void openOpensTheWebAddress() {
        open(FrmData::Mode::Look, gmail);
        click("lblOpenURL");
        QCOMPARE(env->desktop.opened, QStringList{QStringLiteral("https://mail.example")});

        open(FrmData::Mode::Look, gmail2);
        QVERIFY(!field<QLabel>("lblOpenURL")->isEnabled());
        click("lblOpenURL");
        QCOMPARE(env->desktop.opened.size(), 1);
    }

    void escapeWritesNothing_data() {
        QTest::addColumn<bool>("add");
        QTest::newRow("add") << true;
        QTest::newRow("edit") << false;
    }
    void escapeWritesNothing() {
        QFETCH(bool, add);
        if (add)
            open(FrmData::Mode::Add);
        else
            open(FrmData::Mode::Edit, gmail);
        fill(QStringLiteral("新分类"), QStringLiteral("n"), QStringLiteral("u"),
             QStringLiteral("p"), QStringLiteral("2011-3-5"));
        QTest::keyClick(field("TxtAccountName"), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(!window->categoriesChanged());
        QCOMPARE(categories().size(), std::size_t(9));
        QCOMPARE(records().all().size(), std::size_t(3));
        QCOMPARE(records().get(gmail)->AccountName, QStringLiteral("Gmail"));
    }
};

QTEST_MAIN(TstFrmData)
#include "tst_frmdata.moc"
