#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class Vault;
class Session;

// One account record. The password stays sealed under the user's data key; the session
// decrypts it only when it is shown, copied or typed.
struct Record {
    QString TypeName;
    QString AccountName;
    QString AccountPY;
    QString AccountID;
    QByteArray AccountPassword;
    QString RegDate; // "yyyy-MM-dd" or empty
    QString URL;
    QString Remarks;
};

// The records of the session's user.
class RecordStore {
public:
    RecordStore(Vault &vault, const Session &session) : m_vault(vault), m_session(session) {}

    // Seals `plainPassword` and writes the record.
    void add(Record record, const QString &plainPassword);
    std::vector<Record> all();
    std::vector<Record> inCategory(const QString &typeName);
    QString password(const Record &record) const;

private:
    std::vector<Record> query(const char *sqlText, const QString *typeName);
    Vault &m_vault;
    const Session &m_session;
};
