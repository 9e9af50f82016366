#pragma once

#include "core/Services.h"
#include "users/UserSettings.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;
class RecordModel;
class Session;
class Vault;

// The main window of a logged-in user: his categories as a tree, the records of the chosen
// category as a list, the record commands and the quick search. Closing it ends the program.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain(Vault &vault, std::shared_ptr<Session> session, const Services &services,
            QWidget *parent = nullptr);
    ~FrmMain() override;

    // True while one of this window's modal windows is open; global keys leave it alone then.
    bool isModalOpen() const { return m_modalOpen; }
    RecordModel *records() const { return m_model; }
    QTableView *listView() const { return m_ListViewUser; }
    QMenu *listMenu() const { return m_listMenu; }

    // Rebuilds the tree when the categories changed; the root ends up selected.
    void IsAddType(bool categoriesChanged);
    // Reloads the records and shows those of the selected tree node.
    void RequeryData();

public slots:
    void CmdAdd_Click();
    void CmdEdit_Click();
    void CmdLook_Click();
    void CmdDel_Click();
    void CmdFind_Click();
    void CmdAbout_Click();
    void showMemberPage();

signals:
    // The window went away: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTree();
    void showNode(QTreeWidgetItem *node);
    void refill(const std::function<void()> &show);
    void headerClicked(int section);
    void popUpListMenu(const QPoint &globalPos);
    int selectedRow() const;
    bool runModal(QDialog &dialog);
    void copyField(int column);
    void applyColumnWidths();

    Vault &m_vault;
    std::shared_ptr<Session> m_session;
    Services m_services;
    UserSettings m_settings;
    bool m_modalOpen = false;
    bool m_buildingTree = false;
    int m_SortColumn = 0;

    QTreeWidget *m_TreeViewType;
    QTableView *m_ListViewUser;
    RecordModel *m_model;
    QLineEdit *m_TxtFindData;
    QPushButton *m_CmdFind;
    QPushButton *m_CmdQuit;
    QLabel *m_Label1;
    QMenu *m_listMenu;
};
