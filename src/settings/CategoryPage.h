#pragma once

#include "core/Services.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class Vault;

// The category page of the settings window: add, rename and delete the user's categories.
// Every change reaches the database at once, each in one transaction.
class CategoryPage : public QWidget {
    Q_OBJECT
public:
    CategoryPage(Vault &vault, const QString &userName, const Services &services,
                 QWidget *parent = nullptr);

    // Whether a category was added, renamed or deleted.
    bool categoriesChanged() const { return !m_TypeChange.isEmpty(); }
    const QString &TypeChange() const { return m_TypeChange; }

    // A name occurring anywhere in the reserved text, the empty name included.
    static bool isReserved(const QString &name);

public slots:
    void CmdAddType_Click();
    void CmdEditType_Click();
    void CmdDeleteType_Click();
    void CmdSaveType_Click();
    void CmdCancelType_Click();

private:
    void fillList();
    void setEditing(bool editing);
    QString selectedName() const;
    bool report(const std::exception &error);

    Vault &m_vault;
    QString m_user;
    Services m_services;
    QString m_TypeAction;
    QString m_TypeChange;

    QListWidget *m_ListAccountType;
    QLineEdit *m_TxtAccountType;
    QPushButton *m_CmdAddType;
    QPushButton *m_CmdEditType;
    QPushButton *m_CmdDeleteType;
    QPushButton *m_CmdSaveType;
    QPushButton *m_CmdCancelType;
};
