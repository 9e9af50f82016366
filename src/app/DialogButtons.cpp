#include "app/DialogButtons.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

QPushButton *button(QWidget *parent, const QString &text, const char *name, bool isDefault) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setDefault(isDefault);
    b->setAutoDefault(isDefault);
    return b;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

QLineEdit *lineEdit(QWidget *parent, const char *name, Echo echo, int maxLength) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    if (echo == Echo::Password)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

} // namespace ui
