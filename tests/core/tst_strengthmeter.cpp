#include "ui/StrengthMeter.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 255, 0);

} // namespace

class TestStrengthMeter : public QObject {
    Q_OBJECT

private slots:
    void startsWeakOnRed();
    void ratesEachPassword_data();
    void ratesEachPassword();
    void levelZeroKeepsWhatWasShown();
    void followsTypingInAPasswordBox();
};

static QColor fillOf(const QFrame *shape) {
    return shape->palette().color(QPalette::Window);
}

void TestStrengthMeter::startsWeakOnRed() {
    StrengthMeter meter;
    auto *label = meter.findChild<QLabel *>(QStringLiteral("lblStrength"));
    auto *shape = meter.findChild<QFrame *>(QStringLiteral("ShapePass"));
    QVERIFY(label);
    QVERIFY(shape);
    QCOMPARE(label->text(), QStringLiteral("弱"));
    QCOMPARE(fillOf(shape), kRed);
    QVERIFY(shape->autoFillBackground());
    QCOMPARE(meter.word(), QStringLiteral("弱"));
    QCOMPARE(meter.colour(), kRed);
}

void TestStrengthMeter::ratesEachPassword_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("empty") << QString() << QStringLiteral("弱") << kRed;
    QTest::newRow("six letters") << QStringLiteral("abcdef") << QStringLiteral("弱") << kRed;
    QTest::newRow("letters and digits")
        << QStringLiteral("abc123") << QStringLiteral("中") << kYellow;
    QTest::newRow("ten letters") << QStringLiteral("abcdefghij") << QStringLiteral("中") << kYellow;
    QTest::newRow("three classes") << QStringLiteral("abc12!") << QStringLiteral("强") << kGreen;
    QTest::newRow("sixteen letters")
        << QStringLiteral("abcdefghijklmnop") << QStringLiteral("强") << kGreen;
}

void TestStrengthMeter::ratesEachPassword() {
    QFETCH(QString, password);
    QFETCH(QString, word);
    QFETCH(QColor, colour);

    StrengthMeter meter;
    meter.setPassword(QStringLiteral("abc12!")); // start from another state than the initial one
    meter.setPassword(password);
    QCOMPARE(meter.findChild<QLabel *>(QStringLiteral("lblStrength"))->text(), word);
    QCOMPARE(fillOf(meter.findChild<QFrame *>(QStringLiteral("ShapePass"))), colour);
    QCOMPARE(meter.word(), word);
    QCOMPARE(meter.colour(), colour);
}

void TestStrengthMeter::levelZeroKeepsWhatWasShown() {
    StrengthMeter meter;
    meter.setPassword(QStringLiteral("______")); // level 0 right from the start
    QCOMPARE(meter.word(), QStringLiteral("弱"));
    QCOMPARE(meter.colour(), kRed);

    meter.setPassword(QStringLiteral("abc123"));
    meter.setPassword(QString::fromUtf8("密码强度测试"));
    QCOMPARE(meter.word(), QStringLiteral("中"));
    QCOMPARE(meter.colour(), kYellow);
}

// The windows connect their password box's textChanged to setPassword.
void TestStrengthMeter::followsTypingInAPasswordBox() {
    QWidget window;
    auto *box = new QLineEdit(&window);
    auto *meter = new StrengthMeter(&window);
    connect(box, &QLineEdit::textChanged, meter, &StrengthMeter::setPassword);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::keyClicks(box, QStringLiteral("abc12"));
    QCOMPARE(meter->word(), QStringLiteral("弱"));
    QTest::keyClicks(box, QStringLiteral("3"));
    QCOMPARE(meter->word(), QStringLiteral("中"));
    QTest::keyClicks(box, QStringLiteral("!"));
    QCOMPARE(meter->word(), QStringLiteral("强"));
    QCOMPARE(meter->colour(), kGreen);
}

QTEST_MAIN(TestStrengthMeter)
#include "tst_strengthmeter.moc"
