#include "records/FrmMain.h"

#include "app/Artwork.h"
#include "records/CategoryStore.h"
#include "storage/Vault.h"
#include "users/Session.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

FrmMain::FrmMain(Vault &vault, std::shared_ptr<Session> session, const Services &services,
                 QWidget *parent)
    : QMainWindow(parent), m_vault(vault), m_session(std::move(session)), m_services(services) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowIcon(artwork::appIcon());
    updateCaption();

    // Until the record list arrives, the window shows the user's categories.
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    auto *tree = new QTreeWidget(central);
    tree->setObjectName(QStringLiteral("TreeViewType"));
    tree->setHeaderHidden(true);
    auto *root = new QTreeWidgetItem(tree, QStringList(tr("帐号分类")));
    for (const Category &category : m_vault.categories(m_session->userName()).list())
        new QTreeWidgetItem(root, QStringList(category.TypeName));
    tree->expandAll();
    layout->addWidget(tree);
    setCentralWidget(central);
    resize(720, 480);
}

FrmMain::~FrmMain() = default;

void FrmMain::updateCaption() {
    setWindowTitle(tr("Ombrivo2011 beta  --- 当前用户:") + m_session->userName());
}

void FrmMain::closeEvent(QCloseEvent *event) {
    event->accept();
    emit unloaded();
}
