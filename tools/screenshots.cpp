// Renders every window of the program over a small demonstration vault into PNG files, for the
// README. Run: ./build/tools/ombrivo_screenshots docs/screenshots
#include "TestServices.h"

#include "maintenance/FrmTool.h"
#include "records/FrmAbout.h"
#include "records/FrmData.h"
#include "records/FrmFind.h"
#include "records/FrmMain.h"
#include "records/RecordStore.h"
#include "settings/FrmSetting.h"
#include "users/FrmLogin.h"
#include "users/FrmLoosenLock.h"
#include "users/FrmNewUser.h"
#include "users/FrmUser.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <cstdio>

namespace {

void save(QWidget &window, const QString &folder, const char *name) {
    window.show();
    QApplication::processEvents();
    window.grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    window.hide();
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    TestEnvironment env;
    Vault::create(env.dataFile());
    auto vault = Vault::open(env.dataFile());
    vault->setKdfParams(crypto::KdfParams::minimal());
    const QString user = QStringLiteral("张三");
    vault->users().registerUser(user, QStringLiteral("demo-password"), QDate(2026, 1, 1),
                                env.folder.path());
    auto session =
        std::make_shared<Session>(*vault->users().login(user, QStringLiteral("demo-password")));
    RecordStore records = vault->records(*session);
    const struct {
        const char *type, *name, *id, *url;
    } demo[] = {
        {"银行帐号", "招商银行", "zhangsan01", "https://www.cmbchina.com"},
        {"网站帐号", "哔哩哔哩", "zhangsan_bili", "https://www.bilibili.com"},
        {"邮箱帐号", "QQ邮箱", "10001", "https://mail.qq.com"},
        {"网站帐号", "GitHub", "zhangsan", "https://github.com"},
        {"游戏帐号", "Steam", "zs_gamer", "https://store.steampowered.com"},
    };
    for (const auto &d : demo)
        records.add({QString::fromUtf8(d.type),
                     QString::fromUtf8(d.name),
                     QString::fromUtf8(d.id),
                     QStringLiteral("s3cret!"),
                     QStringLiteral("2020-05-01"),
                     QString::fromUtf8(d.url),
                     {}});
    env.settings.setLastUser(user);
    const Services services = env.services();

    FrmLogin login(*vault, services);
    save(login, folder, "login");
    FrmNewUser registration(*vault, services);
    save(registration, folder, "register");
    FrmMain main(*vault, session, services);
    main.resize(860, 480);
    save(main, folder, "main");
    FrmData editor(*vault, *session, services, FrmData::Mode::Look, records.list().front().id, {});
    save(editor, folder, "record");
    FrmFind find({}, services);
    save(find, folder, "search");
    FrmSetting settings(*vault, user, services);
    save(settings, folder, "settings");
    FrmTool tools(*vault, *session, services, nullptr);
    save(tools, folder, "tools");
    // The user and about windows take the skin from the window they open over.
    main.show();
    FrmUser password(*vault, *session, services, FrmUser::Mode::EditPassword, &main);
    save(password, folder, "password");
    FrmLoosenLock unlock(*vault, *session, services);
    save(unlock, folder, "unlock");
    FrmAbout about(&main);
    save(about, folder, "about");
    return 0;
}
