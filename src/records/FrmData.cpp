#include "records/FrmData.h"

#include "core/Clipboard.h"
#include "core/Clock.h"
#include "core/DateText.h"
#include "core/MessageService.h"
#include "records/CategoryStore.h"
#include "records/RecordStore.h"
#include "skin/MSkinner.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"
#include "ui/StrengthMeter.h"
#include "users/Session.h"
#include "vault/Vault.h"

#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kRemarksLimit = 255;
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);

QLabel *makeLabel(const QString &text, const QString &name, QWidget *parent,
                  const QColor &colour = QColor()) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    if (colour.isValid())
        label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    return label;
}

// A label that acts as a link: pointing hand, reachable with Tab, Space activates it.
void makeLink(QLabel *label) {
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::TabFocus);
}

} // namespace

FrmData::FrmData(Vault &vault, const Session &session, const Services &services, Mode mode,
                 qint64 recordId, const QString &category, QWidget *parent)
    : QDialog(parent), m_vault(vault), m_session(session), m_services(services), m_mode(mode),
      m_recordId(recordId), m_category(category) {
    setObjectName(QStringLiteral("FrmData"));
    setWindowIcon(artwork::appIcon());
    setModal(true);

    m_CbAccountType = new QComboBox(this);
    m_CbAccountType->setObjectName(QStringLiteral("CbAccountType"));
    m_CbAccountType->setEditable(true);
    m_CbAccountType->setInsertPolicy(QComboBox::NoInsert);
    // Category names are compared exactly; completion must not change the letter case typed.
    m_CbAccountType->completer()->setCaseSensitivity(Qt::CaseSensitive);
    ui::limitLength(m_CbAccountType->lineEdit(), 50);
    m_TxtAccountName = ui::lineEdit(this, "TxtAccountName");
    m_TxtAccountID = ui::lineEdit(this, "TxtAccountID");
    m_TxtAccountPassword = ui::lineEdit(this, "TxtAccountPassword", ui::Echo::Password);
    m_TxtAccountPassword->installEventFilter(this);
    m_TxtRegDate = ui::lineEdit(this, "TxtRegDate", ui::Echo::Normal, 10);
    m_TxtURL = ui::lineEdit(this, "TxtURL", ui::Echo::Normal, 200);
    m_TxtURL->setText(QStringLiteral("http://"));
    m_TxtRemarks = new QPlainTextEdit(this);
    m_TxtRemarks->setObjectName(QStringLiteral("TxtRemarks"));
    m_TxtRemarks->setTabChangesFocus(true);
    m_TxtRemarks->setFixedHeight(72);
    connect(m_TxtRemarks, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_TxtRemarks->toPlainText();
        if (text.size() > kRemarksLimit) {
            m_TxtRemarks->setPlainText(text.left(kRemarksLimit));
            m_TxtRemarks->moveCursor(QTextCursor::End);
        }
    });

    QLabel *lblOther1 = makeLabel(QStringLiteral("*"), QStringLiteral("lblOther1"), this, kRed);
    QLabel *lblOther2 = makeLabel(QStringLiteral("*"), QStringLiteral("lblOther2"), this, kRed);
    QLabel *lblOther3 = makeLabel(QStringLiteral("*"), QStringLiteral("lblOther3"), this, kRed);
    m_lblOther4 = makeLabel(QStringLiteral("*"), QStringLiteral("lblOther4"), this, kRed);
    m_lblOther4->installEventFilter(this);
    m_lblNowData = makeLabel(QStringLiteral("Now"), QStringLiteral("lblNowData"), this, kBlue);
    makeLink(m_lblNowData);
    m_lblNowData->installEventFilter(this);
    m_lblOpenURL = makeLabel(tr("打开"), QStringLiteral("lblOpenURL"), this, kBlue);
    makeLink(m_lblOpenURL);
    m_lblOpenURL->installEventFilter(this);
    m_meter = new StrengthMeter(this);
    connect(m_TxtAccountPassword, &QLineEdit::textChanged, m_meter, &StrengthMeter::setPassword);

    const auto caption = [this](const QString &text, const char *name, QWidget *buddy) {
        QLabel *label = makeLabel(text, QString::fromLatin1(name), this);
        label->setBuddy(buddy);
        return label;
    };
    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](QLabel *label, QWidget *field, QWidget *mark) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        if (mark)
            grid->addWidget(mark, row, 2);
        ++row;
    };
    addRow(caption(tr("帐号分类:"), "lblAccountType", m_CbAccountType), m_CbAccountType, lblOther1);
    addRow(caption(tr("帐号名称:"), "lblAccountName", m_TxtAccountName), m_TxtAccountName,
           lblOther2);
    addRow(caption(tr("用户名:"), "lblAccountID", m_TxtAccountID), m_TxtAccountID, lblOther3);
    addRow(caption(tr("密码:"), "lblAccountPassword", m_TxtAccountPassword), m_TxtAccountPassword,
           m_lblOther4);
    auto *strength = new QHBoxLayout;
    strength->addWidget(makeLabel(tr("密码强度:"), QStringLiteral("lblPassStrength"), this));
    strength->addWidget(m_meter);
    strength->addStretch();
    grid->addLayout(strength, row++, 1);
    addRow(caption(tr("注册日期:"), "lblRegDate", m_TxtRegDate), m_TxtRegDate, m_lblNowData);
    addRow(caption(tr("网址:"), "lblURL", m_TxtURL), m_TxtURL, m_lblOpenURL);
    addRow(caption(tr("备注:"), "lblRemarks", m_TxtRemarks), m_TxtRemarks, nullptr);
    grid->setColumnMinimumWidth(1, 280);

    m_CmdSave = ui::button(this, tr("保存(&S)"), "CmdSave", true);
    m_CmdEdit = ui::button(this, tr("修改(&E)"), "CmdEdit");
    m_CmdCancel = ui::button(this, tr("取消(&C)"), "CmdCancel");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_CmdEdit);
    buttons->addWidget(m_CmdSave);
    buttons->addWidget(m_CmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget::setTabOrder(m_CbAccountType, m_TxtAccountName);
    QWidget::setTabOrder(m_TxtAccountName, m_TxtAccountID);
    QWidget::setTabOrder(m_TxtAccountID, m_TxtAccountPassword);
    QWidget::setTabOrder(m_TxtAccountPassword, m_TxtRegDate);
    QWidget::setTabOrder(m_TxtRegDate, m_lblNowData);
    QWidget::setTabOrder(m_lblNowData, m_TxtURL);
    QWidget::setTabOrder(m_TxtURL, m_lblOpenURL);
    QWidget::setTabOrder(m_lblOpenURL, m_TxtRemarks);
    QWidget::setTabOrder(m_TxtRemarks, m_CmdEdit);
    QWidget::setTabOrder(m_CmdEdit, m_CmdSave);
    QWidget::setTabOrder(m_CmdSave, m_CmdCancel);

    connect(m_CmdSave, &QPushButton::clicked, this, &FrmData::CmdSave_Click);
    connect(m_CmdCancel, &QPushButton::clicked, this, &FrmData::CmdCancel_Click);
    connect(m_CmdEdit, &QPushButton::clicked, this, &FrmData::CmdEdit_Click);

    m_TxtRegDate->setToolTip(tr("点击旁边Now插入当前日期"));
    SkinWindow(this);
    load();
}

void FrmData::load() {
    m_CbAccountType->clear();
    for (const Category &category : m_vault.categories(m_session.userName()).list())
        m_CbAccountType->addItem(category.TypeName);
    m_lblOpenURL->hide();
    m_CmdEdit->hide();

    if (m_mode == Mode::Add) {
        setWindowTitle(tr("添加资料"));
        m_CbAccountType->setCurrentIndex(-1);
        m_CbAccountType->setEditText(m_category);
        return;
    }
    setWindowTitle(tr("修改资料"));
    const std::optional<Record> record = m_vault.records(m_session).get(m_recordId);
    if (record) {
        m_CbAccountType->setCurrentIndex(-1);
        m_CbAccountType->setEditText(record->TypeName);
        m_TxtAccountName->setText(record->AccountName);
        m_TxtAccountID->setText(record->AccountID);
        try {
            m_TxtAccountPassword->setText(m_session.decryptPassword(record->AccountPassword));
        } catch (const std::exception &) {
            m_TxtAccountPassword->clear();
        }
        m_TxtRegDate->setText(record->RegDate);
        m_TxtURL->setText(record->URL);
        m_TxtRemarks->setPlainText(record->Remarks);
    }
    const bool look = m_mode == Mode::Look;
    m_CmdSave->setEnabled(!look);
    m_CbAccountType->setEnabled(!look); // a combo box cannot be read-only; the text stays legible
    for (QLineEdit *edit :
         {m_TxtAccountName, m_TxtAccountID, m_TxtAccountPassword, m_TxtRegDate, m_TxtURL})
        edit->setReadOnly(look);
    m_TxtRemarks->setReadOnly(look);
    m_TxtAccountPassword->setEchoMode(QLineEdit::Password);
    if (look) {
        setWindowTitle(tr("查看资料"));
        m_TxtAccountPassword->setToolTip(tr("点击旁边星号显示密码"));
        m_lblOther4->setStyleSheet(QStringLiteral("color: %1;").arg(kGreen.name()));
        m_lblOther4->setCursor(Qt::PointingHandCursor);
        m_lblOther4->setFocusPolicy(Qt::TabFocus);
        m_TxtRegDate->setToolTip(QString());
        m_lblNowData->hide();
        m_lblOpenURL->show();
        m_CmdEdit->show();
        m_lblOpenURL->setEnabled(!m_TxtURL->text().isEmpty());
        m_CmdCancel->setFocus();
    }
}

void FrmData::CmdEdit_Click() {
    m_TxtAccountPassword->setToolTip(QString());
    m_lblOther4->unsetCursor();
    m_lblOther4->setFocusPolicy(Qt::NoFocus);
    m_lblOther4->setStyleSheet(QStringLiteral("color: %1;").arg(kRed.name()));
    m_TxtRegDate->setToolTip(tr("点击旁边Now插入当前日期"));
    m_lblNowData->show();
    m_mode = Mode::Edit;
    m_categoriesChanged = false;
    load();
    m_TxtAccountName->setFocus();
}

void FrmData::setPasswordShown(bool shown) {
    m_lblOther4->setStyleSheet(QStringLiteral("color: %1;").arg((shown ? kRed : kGreen).name()));
    m_lblOther4->setProperty("shown", shown);
    m_TxtAccountPassword->setToolTip(shown ? tr("点击旁边星号隐藏密码")
                                           : tr("点击旁边星号显示密码"));
    m_TxtAccountPassword->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
}

void FrmData::lblOther4_Click() {
    if (m_mode != Mode::Look)
        return;
    setPasswordShown(m_TxtAccountPassword->echoMode() == QLineEdit::Password);
}

void FrmData::lblNowData_Click() {
    m_TxtRegDate->setText(storedDate(m_services.clock.today()));
}

void FrmData::lblOpenURL_Click() {
    if (!m_TxtURL->text().isEmpty())
        m_services.desktop.open(m_TxtURL->text());
}

void FrmData::CmdCancel_Click() {
    reject();
}

void FrmData::warn(const QString &text, QWidget *focus) {
    m_services.messages.info(this, text);
    if (focus)
        focus->setFocus();
}

void FrmData::CmdSave_Click() {
    if (m_mode == Mode::Look)
        return;
    const QString typeName = m_CbAccountType->currentText();
    if (typeName.isEmpty())
        return warn(tr("请输入或选择帐号分类!"), m_CbAccountType);
    if (m_TxtAccountName->text().isEmpty())
        return warn(tr("请输入帐号名称!"), m_TxtAccountName);
    if (m_TxtAccountID->text().isEmpty() || m_TxtAccountPassword->text().isEmpty())
        return warn(tr("请输入用户名或密码!"),
                    m_TxtAccountID->text().isEmpty() ? m_TxtAccountID : m_TxtAccountPassword);
    QString regDate;
    if (!m_TxtRegDate->text().isEmpty()) {
        const std::optional<QDate> date = parseUserDate(m_TxtRegDate->text());
        if (!date)
            return warn(tr("注册日期格式错误,请重新输入!"), m_TxtRegDate);
        regDate = storedDate(*date);
    }
    if (m_TxtURL->text() == QLatin1String("http://"))
        m_TxtURL->clear();

    try {
        if (m_CbAccountType->findText(typeName, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
            // Created before the duplicate test, as a category typed here is kept either way;
            // the list learns it too, so a second save does not create it again.
            m_vault.categories(m_session.userName()).add({typeName, 11});
            m_CbAccountType->addItem(typeName);
            m_categoriesChanged = true;
        }
        RecordStore records = m_vault.records(m_session);
        const qint64 except = m_mode == Mode::Edit ? m_recordId : 0;
        if (records.keyTaken(typeName, m_TxtAccountName->text(), m_TxtAccountID->text(), except))
            return warn(tr("该帐号已存在,请重新输入!"), m_CbAccountType);
        const RecordInput input{typeName,
                                m_TxtAccountName->text(),
                                m_TxtAccountID->text(),
                                m_TxtAccountPassword->text(),
                                regDate,
                                m_TxtURL->text(),
                                m_TxtRemarks->toPlainText()};
        if (m_mode == Mode::Add) {
            m_savedId = records.add(input);
        } else {
            records.update(m_recordId, input);
            m_savedId = m_recordId;
        }
    } catch (const std::exception &error) {
        m_services.messages.show(this, MessageService::Icon::Critical, tr("提示"),
                                 tr("保存失败,数据没有改动.") + QLatin1Char('\n') +
                                     QString::fromUtf8(error.what()),
                                 false);
        return;
    }
    accept();
}

bool FrmData::eventFilter(QObject *watched, QEvent *event) {
    const bool click = event->type() == QEvent::MouseButtonRelease;
    const bool key = event->type() == QEvent::KeyPress &&
                     static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space;
    if (click || key) {
        if (watched == m_lblNowData) {
            lblNowData_Click();
            return true;
        }
        if (watched == m_lblOpenURL && m_lblOpenURL->isEnabled()) {
            lblOpenURL_Click();
            return true;
        }
        if (watched == m_lblOther4) {
            lblOther4_Click();
            return true;
        }
    }
    if (watched == m_TxtAccountPassword && event->type() == QEvent::MouseButtonDblClick &&
        m_mode == Mode::Look) {
        m_services.clipboard.clear();
        m_services.clipboard.setText(m_TxtAccountPassword->text());
        m_services.messages.info(this, tr("密码已复制到系统剪贴板!"));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
