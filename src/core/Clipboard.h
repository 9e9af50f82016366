#pragma once

#include <QString>

// The system clipboard and the desktop's "open this" action, injectable so that tests neither
// touch the real clipboard nor start a browser.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &text) = 0;
    // A password: clipboard managers are told not to keep it in their history.
    virtual void setSecretText(const QString &text) { setText(text); }
    virtual QString text() const = 0;
    virtual void clear() = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a web address or a file with the program the desktop associates with it.
    virtual bool open(const QString &target) = 0;
};
