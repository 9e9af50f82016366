#include "ui/DialogButtons.h"

#include <algorithm>

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>

namespace ui {

namespace {

// Enter on the focused button presses that button, as Space does. Qt's autoDefault would do it
// in a dialog too, but it also makes a focused button the default for good in a window that
// has none (the settings window), and it does nothing for the main window.
class Button : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            event->accept();
            if (!event->isAutoRepeat())
                click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace

QPushButton *button(QWidget *parent, const QString &text, const char *name, bool isDefault) {
    auto *b = new Button(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    // Off for every button, so that the default button stays the one chosen here whatever has
    // the focus: Enter outside a button goes to it.
    b->setAutoDefault(false);
    b->setDefault(isDefault);
    return b;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

namespace {

// `text` without the surrogates that have lost their other half.
QString wholeCharacters(const QString &text) {
    QString whole;
    whole.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            whole.append(c);
            whole.append(text.at(++i));
        } else if (!c.isSurrogate()) {
            whole.append(c);
        }
    }
    return whole;
}

} // namespace

void limitLength(QLineEdit *edit, int maxLength) {
    edit->setMaxLength(maxLength);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        const QString whole = wholeCharacters(text);
        if (whole.size() == text.size())
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(whole);
        edit->setCursorPosition(std::min(cursor, int(whole.size())));
    });
}

namespace {

// The application's style, but a password box hides each character behind a "*" (most styles
// show a dot).
class StarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle *starStyle() {
    static QPointer<StarStyle> style;
    if (!style) {
        style = new StarStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

} // namespace

QLineEdit *lineEdit(QWidget *parent, const char *name, Echo echo, int maxLength) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    limitLength(edit, maxLength);
    if (echo == Echo::Password) {
        edit->setStyle(starStyle());
        edit->setEchoMode(QLineEdit::Password);
    }
    return edit;
}

} // namespace ui
