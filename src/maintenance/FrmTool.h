#pragma once

#include "core/Services.h"

#include <QDialog>

class GlobalKeys;
class Session;
class Vault;

// The maintenance commands: backup, restore, compaction, clearing the clipboard, and the
// user's own name, password and deletion.
class FrmTool : public QDialog {
    Q_OBJECT
public:
    FrmTool(Vault &vault, Session &session, const Services &services, GlobalKeys *globalKeys,
            QWidget *parent = nullptr);

    // A restore replaced the user's data: the main window rebuilds its tree and list.
    bool restored() const { return m_restored; }
    bool userRenamed() const { return m_renamed; }
    // The user deleted himself: the program ends without its exit question.
    bool userDeleted() const { return m_deleted; }

signals:
    // Sent as soon as the window that did it has closed, while this one stays open, so that the
    // main window shows the restored data and the new name at once.
    void dataRestored();
    void userNameChanged();

public slots:
    void CmdBackup_Click();
    void CmdResume_Click();
    void CmdCompress_Click();
    void CmdEmpty_Click();
    void openUserWindow(int mode);

private:
    QString withDatExtension(QString path) const;

    Vault &m_vault;
    Session &m_session;
    Services m_services;
    GlobalKeys *m_globalKeys;
    bool m_restored = false;
    bool m_renamed = false;
    bool m_deleted = false;
};
