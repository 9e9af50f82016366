#include "settings/FrmSetting.h"

#include "core/FileDialogs.h"
#include "core/Gradient.h"
#include "core/MessageService.h"
#include "core/NumberText.h"
#include "settings/Autorun.h"
#include "settings/CategoryPage.h"
#include "settings/ShortcutBox.h"
#include "skin/MSkinner.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"
#include "users/UserStore.h"
#include "vault/DataFile.h"
#include "vault/Vault.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor kEntryColour(213, 231, 246);

// A selector entry: light blue, or the gradient while its page is shown.
class SelectorEntry : public QFrame {
public:
    using QFrame::QFrame;
    void setSelected(bool selected) {
        m_selected = selected;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override {
        if (m_selected) {
            PaintGradient(*this);
        } else {
            QPainter painter(this);
            painter.fillRect(rect(), kEntryColour);
        }
    }

private:
    bool m_selected = false;
};

QLabel *note(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #606060;"));
    return label;
}

QCheckBox *check(const QString &text, const char *name, QWidget *parent) {
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLineEdit *edit(const char *name, QWidget *parent) {
    auto *line = new QLineEdit(parent);
    line->setObjectName(QString::fromLatin1(name));
    return line;
}

} // namespace

FrmSetting::FrmSetting(Vault &vault, const QString &userName, const Services &services,
                       QWidget *parent)
    : QDialog(parent), m_vault(vault), m_user(userName), m_services(services) {
    setObjectName(QStringLiteral("FrmSetting"));
    setWindowTitle(tr("设置"));
    setWindowIcon(artwork::appIcon());
    setModal(true);

    const QString captions[kPages] = {tr("备份压缩"), tr("安全"), tr("快捷键"), tr("帐号分类"),
                                      tr("其它")};
    auto *selector = new QVBoxLayout;
    selector->setSpacing(12);
    for (int i = 0; i < kPages; ++i) {
        auto *entry = new SelectorEntry(this);
        entry->setObjectName(QStringLiteral("PicSelect%1").arg(i));
        entry->setFixedSize(72, 33);
        entry->setFocusPolicy(Qt::TabFocus);
        entry->installEventFilter(this);
        m_PicSelect[i] = entry;
        m_lblSelect[i] = new QLabel(captions[i], entry);
        m_lblSelect[i]->setObjectName(QStringLiteral("lblSelect%1").arg(i));
        m_lblSelect[i]->setAlignment(Qt::AlignCenter);
        m_lblSelect[i]->setGeometry(entry->rect());
        m_lblSelect[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        selector->addWidget(entry);
    }
    selector->addStretch();

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("PicFunction"));
    m_pages->setFrameShape(QFrame::StyledPanel);
    m_pages->addWidget(backupPage());
    m_pages->addWidget(securityPage());
    m_pages->addWidget(shortcutPage());
    m_categories = new CategoryPage(m_vault, m_user, m_services, this);
    m_categories->setObjectName(QStringLiteral("PicFunction3"));
    m_pages->addWidget(m_categories);
    m_pages->addWidget(otherPage());
    m_pages->setMinimumSize(380, 240);

    // Joins the chosen entry to its page: it covers the border between the two.
    m_PicLine = new QFrame(this);
    m_PicLine->setObjectName(QStringLiteral("PicLine"));
    m_PicLine->setFixedSize(3, 31);
    m_PicLine->setStyleSheet(QStringLiteral("background: white;"));

    // No default button: Enter must not close the window while a shortcut is captured.
    QPushButton *CmdOK = ui::button(this, tr("确定(&O)"), "CmdOK");
    QPushButton *CmdCancel = ui::button(this, tr("取消(&C)"), "CmdCancel");

    auto *body = new QHBoxLayout;
    body->setSpacing(0);
    body->addLayout(selector);
    body->addWidget(m_pages, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdOK);
    buttons->addWidget(CmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    connect(CmdOK, &QPushButton::clicked, this, &FrmSetting::CmdOK_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_TxtMinLock, &QLineEdit::textChanged, this, &FrmSetting::checkLockTime);
    connect(m_ImgPath, &QToolButton::clicked, this, &FrmSetting::ImgPath_Click);
    m_TxtDay->installEventFilter(this);

    SkinWindow(this);
    load();
    PicSelect_Click(0);
}

QWidget *FrmSetting::backupPage() {
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("PicFunction0"));
    m_TxtDay = edit("TxtDay", page);
    m_TxtPath = edit("TxtPath", page);
    m_TxtPath->setReadOnly(true);
    m_ImgPath = new QToolButton(page);
    m_ImgPath->setObjectName(QStringLiteral("ImgPath"));
    m_ImgPath->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_ImgPath->setToolTip(tr("备份文件保存至:"));
    m_ChkCompress = check(tr("自动压缩数据库"), "ChkCompress", page);
    auto *grid = new QGridLayout(page);
    auto *days = new QLabel(tr("自动备份时间间隔:"), page);
    days->setBuddy(m_TxtDay);
    grid->addWidget(days, 0, 0);
    grid->addWidget(m_TxtDay, 0, 1);
    grid->addWidget(new QLabel(tr("天"), page), 0, 2);
    grid->addWidget(note(tr("注:0天为不自动备份"), page), 1, 1, 1, 2);
    auto *path = new QLabel(tr("备份文件保存至:"), page);
    path->setBuddy(m_TxtPath);
    grid->addWidget(path, 2, 0);
    grid->addWidget(m_TxtPath, 2, 1);
    grid->addWidget(m_ImgPath, 2, 2);
    grid->addWidget(m_ChkCompress, 3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget *FrmSetting::securityPage() {
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("PicFunction1"));
    m_TxtMinLock = edit("TxtMinLock", page);
    m_ChkShowPassword = check(tr("用星号(*)显示密码"), "ChkShowPassword", page);
    m_ChkClearClipboard = check(tr("退出时清空剪贴板"), "ChkClearClipboard", page);
    auto *grid = new QGridLayout(page);
    auto *minutes = new QLabel(tr("最小化后锁定时间:"), page);
    minutes->setBuddy(m_TxtMinLock);
    grid->addWidget(minutes, 0, 0);
    grid->addWidget(m_TxtMinLock, 0, 1);
    grid->addWidget(new QLabel(tr("分"), page), 0, 2);
    grid->addWidget(note(tr("注:0分钟为不锁定"), page), 1, 1, 1, 2);
    grid->addWidget(m_ChkShowPassword, 2, 0, 1, 3);
    grid->addWidget(m_ChkClearClipboard, 3, 0, 1, 3);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget *FrmSetting::shortcutPage() {
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("PicFunction2"));
    auto *grid = new QGridLayout(page);
    const QString labels[4] = {tr("粘贴用户名:"), tr("粘贴密码:"), tr("粘贴网址:"), tr("老板键:")};
    for (int i = 0; i < 4; ++i) {
        m_TxtShortcutKey[i] = new ShortcutBox(i == 3, page);
        m_TxtShortcutKey[i]->setObjectName(QStringLiteral("TxtShortcutKey%1").arg(i));
        auto *label = new QLabel(labels[i], page);
        label->setBuddy(m_TxtShortcutKey[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(m_TxtShortcutKey[i], i, 1);
    }
    m_lblNoShortcuts = note(QString(), page);
    m_lblNoShortcuts->setObjectName(QStringLiteral("lblNoShortcuts"));
    m_lblNoShortcuts->setWordWrap(true);
    m_lblNoShortcuts->hide();
    grid->addWidget(m_lblNoShortcuts, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget *FrmSetting::otherPage() {
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("PicFunction4"));
    m_ChkCloseMin = check(tr("关闭时最小化到托盘"), "ChkCloseMin", page);
    m_ChkWinRun = check(tr("随系统启动"), "ChkWinRun", page);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_ChkCloseMin);
    layout->addWidget(m_ChkWinRun);
    layout->addStretch();
    return page;
}

void FrmSetting::load() {
    try {
        m_settings = m_vault.users().settings(m_user);
    } catch (const std::exception &) {
        return; // the controls keep their empty state
    }
    const UserSettings &s = m_settings;
    m_TxtDay->setText(numberText(s.AutoBackup));
    m_TxtPath->setText(s.AutoBackupPath);
    m_ChkCompress->setChecked(s.AutoCompress);
    m_checking = true; // loading is not typing
    m_TxtMinLock->setText(numberText(s.MinLockTime));
    m_checking = false;
    m_ChkShowPassword->setChecked(s.ShowPassword);
    m_ChkClearClipboard->setChecked(s.ClearClipboard);
    m_TxtShortcutKey[0]->load(s.ShortcutUser);
    m_TxtShortcutKey[1]->load(s.ShortcutPassword);
    m_TxtShortcutKey[2]->load(s.ShortcutURL);
    m_ChkWinRun->setChecked(s.WinRun);
    m_TxtShortcutKey[3]->load(s.Custom1);
    m_ChkCloseMin->setChecked(s.Custom2 != 0);
    ShortcutCapture::ShiftState = 0;
}

bool FrmSetting::categoriesChanged() const {
    return m_categories->categoriesChanged();
}

void FrmSetting::setShortcutsUnavailable(const QString &why) {
    m_lblNoShortcuts->setText(why);
    m_lblNoShortcuts->setVisible(!why.isEmpty());
}

void FrmSetting::PicSelect_Click(int index) {
    if (index < 0 || index >= kPages)
        return;
    const auto style = [this](int i, bool chosen) {
        static_cast<SelectorEntry *>(m_PicSelect[i])->setSelected(chosen);
        QFont font = m_lblSelect[i]->font();
        font.setBold(chosen);
        m_lblSelect[i]->setFont(font);
        m_lblSelect[i]->setStyleSheet(chosen ? QStringLiteral("color: #0000ff;")
                                             : QStringLiteral("color: #000000;"));
    };
    style(m_CurPage, false);
    style(index, true);
    m_pages->setCurrentIndex(index);
    const QPoint corner = m_PicSelect[index]->mapTo(this, QPoint(m_PicSelect[index]->width(), 1));
    m_PicLine->move(corner.x() - 2, corner.y());
    m_PicLine->raise();
    m_CurPage = index;
}

bool FrmSetting::eventFilter(QObject *watched, QEvent *event) {
    for (int i = 0; i < kPages; ++i) {
        if (watched != m_PicSelect[i])
            continue;
        const bool key = event->type() == QEvent::KeyPress &&
                         (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space);
        if (event->type() == QEvent::MouseButtonPress || key || event->type() == QEvent::FocusIn) {
            PicSelect_Click(i);
            return key || event->type() == QEvent::MouseButtonPress;
        }
    }
    // The box is left only when the focus moves on inside the window: a switch to another
    // application or a context menu gives it back.
    if (watched == m_TxtDay && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            checkDays();
    }
    return QDialog::eventFilter(watched, event);
}

void FrmSetting::checkLockTime() {
    if (m_checking)
        return;
    const QString text = m_TxtMinLock->text();
    if (!text.isEmpty() && !isNumeric(text)) {
        m_checking = true;
        m_services.messages.info(this, tr("请输入正确时间!"));
        m_TxtMinLock->clear();
        m_TxtMinLock->setFocus();
        m_checking = false;
    }
}

void FrmSetting::checkDays() {
    if (m_checking)
        return;
    const QString text = m_TxtDay->text();
    // A negative leading number passes, as the saved value then reads as "no backup".
    if (!text.isEmpty() && !isNumeric(text) && !(leadingNumber(text) < 0)) {
        m_checking = true;
        m_services.messages.info(this, tr("请输入正确天数!"));
        m_TxtDay->clear();
        m_TxtDay->setFocus();
        m_checking = false;
    }
}

void FrmSetting::ImgPath_Click() {
    QString path = m_services.fileDialogs.ShowSaveDialog(
        this, QStringLiteral("备份文件(dat)|*.dat"), m_services.appPath,
        QStringLiteral("SystemDataBackup"), tr("备份文件保存至:"));
    if (path.isEmpty())
        return;
    if (path.right(4).toLower() != QLatin1String(".dat"))
        path += QStringLiteral(".dat");
    const QString dataFile =
        m_services.appPath + QLatin1Char('/') + QLatin1String(datafile::kFileName);
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(dataFile).absoluteFilePath()) {
        m_services.messages.show(this, MessageService::Icon::None,
                                 QCoreApplication::applicationName(),
                                 tr("备份文件不能与数据文件路径一样,请重新选择."), false);
        m_TxtPath->clear();
        return;
    }
    m_TxtPath->setText(QDir::toNativeSeparators(path));
}

void FrmSetting::CmdOK_Click() {
    UserSettings s = m_settings;
    s.AutoBackup = leadingNumber(m_TxtDay->text());
    s.AutoBackupPath = m_TxtPath->text();
    s.AutoCompress = m_ChkCompress->isChecked();
    s.MinLockTime = leadingNumber(m_TxtMinLock->text());
    s.ShowPassword = m_ChkShowPassword->isChecked();
    s.ClearClipboard = m_ChkClearClipboard->isChecked();
    s.ShortcutUser = m_TxtShortcutKey[0]->tag();
    s.ShortcutPassword = m_TxtShortcutKey[1]->tag();
    s.ShortcutURL = m_TxtShortcutKey[2]->tag();
    s.WinRun = m_ChkWinRun->isChecked();
    s.Custom1 = m_TxtShortcutKey[3]->tag();
    s.Custom2 = m_ChkCloseMin->isChecked() ? 1 : 0;
    try {
        // Widths and the last backup date are the main window's; keep the stored ones.
        const UserSettings stored = m_vault.users().settings(m_user);
        s.TypeNameWidth = stored.TypeNameWidth;
        s.AccountNameWidth = stored.AccountNameWidth;
        s.AccountIDWidth = stored.AccountIDWidth;
        s.AccountPasswordWidth = stored.AccountPasswordWidth;
        s.URLWidth = stored.URLWidth;
        s.PriorBackupDate = stored.PriorBackupDate;
        m_vault.users().saveSettings(m_user, s);
    } catch (const std::exception &error) {
        m_services.messages.show(
            this, MessageService::Icon::Critical, tr("提示"),
            tr("设置没有保存.") + QLatin1Char('\n') + QString::fromUtf8(error.what()), false);
        return;
    }
    if (!Autorun().set(s.WinRun, QCoreApplication::applicationFilePath()))
        m_services.messages.info(this, tr("无法写入随系统启动设置,其它设置已保存."));
    accept();
}
