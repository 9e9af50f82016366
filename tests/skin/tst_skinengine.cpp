#include "skin/MSkinner.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinToolkit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

using namespace skin;

namespace {

// Side column of the normal, hover and pressed faces, and of the disabled face.
const QRgb kOutline = bgr(0xD58F1B);
const QRgb kOutlineDisabled = bgr(0xE8C387);

int Property(const QWidget *widget, const char *name) {
    return widget->property(name).toInt();
}

QImage Grab(QWidget *widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb SideColumn(QWidget *button) {
    return Grab(button).pixel(0, button->height() / 2);
}

// The pixels of two images of the same size, apart from the four corners the rounded region
// leaves out.
bool SameInside(const QImage &a, const QImage &b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const bool corner = (x == 0 || x == a.width() - 1) && (y == 0 || y == a.height() - 1);
            if (!corner && a.pixel(x, y) != b.pixel(x, y))
                return false;
        }
    return true;
}

void Send(QWidget *widget, QEvent &&event) {
    QCoreApplication::sendEvent(widget, &event);
}

void Enter(QWidget *widget) {
    Send(widget, QEnterEvent(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5))));
}

void Mouse(QWidget *widget, QEvent::Type type) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    Send(widget, QMouseEvent(type, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                             Qt::LeftButton, buttons, Qt::NoModifier));
}

void Key(QWidget *widget, QEvent::Type type) {
    Send(widget, QKeyEvent(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")));
}

// Runs the fade the way its timer would, one step per timer event, and gives the ALPHALEVEL
// each step started from.
QList<int> RunFade(QWidget *button) {
    QList<int> levels;
    for (int guard = 0; Property(button, "TIMERID") != 0 && guard < 1000; ++guard) {
        levels << Property(button, "ALPHALEVEL");
        Send(button, QTimerEvent(Property(button, "TIMERID")));
    }
    return levels;
}

QList<int> Levels(int from) {
    QList<int> levels;
    for (int level = from; level <= 255; level += 3)
        levels << level;
    return levels;
}

// A dialog with one push button of a fixed size, never shown: nothing but the test moves the
// mouse or runs the fade.
struct ButtonWindow {
    ButtonWindow() : button(new QPushButton(QStringLiteral("确定(&O)"), &window)) {
        button->setGeometry(10, 10, 90, 26);
        button->setFocusPolicy(Qt::NoFocus);
    }
    QDialog window;
    QPushButton *button;
};

} // namespace

class TestSkinEngine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void skinsNestedContainers();
    void skinsControlsMadeLater();
    void refusesNullAndSecondAttach();
    void destroyedWidgetsAreForgotten();
    void lastWindowFreesTheBitmapsAndNextRebuildsThem();
    void secondWindowKeepsTheBitmaps();
    void detachUndoesEverything();
    void graphicalButtonKeepsItsOwnPainting();

    void messageBoxGetsSkinnedButtons_data();
    void messageBoxGetsSkinnedButtons();
    void windowActivatedOverASkinnedOneIsSkinned();
    void dropDownListIsSkinnedWhenShown();

    void idleButtonRunsNoTimer();
    void fadeSteps_data();
    void fadeSteps();
    void pressShowsThePressedFaceAtOnce();
    void disabledButtonKeepsState3UntilEnabled_data();
    void disabledButtonKeepsState3UntilEnabled();
};

void TestSkinEngine::initTestCase() {
    QCursor::setPos(-1000, -1000); // no window ever lies under the mouse by chance
}

void TestSkinEngine::cleanup() {
    // every window of a test is gone again, and so is everything the skin held for it
    QCOMPARE(SkinnedCount(), 0);
    QVERIFY(!Surfaces());
}

void TestSkinEngine::skinsNestedContainers() {
    QDialog window;
    auto *group = new QGroupBox(QStringLiteral("分组"), &window);
    auto *inner = new QWidget(group);
    auto *button = new QPushButton(QStringLiteral("确定"), inner);
    auto *check = new QCheckBox(QStringLiteral("记住"), inner);
    QCOMPARE(SkinWindow(&window), 1);
    for (QWidget *widget : {static_cast<QWidget *>(&window), static_cast<QWidget *>(group), inner,
                            static_cast<QWidget *>(button), static_cast<QWidget *>(check)})
        QVERIFY2(IsSkinned(widget), widget->metaObject()->className());
    QCOMPARE(SkinnedCount(), 5);
}

void TestSkinEngine::skinsControlsMadeLater() {
    QDialog window;
    SkinWindow(&window);
    auto *page = new QWidget(&window);
    auto *button = new QPushButton(QStringLiteral("后来"), page);
    page->ensurePolished(); // as showing it would
    QVERIFY(IsSkinned(page));
    QVERIFY(IsSkinned(button));
}

void TestSkinEngine::refusesNullAndSecondAttach() {
    QCOMPARE(SkinWindow(nullptr), 0);
    QCOMPARE(AttachSkin(nullptr), 0);
    QVERIFY(!DetachSkin(nullptr));
    QDialog window;
    QCOMPARE(SkinWindow(&window), 1);
    QCOMPARE(SkinWindow(&window), 0);
    QCOMPARE(AttachSkin(&window), 0);
    QCOMPARE(SkinnedCount(), 1);
}

void TestSkinEngine::destroyedWidgetsAreForgotten() {
    QDialog window;
    auto *button = new QPushButton(&window);
    SkinWindow(&window);
    QCOMPARE(SkinnedCount(), 2);
    delete button;
    QCOMPARE(SkinnedCount(), 1);
}

void TestSkinEngine::lastWindowFreesTheBitmapsAndNextRebuildsThem() {
    QVERIFY(!SkinInitialized());
    auto *window = new QDialog;
    window->setAttribute(Qt::WA_DeleteOnClose);
    new QPushButton(QStringLiteral("确定"), window);
    SkinWindow(window);
    QVERIFY(SkinInitialized());
    QVERIFY(Surfaces());
    window->show();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(SkinnedCount(), 0);
    QVERIFY(!SkinInitialized());
    QVERIFY(!Surfaces());

    QDialog next;
    auto *button = new QPushButton(QStringLiteral("确定"), &next);
    button->resize(80, 24);
    QCOMPARE(SkinWindow(&next), 1);
    QVERIFY(SkinInitialized());
    QVERIFY(Surfaces());
    QCOMPARE(Surfaces()->ButtonFaces.size(), kButtonFacesSize);
    QCOMPARE(SideColumn(button), kOutline);
}

void TestSkinEngine::secondWindowKeepsTheBitmaps() {
    QDialog first;
    auto *second = new QDialog;
    SkinWindow(&first);
    SkinWindow(second);
    delete second;
    QVERIFY(Surfaces());
    QCOMPARE(SkinnedCount(), 1);
}

void TestSkinEngine::detachUndoesEverything() {
    ButtonWindow skinned;
    ButtonWindow plain;
    const QImage unskinned = Grab(plain.button);
    QCOMPARE(Grab(skinned.button), unskinned);
    SkinWindow(&skinned.window);
    QVERIFY(Grab(skinned.button) != unskinned);
    Enter(skinned.button); // a fade is running
    Enter(plain.button);
    QVERIFY(Property(skinned.button, "TIMERID") != 0);

    QVERIFY(DetachSkin(&skinned.window));
    QVERIFY(!DetachSkin(&skinned.window));
    QCOMPARE(SkinnedCount(), 0);
    QVERIFY(!Surfaces());
    for (const char *name : {"MOUSEFLAG", "OLDSTATE", "ALPHALEVEL", "TIMERID", "HDC0", "HDC3"})
        QVERIFY2(!skinned.button->property(name).isValid(), name);
    QVERIFY(skinned.button->mask().isEmpty());
    QCOMPARE(Grab(skinned.button), Grab(plain.button));
    Send(skinned.button, QTimerEvent(1)); // nothing fades any more
    QCOMPARE(Grab(skinned.button), Grab(plain.button));
}

void TestSkinEngine::graphicalButtonKeepsItsOwnPainting() {
    ButtonWindow skinned;
    ButtonWindow plain;
    skinned.button->setFlat(true);
    plain.button->setFlat(true);
    SkinWindow(&skinned.window);
    QVERIFY(SameInside(Grab(skinned.button), Grab(plain.button)));
    Enter(skinned.button);
    Enter(plain.button);
    QCOMPARE(Property(skinned.button, "TIMERID"), 0); // nothing to fade
    QVERIFY(SameInside(Grab(skinned.button), Grab(plain.button)));
}

void TestSkinEngine::messageBoxGetsSkinnedButtons_data() {
    QTest::addColumn<bool>("parented");
    QTest::newRow("message box of the window") << true;
    QTest::newRow("message box without a parent") << false;
}

void TestSkinEngine::messageBoxGetsSkinnedButtons() {
    QFETCH(bool, parented);
    QDialog window;
    new QPushButton(QStringLiteral("保存"), &window);
    SkinWindow(&window);
    window.show();
    QList<bool> skinned;
    QList<QRgb> sides;
    QTimer::singleShot(0, &window, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton *button : box->buttons()) {
            skinned << IsSkinned(button);
            sides << SideColumn(button);
        }
        box->done(QMessageBox::No);
    });
    QMessageBox::question(parented ? &window : nullptr, QStringLiteral("提示"),
                          QStringLiteral("是否退出系统？"), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(skinned, QList<bool>({true, true}));
    QCOMPARE(sides, QList<QRgb>({kOutline, kOutline}));
}

void TestSkinEngine::windowActivatedOverASkinnedOneIsSkinned() {
    QDialog window;
    SkinWindow(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QDialog other; // no parent: found only because it became active over a skinned window
    auto *button = new QPushButton(QStringLiteral("关于"), &other);
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(IsSkinned(&other));
    QVERIFY(IsSkinned(button));
}

void TestSkinEngine::dropDownListIsSkinnedWhenShown() {
    QDialog window;
    auto *combo = new QComboBox(&window);
    combo->addItems({QStringLiteral("工商银行"), QStringLiteral("支付宝")});
    SkinWindow(&window);
    window.show();
    combo->showPopup();
    QWidget *list = combo->view()->window();
    QVERIFY(list != &window);
    QVERIFY(list->isVisible());
    QVERIFY(IsSkinned(list));
    QVERIFY(IsSkinned(combo->view()));
    combo->hidePopup();
}

void TestSkinEngine::idleButtonRunsNoTimer() {
    ButtonWindow w;
    SkinWindow(&w.window);
    QCOMPARE(Property(w.button, "TIMERID"), 0);
    QCOMPARE(Property(w.button, "OLDSTATE"), 0);
    QCOMPARE(Property(w.button, "MOUSEFLAG"), 0);
}

void TestSkinEngine::fadeSteps_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("state");
    QTest::newRow("mouse enters: hover face from 0") << "enter" << 0 << 1;
    QTest::newRow("mouse leaves: normal face from 0") << "leave" << 0 << 0;
    QTest::newRow("button released: normal face from 60") << "release" << 60 << 0;
    QTest::newRow("space released: normal face from 0") << "space" << 0 << 0;
    QTest::newRow("focus changes: same face from 0") << "focus" << 0 << 0;
}

void TestSkinEngine::fadeSteps() {
    QFETCH(QString, action);
    QFETCH(int, from);
    QFETCH(int, state);
    ButtonWindow w;
    SkinWindow(&w.window);
    QPushButton *button = w.button;
    if (action == "enter") {
        Enter(button);
        QCOMPARE(Property(button, "MOUSEFLAG"), 1);
    } else if (action == "leave") {
        Enter(button);
        RunFade(button);
        Send(button, QEvent(QEvent::Leave));
        QCOMPARE(Property(button, "MOUSEFLAG"), 0);
    } else if (action == "release") {
        Enter(button);
        Mouse(button, QEvent::MouseButtonPress);
        Mouse(button, QEvent::MouseButtonRelease);
    } else if (action == "space") {
        Key(button, QEvent::KeyPress);
        Key(button, QEvent::KeyRelease);
    } else {
        Send(button, QFocusEvent(QEvent::FocusIn));
    }
    QVERIFY(Property(button, "TIMERID") != 0);
    const QList<int> levels = RunFade(button);
    QCOMPARE(levels, Levels(from));
    QCOMPARE(levels.size(), from == 60 ? 66 : 86);
    // the timer is gone once the fade is through, and the face is the state's own
    QCOMPARE(Property(button, "TIMERID"), 0);
    QCOMPARE(Property(button, "ALPHALEVEL"), 0);
    QCOMPARE(Property(button, "OLDSTATE"), state);
    const QImage face = button->property(state == 1 ? "HDC1" : "HDC0").value<QImage>();
    QVERIFY(SameInside(Grab(button), face));
}

void TestSkinEngine::pressShowsThePressedFaceAtOnce() {
    ButtonWindow w;
    SkinWindow(&w.window);
    Enter(w.button);
    Mouse(w.button, QEvent::MouseButtonPress);
    QCOMPARE(Property(w.button, "OLDSTATE"), 2);
    QCOMPARE(Property(w.button, "TIMERID"), 0);
    QVERIFY(SameInside(Grab(w.button), w.button->property("HDC2").value<QImage>()));
    QCOMPARE(Grab(w.button).pixel(1, w.button->height() / 2), bgr(0xF9B937));
    Mouse(w.button, QEvent::MouseButtonRelease);
}

void TestSkinEngine::disabledButtonKeepsState3UntilEnabled_data() {
    QTest::addColumn<bool>("beforeSkinning");
    QTest::newRow("disabled before skinning") << true;
    QTest::newRow("disabled while the hover fades in") << false;
}

void TestSkinEngine::disabledButtonKeepsState3UntilEnabled() {
    QFETCH(bool, beforeSkinning);
    ButtonWindow w;
    QPushButton *button = w.button;
    if (beforeSkinning)
        button->setEnabled(false);
    SkinWindow(&w.window);
    if (!beforeSkinning) {
        Enter(button);
        Send(button, QTimerEvent(Property(button, "TIMERID")));
        button->setEnabled(false);
    }
    QCOMPARE(Property(button, "OLDSTATE"), 3);
    QCOMPARE(Property(button, "TIMERID"), 0);
    QCOMPARE(SideColumn(button), kOutlineDisabled);

    // nothing the mouse or the keyboard does changes it
    Enter(button);
    Mouse(button, QEvent::MouseButtonPress);
    Mouse(button, QEvent::MouseButtonRelease);
    Key(button, QEvent::KeyRelease);
    Send(button, QEvent(QEvent::Leave));
    RunFade(button);
    QCOMPARE(Property(button, "OLDSTATE"), 3);
    QCOMPARE(SideColumn(button), kOutlineDisabled);

    button->setEnabled(true);
    QCOMPARE(Property(button, "OLDSTATE"), 0);
    QCOMPARE(SideColumn(button), kOutline);
}

QTEST_MAIN(TestSkinEngine)
#include "tst_skinengine.moc"
