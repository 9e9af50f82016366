#include "MainWindowFixture.h"
#include "TestWidgets.h"

#include "records/CategoryStore.h"
#include "records/FrmFind.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

// The multi-field search, alone and opened from the main window with CmdFind.
class TstFrmFind : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> f;

    template <typename T = QLineEdit> static T *in(QWidget *dialog, const char *name) {
        return testwidgets::child<T>(dialog, name);
    }
    static void search(QDialog *dialog) {
        QTest::mouseClick(in<QPushButton>(dialog, "CmdSave"), Qt::LeftButton);
    }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    void controls() {
        const QStringList types{"FTP帐号", "O'Brien's"};
        FrmFind window(types, f->env->services());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("查询"));
        QCOMPARE(in<QLabel>(&window, "lblCaption")->text(),
                 QStringLiteral("请输入查询条件,不需要的条件留空."));
        auto *type = in<QComboBox>(&window, "CbAccountType");
        QVERIFY(type->isEditable());
        QCOMPARE(type->count(), 2);
        QCOMPARE(type->itemText(1), QStringLiteral("O'Brien's"));
        QVERIFY(type->currentText().isEmpty());
        QCOMPARE(in(&window, "TxtURL")->text(), QStringLiteral("http://"));
        QCOMPARE(in(&window, "TxtRegDate")->maxLength(), 50);
        QCOMPARE(in(&window, "TxtURL")->maxLength(), 200);
        QVERIFY(in<QPushButton>(&window, "CmdSave")->isDefault());
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }

    void search_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("all empty") << ""
                                   << ""
                                   << ""
                                   << ""
                                   << "http://" << MainWindowFixture::aliceNames();
        QTest::newRow("address emptied") << ""
                                         << ""
                                         << ""
                                         << ""
                                         << "" << MainWindowFixture::aliceNames();
        QTest::newRow("only the name") << ""
                                       << "招商银行"
                                       << ""
                                       << ""
                                       << "http://" << QStringList{"招商银行"};
        QTest::newRow("part of a name") << ""
                                        << "招商"
                                        << ""
                                        << ""
                                        << "http://" << QStringList{};
        QTest::newRow("date as typed") << ""
                                       << ""
                                       << ""
                                       << "2011/3/5"
                                       << "http://" << QStringList{"招商银行", "QQ邮箱"};
        QTest::newRow("date and category") << "邮箱帐号"
                                           << ""
                                           << ""
                                           << "2011-3-5"
                                           << "http://" << QStringList{"QQ邮箱"};
        QTest::newRow("category without records") << "FTP帐号"
                                                  << ""
                                                  << ""
                                                  << ""
                                                  << "http://" << QStringList{};
        QTest::newRow("unknown category") << "没有这个"
                                          << ""
                                          << ""
                                          << ""
                                          << "http://" << QStringList{};
        QTest::newRow("apostrophes") << "其它"
                                     << "O'Reilly's"
                                     << "it's me"
                                     << ""
                                     << "http://" << QStringList{"O'Reilly's"};
        QTest::newRow("apostrophe in the id") << ""
                                              << ""
                                              << "o'neil"
                                              << ""
                                              << "" << QStringList{"100%好评"};
        QTest::newRow("percent is no wildcard") << ""
                                                << "%"
                                                << ""
                                                << ""
                                                << "" << QStringList{};
        QTest::newRow("web address") << ""
                                     << ""
                                     << ""
                                     << ""
                                     << "https://bilibili.example" << QStringList{"哔哩哔哩"};
        QTest::newRow("name both users have") << "网站帐号"
                                              << "Gmail"
                                              << ""
                                              << ""
                                              << "http://" << QStringList{"Gmail"};
        QTest::newRow("another user's record") << ""
                                               << "Bob的其它"
                                               << ""
                                               << ""
                                               << "" << QStringList{};
    }
    void search() {
        QFETCH(QString, type);
        QFETCH(QString, name);
        QFETCH(QString, id);
        QFETCH(QString, date);
        QFETCH(QString, url);
        QFETCH(QStringList, found);
        f->open(f->alice);
        // The search replaces the category view; the tree keeps its selection.
        f->clickNode(QStringLiteral("其它"));
        f->onModal([&](QDialog *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("查询"));
            QCOMPARE(in<QComboBox>(dialog, "CbAccountType")->count(), 9);
            in<QComboBox>(dialog, "CbAccountType")->setEditText(type);
            in(dialog, "TxtAccountName")->setText(name);
            in(dialog, "TxtAccountID")->setText(id);
            in(dialog, "TxtRegDate")->setText(date);
            in(dialog, "TxtURL")->setText(url);
            search(dialog);
            QVERIFY(!dialog->isVisible());
        });
        f->click("CmdFind");
        QVERIFY(f->modalDone());
        QVERIFY(f->env->messages.shown.isEmpty());
        QCOMPARE(f->names(), found);
        if (found.contains(QStringLiteral("Gmail")))
            QCOMPARE(f->column(RecordModel::AccountIDColumn).last(), QStringLiteral("alice"));
        QCOMPARE(f->tree()->currentItem(), f->node(QStringLiteral("其它")));
        // Nothing typed here becomes a category.
        QCOMPARE(f->data->vault->categories(QStringLiteral("alice")).list().size(), std::size_t(9));
    }

    void invalidDateIsRefused() {
        f->open(f->alice);
        f->clickNode(QStringLiteral("其它"));
        f->onModal([&](QDialog *dialog) {
            in(dialog, "TxtAccountName")->setText(QStringLiteral("招商银行"));
            in(dialog, "TxtRegDate")->setText(QStringLiteral("2011-13-40"));
            search(dialog);
            QCOMPARE(f->env->messages.texts(),
                     QStringList{QStringLiteral("注册日期格式错误,请重新输入!")});
            QCOMPARE(f->env->messages.shown.first().title, QStringLiteral("提示"));
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->focusWidget(), in(dialog, "TxtRegDate"));
            QCOMPARE(in(dialog, "TxtURL")->text(), QStringLiteral("http://"));
            QTest::mouseClick(in<QPushButton>(dialog, "CmdCancel"), Qt::LeftButton);
        });
        f->click("CmdFind");
        QVERIFY(f->modalDone());
        QCOMPARE(f->names(), QStringList({"100%好评", "O'Reilly's"}));
    }

    void cancelKeepsTheList() {
        f->open(f->alice);
        QTest::keyClicks(f->child<QLineEdit>("TxtFindData"), QStringLiteral("zs"));
        f->onModal([](QDialog *dialog) {
            in(dialog, "TxtAccountName")->setText(QStringLiteral("Gmail"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        f->click("CmdFind");
        QVERIFY(f->modalDone());
        QCOMPARE(f->names(), QStringList{"招商银行"});
    }

    void nodeClickEndsTheSearch() {
        f->open(f->alice);
        f->onModal([](QDialog *dialog) {
            in(dialog, "TxtAccountName")->setText(QStringLiteral("Gmail"));
            search(dialog);
        });
        f->click("CmdFind");
        QVERIFY(f->modalDone());
        QCOMPARE(f->names(), QStringList{"Gmail"});
        f->clickNode(QStringLiteral("其它"));
        QCOMPARE(f->names(), QStringList({"100%好评", "O'Reilly's"}));
    }
};

QTEST_MAIN(TstFrmFind)
#include "tst_frmfind.moc"
