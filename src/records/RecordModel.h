#pragma once

#include "records/RecordStore.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

// The record list: every record of the user in memory (without any plain password), and the
// rows the list shows now, a category, a quick search or a search result. A password is
// decrypted only when its cell is painted with masking off, or when it is asked for.
class RecordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TypeNameColumn, AccountNameColumn, AccountIDColumn, PasswordColumn, URLColumn };
    static constexpr int kColumns = 5;
    static constexpr char kMask[] = "********";

    using Decrypt = std::function<QString(const QByteArray &)>;
    explicit RecordModel(Decrypt decrypt, QObject *parent = nullptr);

    // Replaces every record; the view then shows all of them in stored order.
    void setRecords(std::vector<ListEntry> records);
    // True: the password column shows the mask.
    void setMaskPasswords(bool mask);
    bool maskPasswords() const { return m_mask; }

    // What the list shows, always in stored order until the next sort.
    void showAll();
    void showCategory(const QString &typeName);
    // Rows whose name, AccountPY, pinyin initials or full pinyin contain `text` literally,
    // letter case ignored. An empty text shows all rows.
    void showMatching(const QString &text);
    void showIds(const std::vector<qint64> &ids);

    // Sorts the rows shown by the texts of one column.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Drops one record from the model without touching the order of the others.
    void removeRecord(qint64 id);

    const ListEntry &entry(int row) const { return m_records[m_rows[std::size_t(row)]]; }
    // The plain password of a row; decrypted now, not kept.
    QString password(int row) const;
    int rowOf(qint64 id) const;
    int recordCount() const { return int(m_records.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    template <typename Keep> void showWhere(Keep keep);
    QString text(std::size_t record, int column) const;

    Decrypt m_decrypt;
    std::vector<ListEntry> m_records; // by id, ascending
    std::vector<std::size_t> m_rows;  // indices into m_records, in display order
    bool m_mask = true;
};
