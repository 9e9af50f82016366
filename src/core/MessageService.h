#pragma once

#include <QString>

class QObject;

// Every message box of the program goes through this service, so that tests can answer them.
class MessageService {
public:
    enum class Icon { None, Information, Exclamation, Question, Critical };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageService() = default;

    // An information box titled "提示" with an OK button.
    void info(QObject *parent, const QString &text);
    // A question with Yes and No; Esc answers No.
    bool ask(QObject *parent, const QString &title, const QString &text);

    virtual Answer show(QObject *parent, Icon icon, const QString &title, const QString &text,
                        bool yesNo) = 0;
};
