#include "records/FrmAbout.h"

#include "ui/Artwork.h"
#include "ui/DialogButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FrmAbout::FrmAbout(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(tr("关于"));
    setWindowIcon(artwork::appIcon());
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *logo = new QLabel(this);
    logo->setPixmap(artwork::logo(QSize(320, 64)));
    layout->addWidget(logo);
    for (const QString &text : {tr("本软件不含有任何病毒木马程序，绝对也不会窃取任何密码"),
                                tr("软件版本:2011 beta1"), tr("运行环境:Win2000/xp/7")})
        layout->addWidget(new QLabel(text, this));
    QPushButton *CmdReturn = ui::button(this, tr("返回(&R)"), "CmdReturn", true);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(CmdReturn);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(CmdReturn, &QPushButton::clicked, this, &QDialog::reject);
}
