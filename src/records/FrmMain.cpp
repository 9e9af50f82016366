#include "records/FrmMain.h"

#include "app/Artwork.h"
#include "core/Clipboard.h"
#include "core/MessageService.h"
#include "records/CategoryStore.h"
#include "records/Form1.h"
#include "records/FrmAbout.h"
#include "records/FrmData.h"
#include "records/FrmFind.h"
#include "records/RecordModel.h"
#include "records/RecordStore.h"
#include "storage/Vault.h"
#include "users/Session.h"
#include "users/UserStore.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kRootType = QTreeWidgetItem::UserType + 1;

// Column widths are stored in twips, 1440 to the inch.
int twipsToPixels(double twips, int dpi) {
    return qMax(1, qRound(twips * dpi / 1440.0));
}
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
        auto *b = new QPushButton(text, central);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
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
    m_CmdQuit = button(tr("退出(&Q)"), "CmdQuit");
    commands->addStretch();
    // The settings and tools windows are not part of this build yet.
    CmdSet->setEnabled(false);
    CmdTool->setEnabled(false);
    layout->addLayout(commands);

    auto *findRow = new QHBoxLayout;
    auto *lblFindData = new QLabel(tr("查询数据:"), central);
    lblFindData->setObjectName(QStringLiteral("lblFindData"));
    m_TxtFindData = new QLineEdit(central);
    m_TxtFindData->setObjectName(QStringLiteral("TxtFindData"));
    m_TxtFindData->setMaxLength(50);
    m_TxtFindData->setToolTip(tr("支持拼音首字母查询"));
    lblFindData->setBuddy(m_TxtFindData);
    m_CmdFind = new QPushButton(tr("查询(&F)"), central);
    m_CmdFind->setObjectName(QStringLiteral("CmdFind"));
    m_CmdFind->setAutoDefault(false);
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

    // The record list's pop-up menu.
    m_listMenu = new QMenu(tr("右键菜单"), this);
    m_listMenu->setObjectName(QStringLiteral("ListView"));
    const auto item = [this](const QString &text, const char *name, auto slot) {
        QAction *action = m_listMenu->addAction(text, this, slot);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    QAction *open = item(tr("打开网页(&O)"), "mnuOpenUrl", [this] {
        const int row = selectedRow();
        if (row >= 0 && !m_model->entry(row).URL.isEmpty())
            m_services.desktop.open(m_model->entry(row).URL);
    });
    QFont bold = open->font();
    bold.setBold(true);
    open->setFont(bold);
    m_listMenu->addSeparator()->setObjectName(QStringLiteral("line4"));
    item(tr("复制用户名(&U)"), "mnuCopyUser", [this] { copyField(RecordModel::AccountIDColumn); });
    item(tr("复制密码(&P)"), "mnuCopyPwd", [this] { copyField(RecordModel::PasswordColumn); });
    item(tr("复制网址(&W)"), "mnuCopyUrl", [this] { copyField(RecordModel::URLColumn); });
    m_listMenu->addSeparator()->setObjectName(QStringLiteral("line5"));
    item(tr("查看资料(&L)"), "mnuLook", &FrmMain::CmdLook_Click);
    item(tr("添加资料(&A)"), "mnuAdd", &FrmMain::CmdAdd_Click);
    item(tr("修改资料(&E)"), "mnuEdit", &FrmMain::CmdEdit_Click);
    item(tr("删除资料(&D)"), "mnuDel", &FrmMain::CmdDel_Click);

    connect(CmdAdd, &QPushButton::clicked, this, &FrmMain::CmdAdd_Click);
    connect(CmdEdit, &QPushButton::clicked, this, &FrmMain::CmdEdit_Click);
    connect(CmdDel, &QPushButton::clicked, this, &FrmMain::CmdDel_Click);
    connect(CmdLook, &QPushButton::clicked, this, &FrmMain::CmdLook_Click);
    connect(CmdHelp, &QPushButton::clicked, this, &FrmMain::showMemberPage);
    connect(CmdAbout, &QPushButton::clicked, this, &FrmMain::CmdAbout_Click);
    connect(m_CmdQuit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_CmdFind, &QPushButton::clicked, this, &FrmMain::CmdFind_Click);
    connect(m_TxtFindData, &QLineEdit::textChanged, this,
            [this](const QString &text) { refill([&] { m_model->showMatching(text); }); });
    connect(m_TreeViewType, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *node) {
        if (!m_buildingTree && node)
            showNode(node);
    });
    connect(m_ListViewUser->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &FrmMain::headerClicked);
    connect(m_ListViewUser, &QTableView::doubleClicked, this, &FrmMain::CmdLook_Click);
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

    buildTree();
    RequeryData();
    applyColumnWidths();
    resize(820, 520);
}

FrmMain::~FrmMain() = default;

void FrmMain::applyColumnWidths() {
    const int dpi = logicalDpiX();
    const double widths[] = {m_settings.TypeNameWidth, m_settings.AccountNameWidth,
                             m_settings.AccountIDWidth, m_settings.AccountPasswordWidth,
                             m_settings.URLWidth};
    for (int column = 0; column < RecordModel::kColumns; ++column)
        m_ListViewUser->setColumnWidth(column, twipsToPixels(widths[column], dpi));
}

void FrmMain::buildTree() {
    m_buildingTree = true;
    m_TreeViewType->clear();
    auto *root = new QTreeWidgetItem(m_TreeViewType, QStringList(tr("帐号分类")), kRootType);
    root->setIcon(0, artwork::categoryIcon(10));
    try {
        for (const Category &category : m_vault.categories(m_session->userName()).list()) {
            auto *node = new QTreeWidgetItem(root, QStringList(category.TypeName));
            node->setIcon(0, artwork::categoryIcon(category.icoIndex));
        }
    } catch (const std::exception &) {
        // The tree keeps its root; the records are still listed under it.
    }
    m_TreeViewType->setCurrentItem(root);
    root->setExpanded(true);
    m_buildingTree = false;
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

void FrmMain::showNode(QTreeWidgetItem *node) {
    try {
        m_model->setRecords(m_vault.records(*m_session).list());
    } catch (const std::exception &) {
        m_model->setRecords({});
    }
    if (node && node->type() != kRootType)
        refill([&] { m_model->showCategory(node->text(0)); });
    else
        refill([] {});
}

void FrmMain::RequeryData() {
    showNode(m_TreeViewType->currentItem());
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
    const int result = dialog.exec();
    m_modalOpen = false;
    return result == QDialog::Accepted;
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
    try {
        m_vault.records(*m_session).remove(entry.id);
    } catch (const std::exception &error) {
        m_services.messages.show(
            this, MessageService::Icon::Critical, tr("提示"),
            tr("删除失败.") + QLatin1Char('\n') + QString::fromUtf8(error.what()), false);
        return;
    }
    m_model->removeRecord(entry.id);
}

void FrmMain::CmdFind_Click() {
    QStringList categories;
    for (const Category &category : m_vault.categories(m_session->userName()).list())
        categories << category.TypeName;
    FrmFind search(categories, m_services, this);
    if (search.exec() != QDialog::Accepted)
        return;
    const std::vector<qint64> ids = m_vault.records(*m_session).find(search.criteria());
    refill([&] { m_model->showIds(ids); });
}

void FrmMain::CmdAbout_Click() {
    FrmAbout about(this);
    runModal(about);
}

void FrmMain::showMemberPage() {
    auto *page = new Form1(this);
    page->show();
}

void FrmMain::copyField(int column) {
    const int row = selectedRow();
    if (row < 0)
        return;
    const ListEntry &entry = m_model->entry(row);
    QString text;
    if (column == RecordModel::AccountIDColumn)
        text = entry.AccountID;
    else if (column == RecordModel::URLColumn)
        text = entry.URL;
    else
        text = m_model->password(row);
    m_services.clipboard.clear();
    m_services.clipboard.setText(text);
}

void FrmMain::popUpListMenu(const QPoint &globalPos) {
    const bool any = m_model->rowCount() > 0;
    const int row = selectedRow();
    const bool hasUrl = any && row >= 0 && !m_model->entry(row).URL.isEmpty();
    for (const char *name : {"mnuCopyUser", "mnuCopyPwd", "mnuLook", "mnuEdit", "mnuDel"})
        m_listMenu->findChild<QAction *>(QString::fromLatin1(name))->setEnabled(any);
    for (const char *name : {"mnuCopyUrl", "mnuOpenUrl"})
        m_listMenu->findChild<QAction *>(QString::fromLatin1(name))->setEnabled(hasUrl);
    m_listMenu->popup(globalPos, m_listMenu->findChild<QAction *>(QStringLiteral("mnuOpenUrl")));
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
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::closeEvent(QCloseEvent *event) {
    event->accept();
    emit unloaded();
}
