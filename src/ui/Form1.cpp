#include "ui/Form1.h"

#include <QEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

Form1::Form1(QWidget *parent) : QDialog(parent), m_WebBrowser1(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("会员认证中心，根据提示操作"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    m_WebBrowser1->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_WebBrowser1);
    resize(560, 420);
    m_WebBrowser1->setSource(QUrl(QStringLiteral("qrc:/member.html")));
}

void Form1::changeEvent(QEvent *event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_WebBrowser1->reload();
    QDialog::changeEvent(event);
}
