#pragma once

#include "core/Clipboard.h"

class QtClipboard : public Clipboard {
public:
    void setText(const QString &text) override;
    void setSecretText(const QString &text) override;
    QString text() const override;
    void clear() override;
};

class QtDesktop : public Desktop {
public:
    bool open(const QString &target) override;
};
