#pragma once

#include "core/Services.h"
#include "users/UserSettings.h"

#include "users/FrmLoosenLock.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTreeWidget;
class QTimer;
class QTreeWidgetItem;
class AutoLock;
class FrmLoosenLock;
class FrmTrayMenu;
class GlobalKeys;
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
    QMenu *listMenu() const;
    FrmTrayMenu *trayMenu() const { return m_trayMenu; }
    AutoLock *autoLock() const { return m_autoLock; }
    FrmLoosenLock *unlockWindow() const { return m_unlock; }
    GlobalKeys *globalKeys() const { return m_globalKeys.get(); }
    const UserSettings &settings() const { return m_settings; }

    // The lock: while set, bringing the window back asks for the login password first, and
    // the session holds no key and the list no record.
    bool IsLock() const { return m_IsLock; }
    void lock();
    // What a click on the tray icon and "显示主界面" do: show the window, or the unlock window
    // while locked.
    void showFromTray();
    // The user was deleted: the window closes without the exit question.
    void setLoggingOut(bool loggingOut) { m_IsLogout = loggingOut; }
    // Runs `next` now, or, while a dialog is open (one of this window's, or a message box),
    // closes the dialogs and runs `next` once they have all returned: nothing may end or replace
    // this window while a dialog's code is still on the stack.
    void whenNoModal(std::function<void()> next);
    // Whether the clipboard is to be emptied when the program ends.
    bool clearClipboardOnExit() const { return m_settings.ClearClipboard; }

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
    void CmdSet_Click();
    void CmdTool_Click();
    // The boss key: hide to the tray, or come back (through the unlock window when locked).
    void bossKey();
    void showMemberPage();

signals:
    // The window went away: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs one call of a store. A failure is shown as `failure` with its reason and gives
    // false, so that no tree or list is ever left empty without a word.
    bool storeCall(const QString &failure, const std::function<void()> &call);
    void buildTree();
    // Lists the records of the current node.
    void showNode();
    // Reads the records again and shows what the list showed: the node, the quick search or
    // the search result.
    void showList();
    // The list's sort and selected record, to be put back after the list was emptied.
    struct ListState {
        bool sorted = false;
        int sortSection = 0;
        Qt::SortOrder sortOrder = Qt::AscendingOrder;
        qint64 selectedId = -1;
    };
    ListState listState() const;
    void restoreListState(const ListState &state);
    bool bringModalForward();
    void quitFromTray();
    void refill(const std::function<void()> &show);
    void headerClicked(int section);
    void popUpListMenu(const QPoint &globalPos);
    int selectedRow() const;
    bool runModal(QDialog &dialog);
    void copyField(int column);
    void applyColumnWidths();
    void saveColumnWidths();
    bool reloadSettings();
    void autoBackup();
    void connectMenus();
    void lockFromMenu();
    void openHelp();
    void copyForShortcuts();
    QStringList shortcutTexts() const;

    Vault &m_vault;
    std::shared_ptr<Session> m_session;
    Services m_services;
    UserSettings m_settings;
    bool m_modalOpen = false;
    bool m_buildingTree = false;
    // What decides the rows of the list: the selected node, the quick-search text or the
    // multi-field search's result.
    enum class ListSource { Node, QuickSearch, Found };
    ListSource m_listSource = ListSource::Node;
    std::vector<qint64> m_foundIds;
    ListState m_stateAtLock;
    QTreeWidgetItem *m_nodeAtPress = nullptr;
    QPointer<QDialog> m_modal;
    QPointer<QWidget> m_memberPage;
    int m_SortColumn = 0;
    bool m_IsLock = false;
    bool m_IsLogout = false;
    bool m_trayMissingTold = false;
    std::unique_ptr<GlobalKeys> m_globalKeys;

    QTreeWidget *m_TreeViewType;
    QTableView *m_ListViewUser;
    RecordModel *m_model;
    QLineEdit *m_TxtFindData;
    QPushButton *m_CmdFind;
    QPushButton *m_CmdQuit;
    QLabel *m_Label1;
    FrmTrayMenu *m_trayMenu;
    AutoLock *m_autoLock;
    QPointer<FrmLoosenLock> m_unlock;
};
