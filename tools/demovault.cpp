// Writes a demonstration data folder: one user with the given name and login password and N
// account records with Chinese and Latin names, through the program's own start, stores and
// stop, so the folder is exactly what the program would leave. For measuring the program at
// scale beside other password managers:
//
//     ombrivo_demovault FOLDER USER PASSWORD RECORDS
//     OMBRIVO_HOME=FOLDER ombrivo
#include "DemoRecords.h"

#include "core/InstanceLock.h"
#include "records/RecordStore.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/DataFolder.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <optional>

namespace {

QByteArray scrambledTemplate() {
    QFile file(QStringLiteral(":/SystemData.template"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the data-file template is not among the resources");
    return file.readAll();
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    bool counted = false;
    const int records = argc == 5 ? QString::fromLocal8Bit(argv[4]).toInt(&counted) : 0;
    if (argc != 5 || !counted || records < 0) {
        std::fprintf(stderr, "usage: %s FOLDER USER PASSWORD RECORDS\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString user = QString::fromLocal8Bit(argv[2]);
    const QString password = QString::fromLocal8Bit(argv[3]);
    try {
        crypto::init();
        if (!QDir().mkpath(folder))
            throw std::runtime_error("cannot create the folder");
        DataFolder data(folder);
        if (data.lock() != instancelock::Result::Taken)
            throw std::runtime_error("the folder is in use by a running program");
        Vault &vault = data.open(scrambledTemplate());
        // The login password is hashed at the program's own cost.
        vault.users().registerUser(user, password, QDate::currentDate(), folder);
        std::optional<Session> session = vault.users().login(user, password);
        if (!session)
            throw std::runtime_error("the new user cannot log in");
        QRandomGenerator random(42);
        sql::Transaction transaction(vault.connection());
        RecordStore store = vault.records(*session);
        for (int i = 0; i < records; ++i)
            store.add(demo::record(random, i));
        transaction.commit();
        session.reset();
        data.stop();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
    std::printf("%s: %s with %d records\n", argv[1], argv[2], records);
    return 0;
}
