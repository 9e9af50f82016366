#pragma once

#include "core/Services.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Session;
class StrengthMeter;
class Vault;

// Adds, edits or shows one account record.
class FrmData : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Edit, Look };

    // `recordId` is the record shown in Edit and Look; `category` is put into the category box
    // when a record is added (empty: none).
    FrmData(Vault &vault, const Session &session, const Services &services, Mode mode,
            qint64 recordId, const QString &category, QWidget *parent = nullptr);

    // The mode the window ended in: Look becomes Edit when the user switched to editing.
    Mode mode() const { return m_mode; }
    // Whether a category was created here.
    bool categoriesChanged() const { return m_categoriesChanged; }
    qint64 savedId() const { return m_savedId; }

public slots:
    void CmdSave_Click();
    void CmdCancel_Click();
    void CmdEdit_Click();
    void lblNowData_Click();
    void lblOpenURL_Click();
    void lblOther4_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    void setPasswordShown(bool shown);
    void warn(const QString &text, QWidget *focus);

    Vault &m_vault;
    const Session &m_session;
    Services m_services;
    Mode m_mode;
    qint64 m_recordId;
    QString m_category;
    bool m_categoriesChanged = false;
    qint64 m_savedId = 0;

    QComboBox *m_CbAccountType;
    QLineEdit *m_TxtAccountName;
    QLineEdit *m_TxtAccountID;
    QLineEdit *m_TxtAccountPassword;
    QLineEdit *m_TxtRegDate;
    QLineEdit *m_TxtURL;
    QPlainTextEdit *m_TxtRemarks;
    QLabel *m_lblOther4;
    QLabel *m_lblNowData;
    QLabel *m_lblOpenURL;
    StrengthMeter *m_meter;
    QPushButton *m_CmdSave;
    QPushButton *m_CmdCancel;
    QPushButton *m_CmdEdit;
};
