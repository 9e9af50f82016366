#include "records/FrmFind.h"

#include "core/DateText.h"
#include "core/MessageService.h"
#include "skin/MSkinner.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"

#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FrmFind::FrmFind(const QStringList &categories, const Services &services, QWidget *parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("FrmFind"));
    setWindowTitle(tr("查询"));
    setWindowIcon(artwork::appIcon());
    setModal(true);

    auto *lblCaption = new QLabel(tr("请输入查询条件,不需要的条件留空."), this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    m_CbAccountType = new QComboBox(this);
    m_CbAccountType->setObjectName(QStringLiteral("CbAccountType"));
    m_CbAccountType->setEditable(true);
    m_CbAccountType->setInsertPolicy(QComboBox::NoInsert);
    // Category names are compared exactly; completion must not change the letter case typed.
    m_CbAccountType->completer()->setCaseSensitivity(Qt::CaseSensitive);
    m_CbAccountType->addItems(categories);
    m_CbAccountType->setCurrentIndex(-1);
    ui::limitLength(m_CbAccountType->lineEdit(), 50);
    const auto edit = [this](const char *name, int maxLength) {
        auto *line = new QLineEdit(this);
        line->setObjectName(QString::fromLatin1(name));
        ui::limitLength(line, maxLength);
        return line;
    };
    m_TxtAccountName = edit("TxtAccountName", 50);
    m_TxtAccountID = edit("TxtAccountID", 50);
    m_TxtRegDate = edit("TxtRegDate", 50);
    m_TxtURL = edit("TxtURL", 200);
    m_TxtURL->setText(QStringLiteral("http://"));

    auto *form = new QFormLayout;
    form->addRow(tr("帐号分类:"), m_CbAccountType);
    form->addRow(tr("帐号名称:"), m_TxtAccountName);
    form->addRow(tr("用户名:"), m_TxtAccountID);
    form->addRow(tr("注册日期:"), m_TxtRegDate);
    form->addRow(tr("网址:"), m_TxtURL);
    m_TxtURL->setMinimumWidth(260);

    auto *CmdSave = ui::button(this, tr("查询(&F)"), "CmdSave", true);
    auto *CmdCancel = ui::button(this, tr("取消(&C)"), "CmdCancel");
    auto *buttons = ui::buttonRow({CmdSave, CmdCancel});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblCaption);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CmdSave, &QPushButton::clicked, this, &FrmFind::CmdSave_Click);
    SkinWindow(this);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmFind::CmdSave_Click() {
    QString regDate;
    if (!m_TxtRegDate->text().isEmpty()) {
        const std::optional<QDate> date = parseUserDate(m_TxtRegDate->text());
        if (!date) {
            m_services.messages.info(this, tr("注册日期格式错误,请重新输入!"));
            m_TxtRegDate->setFocus();
            return;
        }
        regDate = storedDate(*date);
    }
    if (m_TxtURL->text() == QLatin1String("http://"))
        m_TxtURL->clear();
    m_criteria = {m_CbAccountType->currentText(), m_TxtAccountName->text(), m_TxtAccountID->text(),
                  regDate, m_TxtURL->text()};
    accept();
}
