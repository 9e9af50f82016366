#pragma once

#include "core/Services.h"
#include "users/UserSettings.h"

#include <QDialog>

class CategoryPage;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QToolButton;
class ShortcutBox;
class Vault;

// The user's settings on five pages. Settings are written on OK; category changes at once.
class FrmSetting : public QDialog {
    Q_OBJECT
public:
    FrmSetting(Vault &vault, const QString &userName, const Services &services,
               QWidget *parent = nullptr);

    static constexpr int kPages = 5;
    int CurPage() const { return m_CurPage; }
    bool categoriesChanged() const;
    // Shown on the shortcut page when the desktop offers no system-wide keys.
    void setShortcutsUnavailable(const QString &why);

public slots:
    void PicSelect_Click(int index);
    void ImgPath_Click();
    void CmdOK_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *backupPage();
    QWidget *securityPage();
    QWidget *shortcutPage();
    QWidget *otherPage();
    void load();
    void checkLockTime();
    void checkDays();

    Vault &m_vault;
    QString m_user;
    Services m_services;
    UserSettings m_settings;
    int m_CurPage = 0;
    bool m_checking = false;

    QFrame *m_PicSelect[kPages];
    QLabel *m_lblSelect[kPages];
    QStackedWidget *m_pages;
    QFrame *m_PicLine;
    QLineEdit *m_TxtDay;
    QLineEdit *m_TxtPath;
    QToolButton *m_ImgPath;
    QCheckBox *m_ChkCompress;
    QLineEdit *m_TxtMinLock;
    QCheckBox *m_ChkShowPassword;
    QCheckBox *m_ChkClearClipboard;
    ShortcutBox *m_TxtShortcutKey[4];
    QLabel *m_lblNoShortcuts;
    CategoryPage *m_categories;
    QCheckBox *m_ChkCloseMin;
    QCheckBox *m_ChkWinRun;
};
