#include "settings/CategoryPage.h"

#include "core/MessageService.h"
#include "records/CategoryStore.h"
#include "storage/Schema.h"
#include "ui/DialogButtons.h"
#include "vault/Vault.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CategoryPage::CategoryPage(Vault &vault, const QString &userName, const Services &services,
                           QWidget *parent)
    : QWidget(parent), m_vault(vault), m_user(userName), m_services(services) {
    m_ListAccountType = new QListWidget(this);
    m_ListAccountType->setObjectName(QStringLiteral("ListAccountType"));
    auto *label = new QLabel(tr("帐号分类:"), this);
    m_TxtAccountType = new QLineEdit(this);
    m_TxtAccountType->setObjectName(QStringLiteral("TxtAccountType"));
    ui::limitLength(m_TxtAccountType, 50);
    label->setBuddy(m_TxtAccountType);
    m_CmdAddType = ui::button(this, tr("添加(&A)"), "CmdAddType");
    m_CmdEditType = ui::button(this, tr("修改(&E)"), "CmdEditType");
    m_CmdDeleteType = ui::button(this, tr("删除(&D)"), "CmdDeleteType");
    m_CmdSaveType = ui::button(this, tr("保存(&S)"), "CmdSaveType");
    m_CmdCancelType = ui::button(this, tr("取消(&C)"), "CmdCancelType");

    auto *field = new QHBoxLayout;
    field->addWidget(label);
    field->addWidget(m_TxtAccountType, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b :
         {m_CmdAddType, m_CmdEditType, m_CmdDeleteType, m_CmdSaveType, m_CmdCancelType})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_ListAccountType, 1);
    layout->addLayout(field);
    layout->addLayout(buttons);

    connect(m_CmdAddType, &QPushButton::clicked, this, &CategoryPage::CmdAddType_Click);
    connect(m_CmdEditType, &QPushButton::clicked, this, &CategoryPage::CmdEditType_Click);
    connect(m_CmdDeleteType, &QPushButton::clicked, this, &CategoryPage::CmdDeleteType_Click);
    connect(m_CmdSaveType, &QPushButton::clicked, this, &CategoryPage::CmdSaveType_Click);
    connect(m_CmdCancelType, &QPushButton::clicked, this, &CategoryPage::CmdCancelType_Click);
    fillList();
}

bool CategoryPage::isReserved(const QString &name) {
    return QString::fromUtf8(schema::kDefaultCategories).contains(name, Qt::CaseSensitive);
}

void CategoryPage::fillList() {
    m_ListAccountType->clear();
    for (const Category &category : m_vault.categories(m_user).list())
        m_ListAccountType->addItem(category.TypeName);
    if (m_ListAccountType->count() > 0)
        m_ListAccountType->setCurrentRow(0);
    setEditing(false);
}

void CategoryPage::setEditing(bool editing) {
    m_TxtAccountType->setReadOnly(!editing);
    m_ListAccountType->setEnabled(!editing);
    m_CmdAddType->setEnabled(!editing);
    m_CmdEditType->setEnabled(!editing);
    m_CmdDeleteType->setEnabled(!editing);
    m_CmdSaveType->setEnabled(editing);
    m_CmdCancelType->setEnabled(editing);
}

QString CategoryPage::selectedName() const {
    const QListWidgetItem *item = m_ListAccountType->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

bool CategoryPage::report(const std::exception &error) {
    m_services.messages.show(
        this, MessageService::Icon::Critical, tr("提示"),
        tr("分类没有改动.") + QLatin1Char('\n') + QString::fromUtf8(error.what()), false);
    // The list follows the database again, whatever the failed change had done to it.
    fillList();
    return false;
}

void CategoryPage::CmdAddType_Click() {
    m_TypeAction = QStringLiteral("add");
    m_TxtAccountType->clear();
    setEditing(true);
    m_TxtAccountType->setFocus();
}

void CategoryPage::CmdEditType_Click() {
    const QString name = selectedName();
    if (isReserved(name)) {
        m_services.messages.info(this, tr("系统保留分类,不能修改!"));
        return;
    }
    m_TypeAction = QStringLiteral("edit");
    m_TxtAccountType->setText(name);
    setEditing(true);
    m_TxtAccountType->setFocus();
}

void CategoryPage::CmdCancelType_Click() {
    m_TypeAction.clear();
    m_TxtAccountType->clear();
    setEditing(false);
}

void CategoryPage::CmdSaveType_Click() {
    const QString name = m_TxtAccountType->text();
    bool duplicate = name.isEmpty();
    for (int i = 0; i < m_ListAccountType->count() && !duplicate; ++i)
        duplicate = m_ListAccountType->item(i)->text() == name;
    if (duplicate) {
        m_services.messages.info(this, tr("该分类已存在,请重新输入!"));
        return;
    }
    try {
        CategoryStore categories = m_vault.categories(m_user);
        if (m_TypeAction == QLatin1String("add")) {
            categories.add({name, 11});
            m_ListAccountType->addItem(name);
        } else {
            QListWidgetItem *item = m_ListAccountType->currentItem();
            categories.rename(item ? item->text() : QString(), name);
            if (item)
                item->setText(name);
        }
    } catch (const std::exception &error) {
        report(error);
        return;
    }
    m_TypeChange = name;
    m_TypeAction.clear();
    m_TxtAccountType->clear();
    setEditing(false);
}

void CategoryPage::CmdDeleteType_Click() {
    const QString name = selectedName();
    if (isReserved(name)) {
        m_services.messages.info(this, tr("系统保留分类,不能删除!"));
        return;
    }
    if (!m_services.messages.ask(this, tr("提示"),
                                 tr("是否删除“%1”分类和“%1”分类下所有数据?").arg(name)))
        return;
    try {
        m_vault.categories(m_user).remove(name);
    } catch (const std::exception &error) {
        report(error);
        return;
    }
    delete m_ListAccountType->currentItem();
    m_ListAccountType->setCurrentItem(nullptr);
    m_ListAccountType->clearSelection();
    m_TypeChange = QStringLiteral("delete");
}
