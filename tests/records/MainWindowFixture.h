#pragma once

#include "TestServices.h"
#include "TestWidgets.h"
#include "VaultFixture.h"

#include "records/FrmMain.h"
#include "records/RecordModel.h"
#include "records/RecordStore.h"
#include "users/Session.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

// A vault with two users who both keep records under "其它", and the main window of one of them.
struct MainWindowFixture {
    std::unique_ptr<TestEnvironment> env = std::make_unique<TestEnvironment>();
    std::unique_ptr<VaultFixture> data = std::make_unique<VaultFixture>();
    std::shared_ptr<Session> alice;
    std::shared_ptr<Session> bob;
    std::unique_ptr<FrmMain> window;

    // alice's records in stored order.
    static QStringList aliceNames() {
        return {"招商银行", "哔哩哔哩", "QQ邮箱", "100%好评", "O'Reilly's", "Gmail"};
    }

    MainWindowFixture() {
        alice = addUser(QStringLiteral("alice"));
        bob = addUser(QStringLiteral("bob"));
        add(alice, "银行帐号", "招商银行", "alice01", "zs-pass", "2011-03-05",
            "https://cmb.example");
        add(alice, "网站帐号", "哔哩哔哩", "alice_bili", "bl-pass", "", "https://bilibili.example");
        add(bob, "其它", "Bob的其它", "bob", "bob-pass", "2011-03-05", "");
        add(alice, "邮箱帐号", "QQ邮箱", "10001", "qq-pass", "2011-03-05", "");
        add(alice, "其它", "100%好评", "o'neil", "pct-pass", "", "");
        add(alice, "其它", "O'Reilly's", "it's me", "or-pass", "2012-01-01",
            "https://oreilly.example");
        add(bob, "网站帐号", "Gmail", "bob", "bob-gmail", "", "https://mail.example");
        add(alice, "网站帐号", "Gmail", "alice", "gm-pass", "", "https://mail.example");
    }
    ~MainWindowFixture() {
        modal.done();
        window.reset();
        alice.reset();
        bob.reset();
        data.reset();
    }

    std::shared_ptr<Session> addUser(const QString &name) {
        data->addUser(name, QStringLiteral("Secret1"));
        return std::make_shared<Session>(data->login(name, QStringLiteral("Secret1")));
    }
    void add(const std::shared_ptr<Session> &user, const char *type, const char *name,
             const char *id, const char *password, const char *date, const char *url) {
        data->vault->records(*user).add({type, name, id, password, date, url, {}});
    }
    RecordStore records(const std::shared_ptr<Session> &user) {
        return data->vault->records(*user);
    }

    void open(const std::shared_ptr<Session> &user) {
        window = std::make_unique<FrmMain>(*data->vault, user, env->services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename T> T *child(const char *name) const {
        return testwidgets::child<T>(window.get(), name);
    }
    QTreeWidget *tree() const { return child<QTreeWidget>("TreeViewType"); }
    QTableView *list() const { return window->listView(); }
    RecordModel *model() const { return window->records(); }

    QStringList column(int c) const {
        QStringList texts;
        for (int row = 0; row < model()->rowCount(); ++row)
            texts << model()->index(row, c).data().toString();
        return texts;
    }
    QStringList names() const { return column(RecordModel::AccountNameColumn); }

    void click(const char *button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    QTreeWidgetItem *node(const QString &text) const {
        const QList<QTreeWidgetItem *> found =
            tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.isEmpty())
            qFatal("no node %s", qPrintable(text));
        return found.first();
    }
    void clickNode(const QString &text) {
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualItemRect(node(text)).center());
    }
    QPoint cellCentre(const QString &name) const {
        const int row = names().indexOf(name);
        if (row < 0)
            qFatal("no row %s", qPrintable(name));
        const QModelIndex index = model()->index(row, RecordModel::AccountNameColumn);
        list()->scrollTo(index);
        return list()->visualRect(index).center();
    }
    void selectRow(const QString &name) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cellCentre(name));
    }
    // A double click as the window system delivers it: press, release, double click, release.
    void doubleClickRow(const QString &name) {
        const QPoint at = cellCentre(name);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, at);
    }
    void clickHeader(int section) {
        QHeaderView *header = list()->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // Runs `act` on the modal window the next command opens, then closes that window if `act`
    // left it open, so that a failed check never leaves the test waiting. modalDone() tells
    // whether it ran and drops it if it did not.
    void onModal(std::function<void(QDialog *)> act) { modal.onNext(std::move(act)); }
    bool modalDone() { return modal.done(); }
    testwidgets::ModalDriver modal;
};
