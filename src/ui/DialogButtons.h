#pragma once

#include <QString>
#include <initializer_list>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {

// A push button with the object name tests find it by. Enter on it while it has the focus
// presses it; Enter anywhere else in its window presses the window's default button.
QPushButton *button(QWidget *parent, const QString &text, const char *name, bool isDefault = false);
// Buttons right-aligned in one row, as every dialog of the program ends.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);

// Limits `edit` to `maxLength` UTF-16 units, as QLineEdit counts, without ever keeping half of a
// character beyond the Basic Multilingual Plane: what is cut at the limit goes whole.
void limitLength(QLineEdit *edit, int maxLength);

enum class Echo { Normal, Password };
// A text box with the object name tests find it by; names and passwords take 50 characters.
// A password box shows a "*" for each character, also when it is switched to Normal and back.
QLineEdit *lineEdit(QWidget *parent, const char *name, Echo echo = Echo::Normal,
                    int maxLength = 50);

} // namespace ui
