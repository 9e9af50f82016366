// What the skin costs. A window laid out like the main window (category tree, a record list of
// 100,000 rows with its header, search box, buttons, combo and check boxes), plain (arg 0) or
// skinned (arg 1): scrolling the list and repainting, grabbing the whole window, moving the mouse
// over the controls; and the skin's own work: one fade step, skinning and unskinning the window.
#include "skin/MSkinner.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTimerEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// 100,000 records, made up as they are asked for.
class Records : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : 100000;
    }
    int columnCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : 5;
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        const int row = index.row();
        switch (index.column()) {
        case 0:
            return QStringLiteral("招商银行%1").arg(row);
        case 1:
            return QStringLiteral("user%1@example.com").arg(row);
        case 2:
            return QStringLiteral("******");
        case 3:
            return QStringLiteral("2020-01-%1").arg(1 + row % 28, 2, 10, QLatin1Char('0'));
        default:
            return QStringLiteral("https://www.example%1.com/login").arg(row % 500);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const char16_t *const names[] = {u"账号名称", u"用户ID", u"密码", u"注册日期",
                                                u"网址"};
        return QString::fromUtf16(names[section]);
    }
};

struct Window {
    explicit Window(bool skinned) {
        auto *layout = new QVBoxLayout(&window);
        auto *search = new QHBoxLayout;
        search->addWidget(new QLineEdit);
        search->addWidget(new QComboBox);
        search->addWidget(new QCheckBox(QStringLiteral("显示密码")));
        layout->addLayout(search);
        auto *splitter = new QSplitter;
        auto *tree = new QTreeWidget;
        tree->setHeaderHidden(true);
        for (int i = 0; i < 10; ++i)
            new QTreeWidgetItem(tree, {QStringLiteral("类别%1").arg(i)});
        splitter->addWidget(tree);
        list = new QTableView;
        list->setModel(&records);
        list->verticalHeader()->hide();
        list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        list->verticalHeader()->setDefaultSectionSize(22);
        splitter->addWidget(list);
        layout->addWidget(splitter, 1);
        auto *buttons = new QHBoxLayout;
        for (const char16_t *name :
             {u"添加", u"编辑", u"删除", u"查看", u"设置", u"工具", u"退出"}) {
            auto *button = new QPushButton(QString::fromUtf16(name));
            buttons->addWidget(button);
            controls << button;
        }
        layout->addLayout(buttons);
        window.resize(820, 520);
        if (skinned)
            SkinWindow(&window);
        window.show();
        QApplication::processEvents();
    }
    Records records;
    QWidget window;
    QTableView *list = nullptr;
    QList<QWidget *> controls;
};

void BM_ScrollAndRepaint(benchmark::State &state) {
    Window w(state.range(0) != 0);
    QScrollBar *bar = w.list->verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value = (value + bar->pageStep()) % bar->maximum();
        bar->setValue(value);
        w.window.repaint();
    }
    state.SetLabel(state.range(0) ? "skinned" : "plain");
}
BENCHMARK(BM_ScrollAndRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GrabWindow(benchmark::State &state) {
    Window w(state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(w.window.grab());
    state.SetLabel(state.range(0) ? "skinned" : "plain");
}
BENCHMARK(BM_GrabWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Mouse moves over every button: the event filter's share of input handling.
void BM_MouseOverButtons(benchmark::State &state) {
    Window w(state.range(0) != 0);
    for (auto _ : state)
        for (QWidget *control : w.controls) {
            QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), control->mapToGlobal(QPointF(5, 5)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(control, &move);
        }
    state.SetLabel(state.range(0) ? "skinned" : "plain");
}
BENCHMARK(BM_MouseOverButtons)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One step of a hover fade: a blend into the button's face and the repaint of the button.
void BM_FadeStep(benchmark::State &state) {
    Window w(true);
    QWidget *button = w.controls.first();
    for (auto _ : state) {
        if (button->property("TIMERID").toInt() == 0) {
            QEvent leave(QEvent::Leave); // starts the next fade
            QCoreApplication::sendEvent(button, &leave);
        }
        QTimerEvent step(button->property("TIMERID").toInt());
        QCoreApplication::sendEvent(button, &step);
        button->repaint();
    }
}
BENCHMARK(BM_FadeStep)->Unit(benchmark::kMicrosecond);

void BM_SkinAndUnskinWindow(benchmark::State &state) {
    Window w(false);
    for (auto _ : state) {
        SkinWindow(&w.window);
        DetachSkin(&w.window);
    }
}
BENCHMARK(BM_SkinAndUnskinWindow)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
