#include "skin/MSkinner.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinToolkit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimerEvent>
#include <set>

using namespace skin;

namespace {

QImage Grab(QWidget *widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::set<QRgb> Colours(const QImage &image, const QRect &area) {
    std::set<QRgb> colours;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

bool Has(const std::set<QRgb> &colours, std::uint32_t colorref) {
    return colours.count(bgr(colorref)) > 0;
}

// The bounding box of the pixels of one colour.
QRect BoxOf(const QImage &image, QRgb colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

int MagentaPixels(const QImage &image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == kMagenta;
    return count;
}

// The colours of one column of a surface, rows from to to.
std::set<QRgb> Column(const QImage &surface, int x, int from, int to) {
    std::set<QRgb> colours;
    for (int y = from; y <= to; ++y)
        colours.insert(surface.pixel(x, y));
    return colours;
}

void Send(QWidget *widget, QEvent &&event) {
    QCoreApplication::sendEvent(widget, &event);
}

void Enter(QWidget *widget) {
    Send(widget, QEnterEvent(QPointF(3, 3), QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3))));
}

void Mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    Send(widget, QMouseEvent(type, at, widget->mapToGlobal(at),
                             type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                             Qt::NoModifier));
}

// Enabled check mark rows 0 and 2 to 5 and grayed square rows 1 to 5: each set appears in one
// glyph only.
const std::uint32_t kMarkOnly = 0x0FA243, kSquareOnly = 0x0C9E40;
const std::uint32_t kPaleMarkOnly = 0x85D09F, kPaleSquareOnly = 0x83CE9E;

bool IsDark(QRgb pixel) {
    return qGray(pixel) < 100;
}

} // namespace

class TestSkinPaint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void magentaNeverShows();
    void captionEndsInEllipsisWhenTooWide_data();
    void captionEndsInEllipsisWhenTooWide();
    void disabledCaptionIsGray();
    void checkBoxes_data();
    void checkBoxes();
    void optionButtons_data();
    void optionButtons();
    void comboBoxButton_data();
    void comboBoxButton();
    void headerCells_data();
    void headerCells();
    void headerWithoutItemsShowsOnlyTheBackground();
    void progressBar_data();
    void progressBar();
    void flatBorders_data();
    void flatBorders();
};

void TestSkinPaint::initTestCase() {
    QCursor::setPos(-1000, -1000);
}

void TestSkinPaint::cleanup() {
    QCOMPARE(SkinnedCount(), 0);
}

void TestSkinPaint::magentaNeverShows() {
    QDialog window;
    window.resize(480, 360);
    auto place = [&](QWidget *widget, int x, int y, int w = 110, int h = 24) {
        widget->setParent(&window);
        widget->setGeometry(x, y, w, h);
        return widget;
    };
    QList<QWidget *> hovered, pressed;
    for (int i = 0; i < 4; ++i) {
        auto *button = new QPushButton(QStringLiteral("按钮"));
        place(button, 10 + 115 * i, 10);
        button->setEnabled(i != 3);
        if (i == 1)
            hovered << button;
        if (i == 2)
            pressed << button;
    }
    for (int i = 0; i < 6; ++i) {
        auto *box = new QCheckBox(QStringLiteral("记住密码"));
        place(box, 10 + 75 * i, 50, 70);
        box->setTristate(true);
        box->setCheckState(Qt::CheckState(i % 3));
        box->setEnabled(i < 3);
        hovered << box;
    }
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(QStringLiteral("选项"));
        place(option, 10 + 75 * i, 80, 70);
        option->setAutoExclusive(false);
        option->setChecked(i % 2);
        option->setEnabled(i < 2);
        pressed << option;
    }
    for (int i = 0; i < 3; ++i) {
        auto *combo = new QComboBox;
        place(combo, 10 + 115 * i, 110);
        combo->addItem(QStringLiteral("招商银行"));
        combo->setEditable(i == 1);
        combo->setEnabled(i < 2);
        hovered << combo;
    }
    auto *bar = new QProgressBar;
    place(bar, 10, 140, 200, 18);
    bar->setValue(45);
    SkinWindow(&window);
    window.show();
    for (QWidget *widget : hovered)
        Enter(widget);
    for (QWidget *widget : pressed)
        Mouse(widget, QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton);
    QCOMPARE(MagentaPixels(Grab(&window)), 0);
    for (QWidget *widget : pressed)
        Mouse(widget, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::NoButton);
    auto *combo = window.findChild<QComboBox *>();
    combo->showPopup();
    QCOMPARE(MagentaPixels(Grab(&window)), 0);
    QCOMPARE(MagentaPixels(Grab(combo->view()->window())), 0);
    combo->hidePopup();
}

void TestSkinPaint::captionEndsInEllipsisWhenTooWide_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("ellipsis");
    QTest::newRow("fits") << QStringLiteral("HH") << false;
    QTest::newRow("too wide") << QStringLiteral("HHHHHHHHHHHHHHHHHHHHHHHH") << true;
}

void TestSkinPaint::captionEndsInEllipsisWhenTooWide() {
    QFETCH(QString, caption);
    QFETCH(bool, ellipsis);
    QDialog window;
    auto *button = new QPushButton(caption, &window);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(0, 0, 80, 26);
    SkinWindow(&window);
    const QImage image = Grab(button);
    // the caption stays inside (2, 2)-(W - 2, H - 2)
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsDark(image.pixel(x, y)))
                ink = ink.united(QRect(x, y, 1, 1));
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() >= 2 && ink.right() < button->width() - 2);
    // An ellipsis ends in dots, low and short; an H ends in a full-height stem.
    auto inkHeight = [&](int x) {
        int top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            if (IsDark(image.pixel(x, y))) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        return bottom < 0 ? 0 : bottom - top + 1;
    };
    int lastTall = ink.right();
    while (lastTall >= ink.left() && inkHeight(lastTall) <= 3)
        --lastTall;
    if (!ellipsis) {
        QCOMPARE(lastTall, ink.right());
        return;
    }
    QVERIFY(lastTall < ink.right());
    int runs = 0;
    bool inRun = false;
    for (int x = lastTall + 1; x <= ink.right(); ++x) {
        bool dark = false;
        for (int y = ink.bottom() - 2; y <= ink.bottom(); ++y)
            dark = dark || IsDark(image.pixel(x, y));
        runs += dark && !inRun;
        inRun = dark;
    }
    QCOMPARE(runs, 3); // three dots on the base line
}

void TestSkinPaint::disabledCaptionIsGray() {
    QDialog window;
    auto *button = new QPushButton(QStringLiteral("HHHH"), &window);
    button->setGeometry(0, 0, 80, 26);
    button->setEnabled(false);
    SkinWindow(&window);
    const std::set<QRgb> colours = Colours(Grab(button), button->rect());
    QVERIFY(Has(colours, 0x968A79));
    QVERIFY(!colours.count(qRgb(0, 0, 0)));
}

void TestSkinPaint::checkBoxes_data() {
    QTest::addColumn<int>("check");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("mouse");
    QTest::addColumn<uint>("border");
    QTest::addColumn<uint>("shown");
    QTest::addColumn<uint>("notShown");
    QTest::newRow("unchecked") << 0 << true << "" << 0xD5A554u << 0u << kMarkOnly;
    QTest::newRow("checked") << 2 << true << "" << 0xD5A554u << kMarkOnly << kSquareOnly;
    QTest::newRow("grayed") << 1 << true << "" << 0xD5A554u << kSquareOnly << kMarkOnly;
    QTest::newRow("disabled checked")
        << 2 << false << "" << 0xE9CFA4u << kPaleMarkOnly << kMarkOnly;
    QTest::newRow("disabled grayed")
        << 1 << false << "" << 0xE9CFA4u << kPaleSquareOnly << kSquareOnly;
    QTest::newRow("disabled unchecked") << 0 << false << "" << 0xE9CFA4u << 0u << kPaleMarkOnly;
    QTest::newRow("hovered checked") << 2 << true << "hover" << 0xD5A554u << kMarkOnly << 0u;
    QTest::newRow("pressed") << 0 << true << "press" << 0xC48639u << 0u << kMarkOnly;
}

void TestSkinPaint::checkBoxes() {
    QFETCH(int, check);
    QFETCH(bool, enabled);
    QFETCH(QString, mouse);
    QFETCH(uint, border);
    QFETCH(uint, shown);
    QFETCH(uint, notShown);
    QDialog window;
    auto *box = new QCheckBox(QStringLiteral("记住密码"), &window);
    box->setGeometry(0, 0, 120, 24);
    box->setTristate(true);
    box->setCheckState(Qt::CheckState(check));
    box->setEnabled(enabled);
    SkinWindow(&window);
    if (mouse == "hover")
        Enter(box);
    else if (mouse == "press")
        Mouse(box, QEvent::MouseButtonPress, QPoint(5, 12), Qt::LeftButton);
    const QImage image = Grab(box);
    const QRect square = BoxOf(image, bgr(border));
    QVERIFY(!square.isEmpty());
    QVERIFY(square.width() > 9 && square.height() > 8);
    QCOMPARE(square.width(), square.height());
    const std::set<QRgb> inside = Colours(image, square.adjusted(1, 1, -1, -1));
    if (shown)
        QVERIFY(Has(inside, shown));
    if (notShown)
        QVERIFY(!Has(inside, notShown));
    // the hover and pressed fills come from the option circles' hover and pressed faces
    const QImage &faces = Surfaces()->OptionFaces;
    if (mouse == "hover")
        QVERIFY(inside.count(faces.pixel(6, 19)));
    else if (mouse == "press")
        QVERIFY(inside.count(faces.pixel(6, 32)));
    else
        QVERIFY(inside.count(kBackground));
    if (mouse == "press")
        Mouse(box, QEvent::MouseButtonRelease, QPoint(5, 12), Qt::NoButton);
}

void TestSkinPaint::optionButtons_data() {
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("face");
    QTest::addColumn<uint>("dot");
    QTest::newRow("unchecked") << false << true << 0 << 0u;
    QTest::newRow("checked") << true << true << 0 << 0x12A847u;
    QTest::newRow("hovered") << false << true << 1 << 0u;
    QTest::newRow("disabled checked") << true << false << 3 << 0x88D3A3u;
}

void TestSkinPaint::optionButtons() {
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QFETCH(int, face);
    QFETCH(uint, dot);
    QDialog window;
    auto *option = new QRadioButton(QStringLiteral("选项"), &window);
    option->setGeometry(0, 0, 100, 24);
    option->setChecked(checked);
    option->setEnabled(enabled);
    SkinWindow(&window);
    if (face == 1)
        Enter(option);
    const std::set<QRgb> colours = Colours(Grab(option), option->rect());
    const QImage &faces = Surfaces()->OptionFaces;
    QVERIFY(colours.count(faces.pixel(6, 13 * face))); // the rim's top point
    QVERIFY(colours.count(faces.pixel(4, 13 * face + 4)));
    if (dot)
        QVERIFY(Has(colours, dot));
    QVERIFY(!Has(colours, 0x12A847) || dot == 0x12A847);
}

void TestSkinPaint::comboBoxButton_data() {
    QTest::addColumn<bool>("editable");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("state");
    QTest::newRow("normal") << false << true << "" << 0;
    QTest::newRow("hovered") << false << true << "hover" << 1;
    QTest::newRow("list open") << false << true << "open" << 2;
    QTest::newRow("list open, mouse over it") << false << true << "open hover" << 2;
    QTest::newRow("list closed again") << false << true << "open close" << 0;
    QTest::newRow("editable") << true << true << "" << 0;
    QTest::newRow("editable, list open") << true << true << "open" << 2;
    QTest::newRow("disabled") << false << false << "" << 0;
}

void TestSkinPaint::comboBoxButton() {
    QFETCH(bool, editable);
    QFETCH(bool, enabled);
    QFETCH(QString, action);
    QFETCH(int, state);
    QDialog window;
    auto *combo = new QComboBox(&window);
    combo->setEditable(editable);
    combo->addItems({QStringLiteral("招商银行"), QStringLiteral("京东")});
    combo->setGeometry(10, 10, 160, 24);
    combo->setEnabled(enabled);
    SkinWindow(&window);
    window.show();
    if (action.contains("open"))
        combo->showPopup();
    if (action.contains("hover"))
        Enter(combo);
    if (action.contains("close"))
        combo->hidePopup();

    const QImage image = Grab(combo);
    const int w = combo->width(), h = combo->height();
    QCOMPARE(image.pixel(0, h / 2), enabled ? kBorderEnabled : kBorderDisabled);
    const QRect button(w - 24, 1, 23, h - 2);
    const std::set<QRgb> colours = Colours(image, button);
    QCOMPARE(Has(colours, 0x5F5519), enabled);
    QCOMPARE(Has(colours, 0xACA584), !enabled);
    // the drop button's left edge line, then its background's top row under the frame
    const QImage &parts = Surfaces()->ComboParts;
    const QRgb edge = bgr(0xD1A04E);
    QCOMPARE(Has(colours, 0xD1A04E), state != 0);
    if (state == 0) {
        QVERIFY(colours.count(kBackground));
        combo->hidePopup();
        return;
    }
    const QRect line = BoxOf(image.copy(button), edge).translated(button.topLeft());
    QCOMPARE(line.width(), 1);
    QCOMPARE(image.pixel(line.left() + 3, 2), parts.pixel(state == 1 ? 2 : 6, 1));
    QCOMPARE(image.pixel(line.left() + 3, h - 3), parts.pixel(state == 1 ? 2 : 6, 16));
    combo->hidePopup();
}

void TestSkinPaint::headerCells_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("face"); // of item 1: 0 normal, 1 hot, 2 pressed
    QTest::newRow("nothing") << "" << 0;
    QTest::newRow("mouse over item 1") << "move" << 1;
    QTest::newRow("item 1 pressed") << "move press" << 2;
    QTest::newRow("item 1 released") << "move press release" << 1;
    QTest::newRow("mouse gone") << "move leave" << 0;
    QTest::newRow("mouse over item 2") << "move2" << 0;
}

void TestSkinPaint::headerCells() {
    QFETCH(QString, action);
    QFETCH(int, face);
    QDialog window;
    QStandardItemModel model(3, 3);
    model.setHorizontalHeaderLabels(
        {QStringLiteral("账号名称"), QStringLiteral("用户ID"), QStringLiteral("密码")});
    auto *table = new QTableView(&window);
    table->setModel(&model);
    table->verticalHeader()->hide();
    table->setGeometry(0, 0, 400, 150);
    QHeaderView *header = table->horizontalHeader();
    header->resizeSection(1, 120);
    SkinWindow(&window);
    window.show();
    QCoreApplication::processEvents(); // lays out the header
    QWidget *viewport = header->viewport();
    const int left = header->sectionViewportPosition(1);
    const QPoint inItem1(left + 30, 5), inItem2(header->sectionViewportPosition(2) + 30, 5);
    if (action.startsWith("move2"))
        Mouse(viewport, QEvent::MouseMove, inItem2, Qt::NoButton);
    else if (action.startsWith("move"))
        Mouse(viewport, QEvent::MouseMove, inItem1, Qt::NoButton);
    if (action.contains("press"))
        Mouse(viewport, QEvent::MouseButtonPress, inItem1, Qt::LeftButton);
    if (action.contains("release"))
        Mouse(viewport, QEvent::MouseButtonRelease, inItem1, Qt::NoButton);
    if (action.contains("leave"))
        Send(viewport, QEvent(QEvent::Leave));

    const QImage image = Grab(header);
    const int middle = header->height() / 2;
    const QImage &faces = Surfaces()->HeaderFaces;
    // the item's own left column and, right of it, its centre column
    QVERIFY(Column(faces, 3 * face, 1, 18).count(image.pixel(left, middle)));
    QVERIFY(Column(faces, 3 * face + 1, 1, 18).count(image.pixel(left + 3, middle)));
    QCOMPARE(image.pixel(left + 3, header->height() - 1), faces.pixel(3 * face + 1, 19));
    if (action.contains("press") && !action.contains("release"))
        Mouse(viewport, QEvent::MouseButtonRelease, inItem1, Qt::NoButton);
}

void TestSkinPaint::headerWithoutItemsShowsOnlyTheBackground() {
    QDialog window;
    QStandardItemModel model(0, 0);
    auto *header = new QHeaderView(Qt::Horizontal, &window);
    header->setModel(&model);
    header->setGeometry(0, 0, 300, 24);
    SkinWindow(&window);
    window.show();
    QCOMPARE(header->count(), 0);
    const std::set<QRgb> background = Column(Surfaces()->HeaderFaces, 1, 0, 19);
    const QImage image = Grab(header->viewport());
    for (const QRgb colour : Colours(image, image.rect()))
        QVERIFY(background.count(colour));
}

void TestSkinPaint::progressBar_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<double>("filled");
    QTest::newRow("at 0") << 0 << false << 0.0;
    QTest::newRow("at half") << 50 << false << 0.5;
    QTest::newRow("full") << 100 << false << 1.0;
    QTest::newRow("vertical at half") << 50 << true << 0.5;
}

void TestSkinPaint::progressBar() {
    QFETCH(int, value);
    QFETCH(bool, vertical);
    QFETCH(double, filled);
    QDialog window;
    auto *bar = new QProgressBar(&window);
    bar->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
    bar->setGeometry(0, 0, vertical ? 20 : 200, vertical ? 200 : 20);
    bar->setValue(value);
    SkinWindow(&window);
    const QImage image = Grab(bar);
    const int w = bar->width(), h = bar->height();
    // a one-pixel border, white inside, the fill from the left (from the bottom when upright)
    QCOMPARE(BoxOf(image, kBorderEnabled), bar->rect());
    QCOMPARE(Colours(image, QRect(1, 1, w - 2, h - 2)).count(kBorderEnabled), 0u);
    const QRgb fill = bgr(0xF6D64C);
    const QRect bar1 = BoxOf(image, fill);
    if (filled == 0) {
        QVERIFY(bar1.isEmpty());
        QCOMPARE(Colours(image, QRect(1, 1, w - 2, h - 2)), std::set<QRgb>{kBackground});
        return;
    }
    const int inner = (vertical ? h : w) - 4;
    QCOMPARE(vertical ? bar1.height() : bar1.width(), qRound(inner * filled));
    if (vertical)
        QCOMPARE(bar1.bottom(), h - 3);
    else
        QCOMPARE(bar1.left(), 2);
}

void TestSkinPaint::flatBorders_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("line edit") << "edit" << true;
    QTest::newRow("disabled line edit") << "edit" << false;
    QTest::newRow("table") << "table" << true;
}

void TestSkinPaint::flatBorders() {
    QFETCH(QString, kind);
    QFETCH(bool, enabled);
    QDialog window;
    QWidget *widget = kind == "edit" ? static_cast<QWidget *>(new QLineEdit(&window))
                                     : static_cast<QWidget *>(new QTableView(&window));
    widget->setGeometry(0, 0, 160, kind == "edit" ? 24 : 100);
    widget->setEnabled(enabled);
    SkinWindow(&window);
    const QImage image = Grab(widget);
    const QRgb border = enabled ? kBorderEnabled : kBorderDisabled;
    const int w = widget->width(), h = widget->height();
    for (const QPoint &p :
         {QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(w / 2, 0), QPoint(w / 2, h - 1)})
        QCOMPARE(image.pixel(p), border);
    QCOMPARE(image.pixel(1, h / 2), widget->palette().color(QPalette::Base).rgb());
}

QTEST_MAIN(TestSkinPaint)
#include "tst_skinpaint.moc"
