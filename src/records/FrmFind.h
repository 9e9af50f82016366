#pragma once

#include "core/Services.h"
#include "records/RecordStore.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// Search by whole field values: the filled-in fields must all match exactly.
class FrmFind : public QDialog {
    Q_OBJECT
public:
    FrmFind(const QStringList &categories, const Services &services, QWidget *parent = nullptr);

    // The search asked for; valid once the window was accepted.
    const FindCriteria &criteria() const { return m_criteria; }

public slots:
    void CmdSave_Click();

private:
    Services m_services;
    FindCriteria m_criteria;
    QComboBox *m_CbAccountType;
    QLineEdit *m_TxtAccountName;
    QLineEdit *m_TxtAccountID;
    QLineEdit *m_TxtRegDate;
    QLineEdit *m_TxtURL;
};
