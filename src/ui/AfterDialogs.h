#pragma once

#include <QObject>
#include <functional>

namespace ui {

// Closes every open modal dialog (each answers as its cancel button would) and runs `next` once
// the last of their loops has returned, so that nothing a dialog's code still stands on is
// deleted under it. With no dialog open, `next` runs at once. It does not run when `context`
// goes first. Each call keeps its own `next`: a later request never replaces an earlier one.
void afterDialogs(QObject *context, std::function<void()> next);

// Whether a modal dialog is open.
bool dialogOpen();

} // namespace ui
