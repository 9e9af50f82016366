#include "tray/PasteTexts.h"

void PasteTexts::SetPasteTexts(const QString &userId, const QString &password, const QString &url) {
    m_userId = userId;
    m_password = crypto::SecureBytes::fromUtf8(password);
    m_url = url;
}

void PasteTexts::clear() {
    m_userId.clear();
    m_password.clear();
    m_url.clear();
}

QString PasteTexts::password() const {
    return QString::fromUtf8(reinterpret_cast<const char *>(m_password.data()),
                             qsizetype(m_password.size()));
}
