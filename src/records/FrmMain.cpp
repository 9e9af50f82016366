#include "records/FrmMain.h"

#include "core/AppPath.h"
#include "core/Clipboard.h"
#include "core/Clock.h"
#include "core/MessageService.h"
#include "core/TrayIcon.h"
#include "core/Twips.h"
#include "maintenance/Backup.h"
#include "maintenance/BackupDue.h"
#include "maintenance/FrmTool.h"
#include "platform/GlobalKeyBackend.h"
#include "records/AutoLock.h"
#include "records/CategoryStore.h"
#include "records/FrmAbout.h"
#include "records/FrmData.h"
#include "records/FrmFind.h"
#include "records/RecordModel.h"
#include "records/RecordStore.h"
#include "settings/FrmSetting.h"
#include "skin/MSkinner.h"
#include "tray/FrmTrayMenu.h"
#include "tray/GlobalKeys.h"
#include "ui/AfterDialogs.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"
#include "ui/Form1.h"
#include "users/FrmLoosenLock.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <limits>
#include <utility>

namespace {
constexpr int kRootType = QTreeWidgetItem::UserType + 1;
} // namespace

FrmMain::FrmMain(Vault &vault, std::shared_ptr<Session> session, const Services &services,
                 QWidget *parent)
    : QMainWindow(parent), m_vault(vault), m_session(std::move(session)), m_services(services) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowIcon(artwork::appIcon());
    setWindowTitle(tr("Ombrivo2011 beta  --- 当前用户:") + m_session->userName());
    m_settings = m_vault.users().settings(m_session->userName());

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);

    // The nine command buttons, in tab order.
    auto *commands = new QHBoxLayout;
    const auto button = [&](const QString &text, const char *name) {
        QPushButton *b = ui::button(central, text, name);
        commands->addWidget(b);
        return b;
    };
    QPushButton *CmdAdd = button(tr("添加(&A)"), "CmdAdd");
    QPushButton *CmdEdit = button(tr("修改(&E)"), "CmdEdit");
    QPushButton *CmdDel = button(tr("删除(&D)"), "CmdDel");
    QPushButton *CmdLook = button(tr("查看(&L)"), "CmdLook");
    QPushButton *CmdSet = button(tr("设置(&S)"), "CmdSet");
    QPushButton *CmdTool = button(tr("工具(&T)"), "CmdTool");
    QPushButton *CmdHelp = button(tr("VIP(&H)"), "CmdHelp");
    QPushButton *CmdAbout = button(tr("关于(&A)"), "CmdAbout");
    // Both captions underline A; Alt+A adds a record, as on the first button, instead of
    // moving the focus between the two.
    CmdAbout->setShortcut(QKeySequence());
    m_CmdQuit = button(tr("退出(&Q)"), "CmdQuit");
    commands->addStretch();
    layout->addLayout(commands);

    auto *findRow = new QHBoxLayout;
    auto *lblFindData = new QLabel(tr("查询数据:"), central);
    lblFindData->setObjectName(QStringLiteral("lblFindData"));
    m_TxtFindData = new QLineEdit(central);
    m_TxtFindData->setObjectName(QStringLiteral("TxtFindData"));
    ui::limitLength(m_TxtFindData, 50);
    m_TxtFindData->setToolTip(tr("支持拼音首字母查询"));
    lblFindData->setBuddy(m_TxtFindData);
    m_CmdFind = ui::button(central, tr("查询(&F)"), "CmdFind");
    findRow->addWidget(lblFindData);
    findRow->addWidget(m_TxtFindData, 1);
    findRow->addWidget(m_CmdFind);
    layout->addLayout(findRow);

    auto *splitter = new QSplitter(Qt::Horizontal, central);
    m_TreeViewType = new QTreeWidget(splitter);
    m_TreeViewType->setObjectName(QStringLiteral("TreeViewType"));
    m_TreeViewType->setHeaderHidden(true);
    m_TreeViewType->setIconSize(QSize(16, 16));
    m_ListViewUser = new QTableView(splitter);
    m_ListViewUser->setObjectName(QStringLiteral("ListViewUser"));
    m_model =
        new RecordModel([session = m_session](
                            const QByteArray &sealed) { return session->decryptPassword(sealed); },
                        this);
    m_model->setMaskPasswords(m_settings.ShowPassword);
    m_ListViewUser->setModel(m_model);
    m_ListViewUser->setShowGrid(true);
    m_ListViewUser->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ListViewUser->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ListViewUser->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ListViewUser->setWordWrap(false);
    m_ListViewUser->setContextMenuPolicy(Qt::CustomContextMenu);
    m_ListViewUser->verticalHeader()->hide();
    m_ListViewUser->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_ListViewUser->verticalHeader()->setDefaultSectionSize(m_ListViewUser->fontMetrics().height() +
                                                            6);
    m_ListViewUser->horizontalHeader()->setSectionsClickable(true);
    m_ListViewUser->horizontalHeader()->setHighlightSections(false);
    m_ListViewUser->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_ListViewUser->installEventFilter(this);
    splitter->addWidget(m_TreeViewType);
    splitter->addWidget(m_ListViewUser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({160, 620});
    layout->addWidget(splitter, 1);

    m_Label1 = new QLabel(tr("注册VIP认证，有好礼相送，本软件不含任何后门和窃取密码账号程序，本软件"
                             "只是一个保管箱工具..."),
                          central);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setStyleSheet(QStringLiteral("color: #ff0000;"));
    m_Label1->setCursor(Qt::PointingHandCursor);
    m_Label1->installEventFilter(this);
    layout->addWidget(m_Label1);
    setCentralWidget(central);

    m_trayMenu = new FrmTrayMenu(this);
    m_autoLock = new AutoLock(this);
    m_autoLock->setMinutes(m_settings.MinLockTime);
    connect(m_autoLock, &AutoLock::lockDue, this, &FrmMain::lock);
    connectMenus();

    connect(CmdAdd, &QPushButton::clicked, this, &FrmMain::CmdAdd_Click);
    connect(CmdEdit, &QPushButton::clicked, this, &FrmMain::CmdEdit_Click);
    connect(CmdDel, &QPushButton::clicked, this, &FrmMain::CmdDel_Click);
    connect(CmdLook, &QPushButton::clicked, this, &FrmMain::CmdLook_Click);
    connect(CmdHelp, &QPushButton::clicked, this, &FrmMain::showMemberPage);
    connect(CmdAbout, &QPushButton::clicked, this, &FrmMain::CmdAbout_Click);
    connect(CmdSet, &QPushButton::clicked, this, &FrmMain::CmdSet_Click);
    connect(CmdTool, &QPushButton::clicked, this, &FrmMain::CmdTool_Click);
    connect(m_CmdQuit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_CmdFind, &QPushButton::clicked, this, &FrmMain::CmdFind_Click);
    connect(m_TxtFindData, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_listSource = ListSource::QuickSearch;
        refill([&] { m_model->showMatching(text); });
    });
    connect(m_TreeViewType, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *node) {
        if (!m_buildingTree && node)
            showNode();
    });
    // A click on the node already selected lists its records again (in stored order, after a
    // search too); a click on another node has listed it through the change of node.
    m_TreeViewType->viewport()->installEventFilter(this);
    connect(m_TreeViewType, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) {
        if (node == m_nodeAtPress)
            showNode();
    });
    connect(m_ListViewUser->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &FrmMain::headerClicked);
    // Any double click in the list views a record, on a blank area and an empty list too.
    m_ListViewUser->viewport()->installEventFilter(this);
    connect(m_ListViewUser, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        popUpListMenu(m_ListViewUser->viewport()->mapToGlobal(pos));
    });
    // Shift+F10 opens the menu too, as the Menu key does.
    auto *menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), m_ListViewUser);
    menuKey->setContext(Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QRect cell = m_ListViewUser->visualRect(m_ListViewUser->currentIndex());
        const QPoint local = cell.isValid() ? cell.bottomLeft() : QPoint(0, 0);
        popUpListMenu(m_ListViewUser->viewport()->mapToGlobal(local));
    });

    SkinWindow(this);
    autoBackup();
    buildTree();
    RequeryData();
    applyColumnWidths();
    resize(820, 520);
    // Opened in the middle of the screen, wholly on it.
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        resize(size().boundedTo(area.size()));
        move(area.center() - rect().center());
    }
    // Last: no global key acts on a window that is still being built.
    m_globalKeys = std::make_unique<GlobalKeys>(m_services.globalKeys, [this] { bossKey(); });
    m_globalKeys->setShortcuts(shortcutTexts());
}

QStringList FrmMain::shortcutTexts() const {
    return {m_settings.ShortcutUser, m_settings.ShortcutPassword, m_settings.ShortcutURL,
            m_settings.Custom1};
}

FrmMain::~FrmMain() {
    delete m_unlock;
    m_services.tray.hide();
    m_services.tray.setMenu(nullptr);
}

QMenu *FrmMain::listMenu() const {
    return m_trayMenu->listView();
}

void FrmMain::connectMenus() {
    FrmTrayMenu *menus = m_trayMenu;
    const auto on = [&](const char *name, auto slot) {
        connect(menus->item(name), &QAction::triggered, this, slot);
    };
    // While a modal window is open, the items that would open another window bring the open
    // one forward instead.
    on("mnuShowmain", [this] {
        if (!bringModalForward())
            showFromTray();
    });
    on("mnuLock", &FrmMain::lockFromMenu);
    on("mnuSet", [this] {
        if (!bringModalForward())
            CmdSet_Click();
    });
    on("mnuHelp", &FrmMain::openHelp);
    on("mnuAbout", [this] {
        if (!bringModalForward())
            CmdAbout_Click();
    });
    on("mnuQuit", &FrmMain::quitFromTray);
    on("mnuOpenUrl", [this] {
        const int row = selectedRow();
        if (row >= 0 && !m_model->entry(row).URL.isEmpty())
            m_services.desktop.open(m_model->entry(row).URL);
    });
    on("mnuCopyShortcut", &FrmMain::copyForShortcuts);
    on("mnuCopyUser", [this] { copyField(RecordModel::AccountIDColumn); });
    on("mnuCopyPwd", [this] { copyField(RecordModel::PasswordColumn); });
    on("mnuCopyUrl", [this] { copyField(RecordModel::URLColumn); });
    on("mnuLook", &FrmMain::CmdLook_Click);
    on("mnuAdd", &FrmMain::CmdAdd_Click);
    on("mnuEdit", &FrmMain::CmdEdit_Click);
    on("mnuDel", &FrmMain::CmdDel_Click);
    m_services.tray.setMenu(menus->mnuTray());
    connect(&m_services.tray, &TrayIcon::leftClicked, this, &FrmMain::showFromTray);
}

void FrmMain::autoBackup() {
    const QDate today = m_services.clock.today();
    if (!isBackupDue(m_settings.AutoBackup, m_settings.PriorBackupDate, today))
        return;
    if (AutomaticBackup(m_vault, m_settings.AutoBackupPath, m_settings.AutoCompress,
                        m_settings.PriorBackupDate)) {
        m_settings.PriorBackupDate = today;
        try {
            m_vault.users().saveSettings(m_session->userName(), m_settings);
        } catch (const std::exception &) {
            // Saved again with the column widths at exit.
        }
    } else {
        m_services.messages.show(this, MessageService::Icon::Exclamation, tr("提示"),
                                 tr("自动备份数据失败,请手动备份!"), false);
    }
}

void FrmMain::lock() {
    if (!m_IsLock)
        m_stateAtLock = listState();
    m_IsLock = true;
    m_autoLock->stop();
    m_trayMenu->item("mnuSet")->setEnabled(false);
    m_trayMenu->item("mnuAbout")->setEnabled(false);
    // A locked program keeps no secret: the key goes, and with it the list and the paste texts.
    m_session->lock();
    m_model->setRecords({});
    if (m_globalKeys)
        m_globalKeys->clearPasteTexts();
}

void FrmMain::lockFromMenu() {
    lock();
    m_services.messages.info(this, tr("Qolani密码管理器已处锁定锁定状态!"));
}

void FrmMain::showFromTray() {
    if (!m_IsLock) {
        showNormal();
        raise();
        activateWindow();
        return;
    }
    if (!m_unlock) {
        m_unlock = new FrmLoosenLock(m_vault, *m_session, m_services);
        m_unlock->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_unlock, &QDialog::finished, m_unlock, &QObject::deleteLater);
        connect(m_unlock, &FrmLoosenLock::unlocked, this, [this] {
            m_IsLock = false;
            m_trayMenu->item("mnuSet")->setEnabled(true);
            m_trayMenu->item("mnuAbout")->setEnabled(true);
            // The list comes back as it was locked: same rows, order and selection.
            showList();
            restoreListState(m_stateAtLock);
            showNormal();
            raise();
            activateWindow();
        });
    }
    m_unlock->show();
    m_unlock->raise();
    m_unlock->activateWindow();
}

void FrmMain::openHelp() {
    const QString help = HelpDocumentPath();
    if (QFileInfo(help).isFile())
        m_services.desktop.open(help);
    else
        m_services.messages.info(this, tr("帮助文档已丢失!"));
}

void FrmMain::copyForShortcuts() {
    const int row = selectedRow();
    if (row < 0 || !m_globalKeys)
        return;
    const ListEntry &entry = m_model->entry(row);
    try {
        QString password = m_model->password(row);
        m_globalKeys->SetPasteTexts(entry.AccountID, password, entry.URL);
        crypto::wipe(password);
    } catch (const std::exception &) {
        m_services.messages.info(this, tr("密码无法解密,没有复制."));
    }
}

void FrmMain::CmdSet_Click() {
    FrmSetting settings(m_vault, m_session->userName(), m_services, this);
    if (!m_services.globalKeys.available())
        settings.setShortcutsUnavailable(
            tr("当前桌面不支持全局快捷键(需要X11),快捷键设置将保存但不起作用."));
    else if (!m_globalKeys->unavailable().isEmpty())
        settings.setShortcutsUnavailable(
            tr("以下快捷键已被其它程序占用: %1")
                .arg(m_globalKeys->unavailable().join(QStringLiteral(", "))));
    runModal(settings);
    if (!reloadSettings())
        return;
    IsAddType(settings.categoriesChanged());
    RequeryData();
    m_globalKeys->setShortcuts(shortcutTexts());
}

void FrmMain::CmdTool_Click() {
    FrmTool tools(m_vault, *m_session, m_services, m_globalKeys.get(), this);
    connect(&tools, &FrmTool::userNameChanged, this, [this] {
        setWindowTitle(tr("Fennick密码管理器 V1.0 正式版 --- 当前用户:") + m_session->userName());
    });
    connect(&tools, &FrmTool::dataRestored, this, [this] {
        // The restored settings apply where they are read; the keys at the next settings change.
        reloadSettings();
        IsAddType(true);
        RequeryData();
    });
    runModal(tools);
    if (tools.userDeleted()) {
        m_IsLogout = true;
        close();
    }
}

void FrmMain::bossKey() {
    if (isMinimized() || isHidden()) {
        showFromTray();
        return;
    }
    // A maximised window, or one busy with a modal window, is left alone.
    if (!isMaximized() && !m_modalOpen)
        showMinimized();
}

void FrmMain::saveColumnWidths() {
    // The other settings may have changed meanwhile (settings window, restore): only the
    // widths are this window's to write.
    UserSettings stored = m_vault.users().settings(m_session->userName());
    const int dpi = logicalDpiX();
    double *widths[] = {&stored.TypeNameWidth, &stored.AccountNameWidth, &stored.AccountIDWidth,
                        &stored.AccountPasswordWidth, &stored.URLWidth};
    for (int column = 0; column < RecordModel::kColumns; ++column)
        *widths[column] = twips::fromPixels(m_ListViewUser->columnWidth(column), dpi);
    m_vault.users().saveSettings(m_session->userName(), stored);
}

bool FrmMain::reloadSettings() {
    try {
        m_settings = m_vault.users().settings(m_session->userName());
    } catch (const std::exception &) {
        return false; // the user is gone; the window is closing
    }
    m_model->setMaskPasswords(m_settings.ShowPassword);
    m_autoLock->setMinutes(m_settings.MinLockTime);
    return true;
}

void FrmMain::changeEvent(QEvent *event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (windowState() & Qt::WindowMinimized) {
            m_autoLock->start();
            if (m_services.tray.isAvailable()) {
                m_services.tray.show(artwork::appIcon(), tr("Fennick密码管理器"));
                // Hide once the minimise has been handled, or the window manager shows it again.
                QTimer::singleShot(0, this, [this] {
                    if (windowState() & Qt::WindowMinimized)
                        hide();
                });
            } else if (!m_trayMissingTold) {
                // Hidden without a tray icon, nobody could bring the window back.
                m_trayMissingTold = true;
                m_services.messages.info(this, tr("没有找到系统托盘,窗口将最小化到任务栏."));
            }
        } else {
            m_autoLock->stop();
            m_services.tray.hide();
            if (m_IsLock) {
                // Back from the taskbar while locked: the password comes first.
                QTimer::singleShot(0, this, [this] {
                    showMinimized();
                    showFromTray();
                });
            }
        }
    }
    QMainWindow::changeEvent(event);
}

void FrmMain::applyColumnWidths() {
    const int dpi = logicalDpiX();
    const double widths[] = {m_settings.TypeNameWidth, m_settings.AccountNameWidth,
                             m_settings.AccountIDWidth, m_settings.AccountPasswordWidth,
                             m_settings.URLWidth};
    for (int column = 0; column < RecordModel::kColumns; ++column)
        m_ListViewUser->setColumnWidth(column, twips::toPixels(widths[column], dpi));
}

void FrmMain::buildTree() {
    m_buildingTree = true;
    m_nodeAtPress = nullptr;
    m_TreeViewType->clear();
    auto *root = new QTreeWidgetItem(m_TreeViewType, QStringList(tr("帐号分类")), kRootType);
    root->setIcon(0, artwork::categoryIcon(10));
    // On a failure the tree keeps its root; the records are still listed under it.
    storeCall(tr("帐号分类无法读取."), [&] {
        for (const Category &category : m_vault.categories(m_session->userName()).list()) {
            auto *node = new QTreeWidgetItem(root, QStringList(category.TypeName));
            node->setIcon(0, artwork::categoryIcon(category.icoIndex));
        }
    });
    m_TreeViewType->setCurrentItem(root);
    root->setExpanded(true);
    m_buildingTree = false;
}

bool FrmMain::storeCall(const QString &failure, const std::function<void()> &call) {
    try {
        call();
        return true;
    } catch (const std::exception &error) {
        m_services.messages.show(this, MessageService::Icon::Critical, tr("提示"),
                                 failure + QLatin1Char('\n') + QString::fromUtf8(error.what()),
                                 false);
        return false;
    }
}

void FrmMain::IsAddType(bool categoriesChanged) {
    if (categoriesChanged)
        buildTree();
}

void FrmMain::refill(const std::function<void()> &show) {
    show();
    // A refill shows the rows in stored order; the header shows no sort until the next click.
    m_ListViewUser->horizontalHeader()->setSortIndicatorShown(false);
    if (m_model->rowCount() > 0)
        m_ListViewUser->setCurrentIndex(m_model->index(0, 0));
}

void FrmMain::showNode() {
    m_listSource = ListSource::Node;
    showList();
}

void FrmMain::showList() {
    if (!storeCall(tr("帐号资料无法读取."),
                   [&] { m_model->setRecords(m_vault.records(*m_session).list()); }))
        m_model->setRecords({});
    switch (m_listSource) {
    case ListSource::QuickSearch:
        refill([&] { m_model->showMatching(m_TxtFindData->text()); });
        break;
    case ListSource::Found:
        refill([&] { m_model->showIds(m_foundIds); });
        break;
    case ListSource::Node:
        const QTreeWidgetItem *node = m_TreeViewType->currentItem();
        if (node && node->type() != kRootType)
            refill([&] { m_model->showCategory(node->text(0)); });
        else
            refill([] {});
        break;
    }
}

void FrmMain::RequeryData() {
    // A quick search stays in force while its text is in the box; a search result gives way to
    // the selected node, since the changed records may no longer match it.
    if (m_listSource == ListSource::Found)
        m_listSource = ListSource::Node;
    showList();
}

FrmMain::ListState FrmMain::listState() const {
    ListState state;
    const QHeaderView *header = m_ListViewUser->horizontalHeader();
    state.sorted = header->isSortIndicatorShown();
    state.sortSection = header->sortIndicatorSection();
    state.sortOrder = header->sortIndicatorOrder();
    const int row = selectedRow();
    if (row >= 0 && row < m_model->rowCount())
        state.selectedId = m_model->entry(row).id;
    return state;
}

void FrmMain::restoreListState(const ListState &state) {
    if (state.sorted) {
        m_model->sort(state.sortSection, state.sortOrder);
        QHeaderView *header = m_ListViewUser->horizontalHeader();
        header->setSortIndicatorShown(true);
        header->setSortIndicator(state.sortSection, state.sortOrder);
    }
    const int row = m_model->rowOf(state.selectedId);
    if (row >= 0)
        m_ListViewUser->setCurrentIndex(m_model->index(row, 0));
}

void FrmMain::headerClicked(int section) {
    // Clicking the header sorted last turns the order round; any other header sorts
    // ascending, except that the first column starts out as "sorted last".
    Qt::SortOrder order;
    if (m_SortColumn == section) {
        order = Qt::DescendingOrder;
        m_SortColumn = -1;
    } else {
        order = Qt::AscendingOrder;
        m_SortColumn = section;
    }
    m_model->sort(section, order);
    QHeaderView *header = m_ListViewUser->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(section, order);
}

int FrmMain::selectedRow() const {
    const QModelIndexList rows = m_ListViewUser->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        return rows.first().row();
    const QModelIndex current = m_ListViewUser->currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool FrmMain::runModal(QDialog &dialog) {
    m_modalOpen = true;
    m_modal = &dialog;
    if (m_globalKeys)
        m_globalKeys->setBossKeyEnabled(false);
    const int result = dialog.exec();
    m_modal = nullptr;
    m_modalOpen = false;
    if (m_globalKeys)
        m_globalKeys->setBossKeyEnabled(true);
    return result == QDialog::Accepted;
}

void FrmMain::whenNoModal(std::function<void()> next) {
    if (!m_modalOpen && !ui::dialogOpen()) {
        next();
        return;
    }
    // A dialog of this window may have hidden before its runModal has returned: look again.
    ui::afterDialogs(this, [this, next = std::move(next)]() mutable {
        if (m_modalOpen)
            QTimer::singleShot(0, this, [this, next = std::move(next)]() mutable {
                whenNoModal(std::move(next));
            });
        else
            next();
    });
}

bool FrmMain::bringModalForward() {
    if (!m_modalOpen && !ui::dialogOpen())
        return false;
    showNormal();
    QWidget *top = QApplication::activeModalWidget();
    if (!top)
        top = m_modal;
    if (top) {
        top->show();
        top->raise();
        top->activateWindow();
    }
    return true;
}

void FrmMain::quitFromTray() {
    whenNoModal([this] { close(); });
}

void FrmMain::CmdAdd_Click() {
    QTreeWidgetItem *node = m_TreeViewType->currentItem();
    const QString category = node && node->type() != kRootType ? node->text(0) : QString();
    FrmData editor(m_vault, *m_session, m_services, FrmData::Mode::Add, 0, category, this);
    runModal(editor);
    IsAddType(editor.categoriesChanged());
    RequeryData();
}

void FrmMain::CmdEdit_Click() {
    if (m_model->rowCount() == 0) {
        m_services.messages.info(this, tr("没有资料可修改!"));
        return;
    }
    const int row = selectedRow();
    if (row < 0)
        return;
    FrmData editor(m_vault, *m_session, m_services, FrmData::Mode::Edit, m_model->entry(row).id, {},
                   this);
    runModal(editor);
    IsAddType(editor.categoriesChanged());
    RequeryData();
}

void FrmMain::CmdLook_Click() {
    if (m_model->rowCount() == 0) {
        m_services.messages.info(this, tr("没有资料可查看!"));
        return;
    }
    const int row = selectedRow();
    if (row < 0)
        return;
    FrmData editor(m_vault, *m_session, m_services, FrmData::Mode::Look, m_model->entry(row).id, {},
                   this);
    runModal(editor);
    // A plain view changes nothing; the list and its order stay as they are.
    if (editor.mode() != FrmData::Mode::Look) {
        IsAddType(editor.categoriesChanged());
        RequeryData();
    }
}

void FrmMain::CmdDel_Click() {
    if (m_model->rowCount() == 0) {
        m_services.messages.info(this, tr("没有资料可删除!"));
        return;
    }
    const int row = selectedRow();
    if (row < 0)
        return;
    const ListEntry entry = m_model->entry(row);
    if (!m_services.messages.ask(
            this, tr("删除提示"),
            tr("是否删除帐号<%1>,删除后将不可恢复,请确认!").arg(entry.AccountName)))
        return;
    if (!storeCall(tr("删除失败."), [&] { m_vault.records(*m_session).remove(entry.id); }))
        return;
    m_model->removeRecord(entry.id);
}

void FrmMain::CmdFind_Click() {
    QStringList categories;
    if (!storeCall(tr("帐号分类无法读取."), [&] {
            for (const Category &category : m_vault.categories(m_session->userName()).list())
                categories << category.TypeName;
        }))
        return;
    FrmFind search(categories, m_services, this);
    if (!runModal(search))
        return;
    std::vector<qint64> found;
    if (!storeCall(tr("查询失败."),
                   [&] { found = m_vault.records(*m_session).find(search.criteria()); }))
        return;
    m_foundIds = std::move(found);
    m_listSource = ListSource::Found;
    refill([&] { m_model->showIds(m_foundIds); });
}

void FrmMain::CmdAbout_Click() {
    FrmAbout about(this);
    runModal(about);
}

void FrmMain::showMemberPage() {
    // One page window; another click brings it forward.
    if (!m_memberPage)
        m_memberPage = new Form1(this);
    m_memberPage->show();
    m_memberPage->raise();
    m_memberPage->activateWindow();
}

void FrmMain::copyField(int column) {
    const int row = selectedRow();
    if (row < 0)
        return;
    const ListEntry &entry = m_model->entry(row);
    m_services.clipboard.clear();
    if (column == RecordModel::AccountIDColumn) {
        m_services.clipboard.setText(entry.AccountID);
    } else if (column == RecordModel::URLColumn) {
        m_services.clipboard.setText(entry.URL);
    } else {
        try {
            QString password = m_model->password(row);
            m_services.clipboard.setSecretText(password);
            crypto::wipe(password);
        } catch (const std::exception &) {
            m_services.messages.info(this, tr("密码无法解密,没有复制."));
        }
    }
}

void FrmMain::popUpListMenu(const QPoint &globalPos) {
    const bool any = m_model->rowCount() > 0;
    const int row = selectedRow();
    const bool hasUrl = any && row >= 0 && !m_model->entry(row).URL.isEmpty();
    for (const char *name :
         {"mnuCopyShortcut", "mnuCopyUser", "mnuCopyPwd", "mnuLook", "mnuEdit", "mnuDel"})
        m_trayMenu->item(name)->setEnabled(any);
    for (const char *name : {"mnuCopyUrl", "mnuOpenUrl"})
        m_trayMenu->item(name)->setEnabled(hasUrl);
    listMenu()->popup(globalPos, m_trayMenu->item("mnuOpenUrl"));
}

void FrmMain::keyPressEvent(QKeyEvent *event) {
    // Enter runs the search (the default button), Esc the quit button (the cancel button).
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_CmdFind->click();
        return;
    case Qt::Key_Escape:
        m_CmdQuit->click();
        return;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_Label1 && event->type() == QEvent::MouseButtonRelease) {
        showMemberPage();
        return true;
    }
    if (watched == m_TreeViewType->viewport() && event->type() == QEvent::MouseButtonPress)
        m_nodeAtPress = m_TreeViewType->currentItem();
    if (watched == m_ListViewUser->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        CmdLook_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::closeEvent(QCloseEvent *event) {
    // Closing under an open dialog would delete that dialog while it runs.
    if (m_modalOpen) {
        event->ignore();
        whenNoModal([this] { close(); });
        return;
    }
    // The close box hides the window in the tray when the user chose so; the quit button and
    // the tray's quit item close from code and go on to the exit.
    if (event->spontaneous() && m_settings.Custom2 == 1 && !m_IsLogout) {
        event->ignore();
        showMinimized();
        return;
    }
    if (!m_IsLogout && !m_services.messages.ask(this, tr("提示"), tr("是否退出系统？"))) {
        event->ignore();
        return;
    }
    m_autoLock->stop();
    m_globalKeys.reset(); // no global key acts from here on
    try {
        saveColumnWidths();
    } catch (const std::exception &) {
        // The exit goes on: the data file must be closed and scrambled whatever failed here.
    }
    event->accept();
    emit unloaded();
}
