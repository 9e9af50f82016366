#include "MainWindowFixture.h"
#include "TestWidgets.h"

#include "records/CategoryStore.h"
#include "users/UserStore.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

// The main window of a logged-in user over a real vault.
class TstFrmMain : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> f;

    QLineEdit *findBox() { return f->child<QLineEdit>("TxtFindData"); }
    template <typename T = QLineEdit> static T *in(QDialog *dialog, const char *name) {
        return testwidgets::child<T>(dialog, name);
    }
    static void save(QDialog *dialog) {
        QTest::mouseClick(in<QPushButton>(dialog, "CmdSave"), Qt::LeftButton);
    }
    QStringList nodeTexts() {
        QStringList texts;
        QTreeWidgetItem *root = f->tree()->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            texts << root->child(i)->text(0);
        return texts;
    }
    QAction *menuItem(const char *name) {
        QAction *action = f->window->listMenu()->findChild<QAction *>(QLatin1String(name));
        if (!action)
            qFatal("no %s", name);
        return action;
    }
    // The right button selects the row under it; the window system then asks for the menu.
    void rightClick(const QPoint &at) {
        QWidget *viewport = f->list()->viewport();
        QTest::mouseClick(viewport, Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
    }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    void opensWithAllRecordsOfTheUser() {
        f->open(f->alice);
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Ombrivo2011 beta  --- 当前用户:alice"));
        QCOMPARE(f->tree()->topLevelItemCount(), 1);
        QTreeWidgetItem *root = f->tree()->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("帐号分类"));
        QVERIFY(root->isExpanded());
        QCOMPARE(f->tree()->currentItem(), root);
        QCOMPARE(nodeTexts(),
                 QStringList({"FTP帐号", "博客帐号", "聊天帐号", "论坛帐号", "网站帐号", "银行帐号",
                              "邮箱帐号", "游戏帐号", "其它"}));
        QStringList titles;
        for (int c = 0; c < RecordModel::kColumns; ++c)
            titles << f->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"帐号分类", "帐号名称", "用户名", "密码", "网址"}));
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
        QCOMPARE(findBox()->maxLength(), 50);
        QCOMPARE(findBox()->toolTip(), QStringLiteral("支持拼音首字母查询"));
    }

    void eachUserSeesOnlyHisRecords() {
        f->open(f->bob);
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Ombrivo2011 beta  --- 当前用户:bob"));
        QCOMPARE(f->names(), QStringList({"Bob的其它", "Gmail"}));
        f->clickNode(QStringLiteral("其它"));
        QCOMPARE(f->names(), QStringList{"Bob的其它"});

        f->open(f->alice);
        f->clickNode(QStringLiteral("其它"));
        QCOMPARE(f->names(), QStringList({"100%好评", "O'Reilly's"}));
        f->clickNode(QStringLiteral("网站帐号"));
        QCOMPARE(f->names(), QStringList({"哔哩哔哩", "Gmail"}));
        QCOMPARE(f->column(RecordModel::AccountIDColumn), QStringList({"alice_bili", "alice"}));
    }

    void nodeClickListsItsRecords() {
        f->open(f->alice);
        f->clickNode(QStringLiteral("邮箱帐号"));
        QCOMPARE(f->names(), QStringList{"QQ邮箱"});
        f->clickNode(QStringLiteral("FTP帐号"));
        QCOMPARE(f->model()->rowCount(), 0);
        f->clickNode(QStringLiteral("帐号分类"));
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());

        // A click on the node already selected shows its records again, after a search too,
        // and after a sort, in stored order.
        QTest::keyClicks(findBox(), QStringLiteral("zs"));
        QCOMPARE(f->names(), QStringList{"招商银行"});
        f->clickNode(QStringLiteral("帐号分类"));
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
        f->clickHeader(RecordModel::AccountNameColumn);
        QVERIFY(f->names() != MainWindowFixture::aliceNames());
        f->clickNode(QStringLiteral("帐号分类"));
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
        QVERIFY(!f->list()->horizontalHeader()->isSortIndicatorShown());
    }

    // A store that cannot be read is said so; the list is not left silently empty.
    void failedReadsAreReported_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("message");
        QTest::newRow("records") << "AccountData"
                                 << "帐号资料无法读取.";
        QTest::newRow("categories") << "AccountType"
                                    << "帐号分类无法读取.";
    }
    void failedReadsAreReported() {
        QFETCH(QString, table);
        QFETCH(QString, message);
        f->open(f->alice);
        f->data->vault->connection().exec(
            QStringLiteral("ALTER TABLE %1 RENAME TO Gone").arg(table).toUtf8().constData());
        if (table == QLatin1String("AccountData"))
            f->clickNode(QStringLiteral("邮箱帐号"));
        else
            f->click("CmdFind");
        QCOMPARE(f->env->messages.shown.size(), 1);
        QVERIFY(f->env->messages.last().startsWith(message + QLatin1Char('\n')));
        QCOMPARE(f->env->messages.shown.first().icon, MessageService::Icon::Critical);
    }

    void recordsOfAMissingCategoryAreListedUnderTheRoot() {
        f->add(f->alice, "旧分类", "旧帐号", "old", "p", "", "");
        f->open(f->alice);
        QCOMPARE(f->names().last(), QStringLiteral("旧帐号"));
        QVERIFY(!nodeTexts().contains(QStringLiteral("旧分类")));
    }

    void passwordColumn_data() {
        QTest::addColumn<bool>("ShowPassword");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("masked") << true << QStringList(6, QStringLiteral("********"));
        QTest::newRow("plain") << false
                               << QStringList({"zs-pass", "bl-pass", "qq-pass", "pct-pass",
                                               "or-pass", "gm-pass"});
    }
    void passwordColumn() {
        QFETCH(bool, ShowPassword);
        QFETCH(QStringList, shown);
        UserStore users = f->data->vault->users();
        UserSettings settings = users.settings(QStringLiteral("alice"));
        settings.ShowPassword = ShowPassword;
        users.saveSettings(QStringLiteral("alice"), settings);
        f->open(f->alice);
        QCOMPARE(f->column(RecordModel::PasswordColumn), shown);
    }

    void headerSort_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<Qt::SortOrder>("indicator");
        const QStringList typeDown{"招商银行", "QQ邮箱",   "哔哩哔哩",
                                   "Gmail",    "100%好评", "O'Reilly's"};
        const QStringList typeUp{"100%好评", "O'Reilly's", "哔哩哔哩",
                                 "Gmail",    "QQ邮箱",     "招商银行"};
        const QStringList nameUp{"100%好评", "Gmail",    "O'Reilly's",
                                 "QQ邮箱",   "哔哩哔哩", "招商银行"};
        QStringList nameDown = nameUp;
        std::reverse(nameDown.begin(), nameDown.end());
        // The first column counts as sorted ascending already: its first click sorts down.
        QTest::newRow("first column once") << QList<int>{0} << typeDown << Qt::DescendingOrder;
        QTest::newRow("first column twice") << QList<int>{0, 0} << typeUp << Qt::AscendingOrder;
        QTest::newRow("first column thrice")
            << QList<int>{0, 0, 0} << typeDown << Qt::DescendingOrder;
        QTest::newRow("name once") << QList<int>{1} << nameUp << Qt::AscendingOrder;
        QTest::newRow("name twice") << QList<int>{1, 1} << nameDown << Qt::DescendingOrder;
        QTest::newRow("name thrice") << QList<int>{1, 1, 1} << nameUp << Qt::AscendingOrder;
        QTest::newRow("first column, then name")
            << QList<int>{0, 1} << nameUp << Qt::AscendingOrder;
        // Sorting is stable: the names stay in order within each category.
        QTest::newRow("name, then first column")
            << QList<int>{1, 0}
            << QStringList{"100%好评", "O'Reilly's", "Gmail", "哔哩哔哩", "QQ邮箱", "招商银行"}
            << Qt::AscendingOrder;
        QTest::newRow("user id") << QList<int>{2}
                                 << QStringList{"QQ邮箱",   "Gmail",      "招商银行",
                                                "哔哩哔哩", "O'Reilly's", "100%好评"}
                                 << Qt::AscendingOrder;
    }
    void headerSort() {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, order);
        QFETCH(Qt::SortOrder, indicator);
        f->open(f->alice);
        for (int section : clicks)
            f->clickHeader(section);
        QCOMPARE(f->names(), order);
        QHeaderView *header = f->list()->horizontalHeader();
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), clicks.last());
        QCOMPARE(header->sortIndicatorOrder(), indicator);
    }

    void doubleClickViews_data() {
        QTest::addColumn<bool>("switchToEdit");
        QTest::addColumn<QStringList>("after");
        // A plain view refreshes nothing, so the sort survives; editing refills the list.
        QTest::newRow("plain view") << false << QStringList{"100%好评", "Gmail",    "O'Reilly's",
                                                            "QQ邮箱",   "哔哩哔哩", "招商银行"};
        QTest::newRow("switched to edit") << true << MainWindowFixture::aliceNames();
    }
    void doubleClickViews() {
        QFETCH(bool, switchToEdit);
        QFETCH(QStringList, after);
        f->open(f->alice);
        f->clickHeader(RecordModel::AccountNameColumn);
        f->onModal([&](QDialog *dialog) {
            QVERIFY(f->window->isModalOpen());
            QCOMPARE(dialog->windowTitle(), QStringLiteral("查看资料"));
            QCOMPARE(in(dialog, "TxtAccountName")->text(), QStringLiteral("QQ邮箱"));
            QCOMPARE(in(dialog, "TxtAccountPassword")->text(), QStringLiteral("qq-pass"));
            if (switchToEdit)
                QTest::mouseClick(in<QPushButton>(dialog, "CmdEdit"), Qt::LeftButton);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        });
        f->doubleClickRow(QStringLiteral("QQ邮箱"));
        QVERIFY(f->modalDone());
        QVERIFY(!f->window->isModalOpen());
        QCOMPARE(f->names(), after);
        QCOMPARE(f->list()->horizontalHeader()->isSortIndicatorShown(), !switchToEdit);
    }

    void addIntoTheSelectedCategory() {
        f->open(f->alice);
        f->clickNode(QStringLiteral("网站帐号"));
        f->onModal([](QDialog *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("添加资料"));
            QCOMPARE(in<QComboBox>(dialog, "CbAccountType")->currentText(),
                     QStringLiteral("网站帐号"));
            in(dialog, "TxtAccountName")->setText(QStringLiteral("知乎"));
            in(dialog, "TxtAccountID")->setText(QStringLiteral("zh"));
            in(dialog, "TxtAccountPassword")->setText(QStringLiteral("zh-pass"));
            save(dialog);
        });
        f->click("CmdAdd");
        QVERIFY(f->modalDone());
        QVERIFY(f->env->messages.shown.isEmpty());
        QCOMPARE(f->tree()->currentItem(), f->node(QStringLiteral("网站帐号")));
        QCOMPARE(f->names(), QStringList({"哔哩哔哩", "Gmail", "知乎"}));
        QCOMPARE(nodeTexts().size(), 9);
    }

    void addWithANewCategoryRebuildsTheTree() {
        f->open(f->alice);
        f->clickNode(QStringLiteral("网站帐号"));
        const QString type = QStringLiteral("Tom's 分类");
        f->onModal([&](QDialog *dialog) {
            in<QComboBox>(dialog, "CbAccountType")->setEditText(type);
            in(dialog, "TxtAccountName")->setText(QStringLiteral("O'Brien"));
            in(dialog, "TxtAccountID")->setText(QStringLiteral("it's"));
            in(dialog, "TxtAccountPassword")->setText(QStringLiteral("p"));
            save(dialog);
        });
        f->click("CmdAdd");
        QVERIFY(f->modalDone());
        QCOMPARE(nodeTexts().size(), 10);
        QCOMPARE(nodeTexts().last(), type);
        QCOMPARE(f->tree()->currentItem(), f->tree()->topLevelItem(0));
        QCOMPARE(f->names().size(), 7);
        f->clickNode(type);
        QCOMPARE(f->names(), QStringList{"O'Brien"});
    }

    // The quick search's text still filters the list after a record was added.
    void addKeepsTheQuickSearch() {
        f->open(f->alice);
        QTest::keyClicks(findBox(), QStringLiteral("l"));
        const QStringList matching{"哔哩哔哩", "O'Reilly's", "Gmail"};
        QCOMPARE(f->names(), matching);
        f->onModal([&](QDialog *dialog) {
            in<QComboBox>(dialog, "CbAccountType")->setEditText(QStringLiteral("网站帐号"));
            in(dialog, "TxtAccountName")->setText(QStringLiteral("Lofter"));
            in(dialog, "TxtAccountID")->setText(QStringLiteral("lo"));
            in(dialog, "TxtAccountPassword")->setText(QStringLiteral("p"));
            save(dialog);
        });
        f->click("CmdAdd");
        QVERIFY(f->modalDone());
        QCOMPARE(f->names(), matching + QStringList{"Lofter"});
        QCOMPARE(findBox()->text(), QStringLiteral("l"));
    }

    void cancelledAddStillRefreshes() {
        f->open(f->alice);
        f->clickHeader(RecordModel::AccountNameColumn);
        f->onModal([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        f->click("CmdAdd");
        QVERIFY(f->modalDone());
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
        QCOMPARE(f->records(f->alice).all().size(), std::size_t(6));
    }

    void editTheSelectedRecord() {
        f->open(f->alice);
        f->selectRow(QStringLiteral("O'Reilly's"));
        f->onModal([](QDialog *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("修改资料"));
            QCOMPARE(in(dialog, "TxtAccountID")->text(), QStringLiteral("it's me"));
            in(dialog, "TxtAccountID")->setText(QStringLiteral("it's you"));
            save(dialog);
        });
        f->click("CmdEdit");
        QVERIFY(f->modalDone());
        QVERIFY(f->env->messages.shown.isEmpty());
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
        QCOMPARE(f->column(RecordModel::AccountIDColumn)[4], QStringLiteral("it's you"));
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "QQ邮箱";
        QTest::newRow("apostrophe") << "O'Reilly's";
    }
    void deleteAsksFirst() {
        QFETCH(QString, name);
        f->open(f->alice);
        f->clickHeader(RecordModel::AccountNameColumn);
        f->clickHeader(RecordModel::AccountNameColumn);
        const QStringList sorted = f->names();
        f->selectRow(name);

        f->env->messages.answers = {MessageService::Answer::No};
        f->click("CmdDel");
        QCOMPARE(f->env->messages.shown.size(), 1);
        const RecordingMessageService::Shown asked = f->env->messages.shown.first();
        QCOMPARE(asked.icon, MessageService::Icon::Question);
        QCOMPARE(asked.title, QStringLiteral("删除提示"));
        QCOMPARE(asked.text, QStringLiteral("是否删除帐号<%1>,删除后将不可恢复,请确认!").arg(name));
        QCOMPARE(f->names(), sorted);
        QCOMPARE(f->records(f->alice).all().size(), std::size_t(6));

        f->env->messages.answers = {MessageService::Answer::Yes};
        f->click("CmdDel");
        QStringList expected = sorted;
        expected.removeOne(name);
        QCOMPARE(f->names(), expected);
        QVERIFY(f->list()->horizontalHeader()->isSortIndicatorShown());
        QStringList stored;
        for (const Record &record : f->records(f->alice).all())
            stored << record.AccountName;
        QStringList remaining = MainWindowFixture::aliceNames();
        remaining.removeOne(name);
        QCOMPARE(stored, remaining);
        QCOMPARE(f->records(f->bob).all().size(), std::size_t(2));
    }

    void emptyListMessages_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("edit") << "CmdEdit"
                              << "没有资料可修改!";
        QTest::newRow("look") << "CmdLook"
                              << "没有资料可查看!";
        QTest::newRow("delete") << "CmdDel"
                                << "没有资料可删除!";
    }
    void emptyListMessages() {
        QFETCH(QString, button);
        QFETCH(QString, message);
        f->open(f->alice);
        f->clickNode(QStringLiteral("FTP帐号"));
        f->click(qPrintable(button));
        QCOMPARE(f->env->messages.texts(), QStringList{message});
        QCOMPARE(f->env->messages.shown.first().title, QStringLiteral("提示"));
        QCOMPARE(f->records(f->alice).all().size(), std::size_t(6));
    }

    // A double click where there is no row views the selected record, or says there is none.
    void doubleClickOnABlankArea_data() {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("viewed");
        QTest::newRow("empty list") << "FTP帐号"
                                    << "没有资料可查看!"
                                    << "";
        QTest::newRow("below the rows") << "网站帐号"
                                        << ""
                                        << "Gmail";
    }
    void doubleClickOnABlankArea() {
        QFETCH(QString, node);
        QFETCH(QString, message);
        QFETCH(QString, viewed);
        f->open(f->alice);
        f->clickNode(node);
        if (!viewed.isEmpty())
            f->selectRow(viewed);
        QString shown;
        f->onModal([&](QDialog *dialog) { shown = in(dialog, "TxtAccountName")->text(); });
        const QPoint blank(5, f->list()->viewport()->height() - 5);
        QVERIFY(!f->list()->indexAt(blank).isValid());
        QTest::mouseDClick(f->list()->viewport(), Qt::LeftButton, {}, blank);
        QCOMPARE(f->modalDone(), !viewed.isEmpty());
        QCOMPARE(shown, viewed);
        QCOMPARE(f->env->messages.texts(),
                 message.isEmpty() ? QStringList() : QStringList{message});
    }

    // VIP(&H) and the red line below the list bring up the one member page.
    void memberPageOpensOnce() {
        f->open(f->alice);
        f->click("CmdHelp");
        f->click("CmdHelp");
        QTest::mouseClick(f->child<QLabel>("Label1"), Qt::LeftButton);
        int pages = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            pages += widget->objectName() == QLatin1String("Form1") && widget->isVisible();
        QCOMPARE(pages, 1);
    }

    void quickSearch_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("initials") << "zs" << QStringList{"招商银行"};
        QTest::newRow("initials in capitals") << "ZS" << QStringList{"招商银行"};
        QTest::newRow("full pinyin") << "zhaoshang" << QStringList{"招商银行"};
        QTest::newRow("second-level characters") << "blbl" << QStringList{"哔哩哔哩"};
        QTest::newRow("AccountPY") << "zlzl" << QStringList{"哔哩哔哩"};
        QTest::newRow("part of a name") << "邮箱" << QStringList{"QQ邮箱"};
        QTest::newRow("percent") << "%" << QStringList{"100%好评"};
        QTest::newRow("apostrophe") << "'" << QStringList{"O'Reilly's"};
        QTest::newRow("latin name") << "GMAIL" << QStringList{"Gmail"};
        QTest::newRow("another user's record") << "bob" << QStringList{};
    }
    void quickSearch() {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        f->open(f->alice);
        // The search runs over every category, whichever node is selected.
        f->clickNode(QStringLiteral("网站帐号"));
        if (typed.front().unicode() < 0x80)
            QTest::keyClicks(findBox(), typed);
        else
            findBox()->setText(typed);
        QCOMPARE(f->names(), found);

        QTest::keyClick(findBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(findBox(), Qt::Key_Backspace);
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
        QCOMPARE(f->tree()->currentItem(), f->node(QStringLiteral("网站帐号")));
    }

    void enterInTheSearchBoxOpensTheSearch() {
        f->open(f->alice);
        QString title;
        f->onModal([&](QDialog *dialog) { title = dialog->windowTitle(); });
        QTest::keyClick(findBox(), Qt::Key_Return);
        QVERIFY(f->modalDone());
        QCOMPARE(title, QStringLiteral("查询"));
    }

    void listMenu_data() {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("recordItems");
        QTest::addColumn<bool>("urlItems");
        QTest::newRow("empty list") << "FTP帐号"
                                    << "" << false << false;
        QTest::newRow("record without web address") << "其它"
                                                    << "100%好评" << true << false;
        QTest::newRow("record with web address") << "其它"
                                                 << "O'Reilly's" << true << true;
    }
    void listMenu() {
        QFETCH(QString, node);
        QFETCH(QString, row);
        QFETCH(bool, recordItems);
        QFETCH(bool, urlItems);
        f->open(f->alice);
        f->clickNode(node);
        rightClick(row.isEmpty() ? QPoint(5, 5) : f->cellCentre(row));
        QMenu *menu = f->window->listMenu();
        QTRY_VERIFY(menu->isVisible());
        if (!row.isEmpty())
            QCOMPARE(f->names()[f->list()->currentIndex().row()], row);
        for (const char *name : {"mnuCopyUser", "mnuCopyPwd", "mnuLook", "mnuEdit", "mnuDel"})
            QVERIFY2(menuItem(name)->isEnabled() == recordItems, name);
        if (QAction *copyShortcut = menu->findChild<QAction *>(QStringLiteral("mnuCopyShortcut")))
            QCOMPARE(copyShortcut->isEnabled(), recordItems);
        QCOMPARE(menuItem("mnuCopyUrl")->isEnabled(), urlItems);
        QCOMPARE(menuItem("mnuOpenUrl")->isEnabled(), urlItems);
        QVERIFY(menuItem("mnuAdd")->isEnabled());
        QVERIFY(menuItem("mnuOpenUrl")->font().bold());
        menu->hide();
    }

    void menuCopiesFromTheSelectedRecord_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("copied");
        QTest::newRow("user id") << "mnuCopyUser"
                                 << "it's me";
        // The list masks passwords; the copy is the plain one.
        QTest::newRow("password") << "mnuCopyPwd"
                                  << "or-pass";
        QTest::newRow("web address") << "mnuCopyUrl"
                                     << "https://oreilly.example";
    }
    void menuCopiesFromTheSelectedRecord() {
        QFETCH(QString, item);
        QFETCH(QString, copied);
        f->open(f->alice);
        QCOMPARE(f->column(RecordModel::PasswordColumn)[4], QStringLiteral("********"));
        f->selectRow(QStringLiteral("O'Reilly's"));
        menuItem(qPrintable(item))->trigger();
        QCOMPARE(f->env->clipboard.text(), copied);
        QVERIFY(f->env->desktop.opened.isEmpty());
    }

    void menuOpensTheWebAddress() {
        f->open(f->alice);
        f->selectRow(QStringLiteral("哔哩哔哩"));
        menuItem("mnuOpenUrl")->trigger();
        QCOMPARE(f->env->desktop.opened, QStringList{QStringLiteral("https://bilibili.example")});
    }
};

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
