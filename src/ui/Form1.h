#pragma once

#include <QDialog>

class QTextBrowser;

// The member page, a local page shipped with the program; reloaded each time it is activated.
class Form1 : public QDialog {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    QTextBrowser *m_WebBrowser1;
};
