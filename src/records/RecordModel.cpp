#include "records/RecordModel.h"

#include <algorithm>

RecordModel::RecordModel(Decrypt decrypt, QObject *parent)
    : QAbstractTableModel(parent), m_decrypt(std::move(decrypt)) {}

void RecordModel::setRecords(std::vector<ListEntry> records) {
    beginResetModel();
    m_records = std::move(records);
    std::sort(m_records.begin(), m_records.end(),
              [](const ListEntry &a, const ListEntry &b) { return a.id < b.id; });
    m_rows.resize(m_records.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i] = i;
    endResetModel();
}

void RecordModel::setMaskPasswords(bool mask) {
    if (mask == m_mask)
        return;
    m_mask = mask;
    if (!m_rows.empty())
        emit dataChanged(index(0, PasswordColumn), index(rowCount() - 1, PasswordColumn));
}

template <typename Keep> void RecordModel::showWhere(Keep keep) {
    beginResetModel();
    m_rows.clear();
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (keep(m_records[i]))
            m_rows.push_back(i);
    endResetModel();
}

void RecordModel::showAll() {
    showWhere([](const ListEntry &) { return true; });
}

void RecordModel::showCategory(const QString &typeName) {
    showWhere([&](const ListEntry &e) { return e.TypeName == typeName; });
}

void RecordModel::showMatching(const QString &text) {
    if (text.isEmpty()) {
        showAll();
        return;
    }
    const QString needle = text.toLower();
    showWhere([&](const ListEntry &e) { return e.searchText.contains(needle); });
}

void RecordModel::showIds(const std::vector<qint64> &ids) {
    showWhere([&](const ListEntry &e) { return std::binary_search(ids.begin(), ids.end(), e.id); });
}

QString RecordModel::text(std::size_t record, int column) const {
    const ListEntry &e = m_records[record];
    switch (column) {
    case TypeNameColumn:
        return e.TypeName;
    case AccountNameColumn:
        return e.AccountName;
    case AccountIDColumn:
        return e.AccountID;
    case PasswordColumn:
        if (m_mask)
            return QString::fromLatin1(kMask);
        try {
            return m_decrypt(e.AccountPassword);
        } catch (const std::exception &) {
            return tr("(无法解密)");
        }
    case URLColumn:
        return e.URL;
    default:
        return {};
    }
}

void RecordModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kColumns)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> records;
    for (const QModelIndex &index : before)
        records.push_back(m_rows[std::size_t(index.row())]);
    std::vector<QString> keys(m_records.size());
    for (std::size_t record : m_rows)
        keys[record] = text(record, column);
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](std::size_t a, std::size_t b) {
        const int c = keys[a].compare(keys[b], Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QModelIndexList after;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto it = std::find(m_rows.begin(), m_rows.end(), records[i]);
        after << index(int(it - m_rows.begin()), before[int(i)].column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RecordModel::removeRecord(qint64 id) {
    const auto it = std::lower_bound(m_records.begin(), m_records.end(), id,
                                     [](const ListEntry &e, qint64 value) { return e.id < value; });
    if (it == m_records.end() || it->id != id)
        return;
    const std::size_t record = std::size_t(it - m_records.begin());
    const int row = rowOf(id);
    if (row >= 0)
        beginRemoveRows({}, row, row);
    m_records.erase(it);
    if (row >= 0)
        m_rows.erase(m_rows.begin() + row);
    for (std::size_t &r : m_rows)
        if (r > record)
            --r;
    if (row >= 0)
        endRemoveRows();
}

QString RecordModel::password(int row) const {
    return m_decrypt(entry(row).AccountPassword);
}

int RecordModel::rowOf(qint64 id) const {
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_records[m_rows[i]].id == id)
            return int(i);
    return -1;
}

int RecordModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecordModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant RecordModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    if (role == Qt::ToolTipRole && index.column() == PasswordColumn)
        return {};
    return text(m_rows[std::size_t(index.row())], index.column());
}

QVariant RecordModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TypeNameColumn:
        return tr("帐号分类");
    case AccountNameColumn:
        return tr("帐号名称");
    case AccountIDColumn:
        return tr("用户名");
    case PasswordColumn:
        return tr("密码");
    case URLColumn:
        return tr("网址");
    default:
        return {};
    }
}
