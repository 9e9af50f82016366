#pragma once

#include "core/MessageService.h"

// Message boxes on QMessageBox; Enter answers the confirming button, Esc the cancelling one.
class QtMessageService : public MessageService {
public:
    Answer show(QObject *parent, Icon icon, const QString &title, const QString &text,
                bool yesNo) override;
};
