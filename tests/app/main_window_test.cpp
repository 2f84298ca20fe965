// SPDX-License-Identifier: MIT
#include "about_window.h"
#include "gui_test_support.h"
#include "twips.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

namespace cdnozzle {

using test::box;
using test::listLines;
using test::plot;

TEST(MainWindow, StartUpShowsTheStartUpFlowAndAPlayBar)
{
    MainWindow w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "Convergent-divergent nozzle animation");
    EXPECT_EQ(box(w, "Text_Mmax")->text(), "2");
    EXPECT_EQ(box(w, "Text_AAmax")->text(), "3");
    EXPECT_EQ(box(w, "Text_PePo")->text(), "1");
    EXPECT_EQ(test::bar(w, "VScroll1")->value(), 1);
    EXPECT_EQ(test::bar(w, "VScroll2")->value(), 1);
    EXPECT_EQ(test::bar(w, "VScroll2")->maximum(), 1000);
    // The start-up flow calculated and drawn, not counted as the user's.
    EXPECT_EQ(listLines(w).value(1), "M_max=2");
    for (const char* name : {"Picture_Geo", "Picture_Mach", "Picture_PiPo"}) {
        EXPECT_TRUE(test::paintsFlow(w, name)) << name;
    }
    EXPECT_EQ(w.calculationCount(), 0);
    // The hint names controls the window shows.
    EXPECT_EQ(w.statusText(), kStartText);
    auto* play = test::control<QPushButton>(w, "Play_Button");
    EXPECT_TRUE(play->isVisible());
    EXPECT_TRUE(w.statusText().contains(play->text())) << play->text().toStdString();
    EXPECT_TRUE(w.statusText().contains(test::control<QPushButton>(w, "Command1")->text()));
    for (const char* name : {"PlayReverse_Button", "PlaySlower_Button", "PlayFaster_Button",
                             "PlaySpeed", "PauseAtLimits_Button"})
        EXPECT_TRUE(test::control<QWidget>(w, name)->isVisible()) << name;
    // Each button is named by its entry, to a screen reader even where it
    // shows only a symbol, and its tooltip gives the entry's key.
    int keyed = 0;
    const ViewState view = w.logic().view();
    for (const MenuItem& item : view.menus.front().items) {
        auto* button = w.findChild<QPushButton*>(QString::fromStdString(item.id) + "_Button");
        if (!button) continue;
        EXPECT_EQ(button->accessibleName().toStdString(), item.label) << item.id;
        EXPECT_EQ(button->toolTip().toStdString(),
                  item.key.empty() ? item.label : item.label + " (" + item.key + ")")
            << item.id;
        keyed += !item.key.empty();
    }
    EXPECT_GE(keyed, 4);
    EXPECT_EQ(play->toolTip(), "Play (F5)");
    // A good part of the screen, on it.
    const QRect room = w.screen()->availableGeometry();
    EXPECT_TRUE(room.contains(w.frameGeometry()));
    EXPECT_GE(w.frameGeometry().width(), room.width() * 3 / 4);
    EXPECT_GE(w.frameGeometry().height(), room.height() * 3 / 4);
    // Start-up read the boxes into the state.
    EXPECT_EQ(w.model().state().M_max, 2);
    EXPECT_EQ(w.model().state().PePo, 1);
    EXPECT_EQ(w.model().state().kp1_2km1, 3.0000000000000004);
    EXPECT_EQ(w.findChild<QAction*>("Mn_About")->text(), "About");
}

TEST(MainWindow, ControlsSitAtTheirTwipPositions)
{
    MainWindow w;
    const double dpi = layoutDpi(&w);
    EXPECT_EQ(box(w, "Text_PePo")->geometry(), twipsRect(1320, 1320, 735, 360, dpi));
    EXPECT_EQ(test::control<QListWidget>(w, "List1")->geometry(),
              twipsRect(0, 3000, 3135, 4545, dpi));
    EXPECT_EQ(test::bar(w, "VScroll2")->geometry(), twipsRect(2700, 360, 360, 2295, dpi));
    EXPECT_EQ(plot(w, "Picture_Mach")->geometry(), twipsRect(3240, 2880, 5655, 2175, dpi));
    EXPECT_EQ(w.findChild<QLabel*>("Label5")->parentWidget(), plot(w, "Picture_PiPo"));
    EXPECT_TRUE(w.findChild<QLabel*>("Label4")->font().italic());
    EXPECT_EQ(w.findChild<QWidget*>("ClientArea")->minimumSize(),
              QSize(twipsToPixels(9090, dpi), twipsToPixels(7770, dpi)));
}

TEST(MainWindow, EnlargingGivesTheExtraRoomToThePlots)
{
    MainWindow w;
    w.show();
    const QRect listBefore = test::control<QListWidget>(w, "List1")->geometry();
    const QRect geoBefore = plot(w, "Picture_Geo")->geometry();
    const QRect pipoBefore = plot(w, "Picture_PiPo")->geometry();
    w.resize(w.width() + 300, w.height() + 200);
    QApplication::processEvents();
    EXPECT_EQ(test::control<QListWidget>(w, "List1")->geometry(), listBefore);
    EXPECT_EQ(plot(w, "Picture_Geo")->width(), geoBefore.width() + 300);
    EXPECT_GT(plot(w, "Picture_Geo")->height(), geoBefore.height());
    EXPECT_GT(plot(w, "Picture_PiPo")->geometry().bottom(), pipoBefore.bottom() + 150);
}

TEST(MainWindow, NoWindowLargerThanAnyScreen)
{
    MainWindow w;
    w.show();
    w.resize(20000, 30000);
    QApplication::processEvents();
    EXPECT_LE(w.width(), kMaximumWindowSize);
    EXPECT_LE(w.height(), kMaximumWindowSize);
}

TEST(MainWindow, TheBarsSayWhichIsCoarseAndTheirArrowsFitTheirWidth)
{
    MainWindow w;
    w.show();
    EXPECT_EQ(test::control<QLabel>(w, "VScroll1_Label")->text(), "coarse");
    EXPECT_EQ(test::control<QLabel>(w, "VScroll2_Label")->text(), "fine");
    for (const char* name : {"VScroll1", "VScroll2"}) {
        QScrollBar* fine = test::bar(w, name);
        // Each label stands over its bar.
        const QRect label = w.findChild<QLabel*>(QString(name) + "_Label")->geometry();
        EXPECT_LT(label.bottom(), fine->geometry().top()) << name;
        EXPECT_LT(std::abs(label.center().x() - fine->geometry().center().x()), 6) << name;
        QStyleOptionSlider option;
        option.initFrom(fine);
        option.orientation = Qt::Vertical;
        option.minimum = fine->minimum();
        option.maximum = fine->maximum();
        option.sliderPosition = option.sliderValue = fine->value();
        for (auto control : {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine}) {
            const QRect r =
                fine->style()->subControlRect(QStyle::CC_ScrollBar, &option, control, fine);
            EXPECT_TRUE(fine->rect().contains(r)) << control;
            // The style draws the arrow in a square of the bar's own width.
            EXPECT_EQ(r.width(), fine->width()) << control;
            EXPECT_LE(r.height(), fine->width()) << control;
        }
    }
}

// The WCAG 2.2 target size: every control a pointer aims at is at least
// 24 x 24 pixels.
TEST(MainWindow, EveryControlIsAtLeastTwentyFourPixelsSquare)
{
    MainWindow w;
    w.show();
    QStringList names{"Text_Mmax", "Text_AAmax", "Text_PePo",     "VScroll1",
                      "VScroll2",  "Command1",   "AltitudeSlider"};
    for (const EngineField& f : w.logic().view().engine) names << QString::fromStdString(f.id);
    const ViewState view = w.logic().view();
    for (const MenuItem& item : view.menus.front().items)
        if (auto* c = w.findChild<QWidget*>(QString::fromStdString(item.id) + "_Button"))
            names << c->objectName();
    EXPECT_GE(names.size(), 20);
    for (const QString& name : names) {
        const QWidget* c = w.findChild<QWidget*>(name);
        ASSERT_NE(c, nullptr) << name.toStdString();
        EXPECT_GE(c->width(), 24) << name.toStdString();
        EXPECT_GE(c->height(), 24) << name.toStdString();
    }
    // The menus' entries too, in every menu of the bar.
    int entries = 0;
    for (QAction* bar : w.menuBar()->actions()) {
        QMenu* menu = bar->menu();
        if (!menu) continue;
        menu->ensurePolished();
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || !a->isVisible()) continue;
            EXPECT_GE(menu->actionGeometry(a).height(), 24) << a->text().toStdString();
            ++entries;
        }
    }
    EXPECT_GE(entries, 10);
}

TEST(MainWindow, EditingADesignBoxRecalculatesOnEveryKey)
{
    MainWindow w;
    QLineEdit* me = box(w, "Text_Mmax");
    me->setFocus();
    me->end(false);
    QTest::keyClicks(me, "5"); // "25"
    EXPECT_EQ(w.calculationCount(), 1);
    EXPECT_EQ(w.model().state().M_max, 25);
    EXPECT_EQ(listLines(w).value(1), "M_max=25");
    EXPECT_TRUE(test::paintsFlow(w, "Picture_Mach"));

    QTest::keyClick(me, Qt::Key_Backspace); // back to "2"
    EXPECT_EQ(w.calculationCount(), 2);
    QTest::keyClicks(box(w, "Text_AAmax"), "1"); // "31"
    EXPECT_EQ(w.calculationCount(), 3);
    EXPECT_EQ(w.model().state().AA_max, 31);
}

TEST(MainWindow, PePoWaitsForCalculate)
{
    MainWindow w;
    QLineEdit* pepo = box(w, "Text_PePo");
    pepo->selectAll();
    QTest::keyClicks(pepo, "0.8");
    EXPECT_EQ(w.calculationCount(), 0);
    EXPECT_EQ(w.model().state().PePo, 1);
    EXPECT_EQ(w.statusKind(), MainWindow::StatusKind::PendingPePo);
    QTest::mouseClick(test::control<QPushButton>(w, "Command1"), Qt::LeftButton);
    EXPECT_EQ(w.calculationCount(), 1);
    EXPECT_EQ(w.model().state().PePo, 0.8);
    EXPECT_EQ(listLines(w),
              (QStringList{"iMax=100", "M_max=2", "Me_sub limit=0.3722",
                           "Pe/Po sesaltı limit=0.9088", "Pe/Po sesüstü limit(NShock)=0.5751",
                           "Pe/Po sesüstü limit(OShock)=0.1278", "A2*=1.1058", "Po2/Po*=0.9044"}));
    EXPECT_EQ(w.statusText(),
              "Normal shock inside the nozzle at x = 1.575 (station 66; exact x = 1.5764)");
    // The bars learn the typed value without another calculation.
    EXPECT_EQ(test::bar(w, "VScroll1")->value(), 21);
    EXPECT_EQ(test::bar(w, "VScroll2")->value(), 201);
    EXPECT_EQ(w.calculationCount(), 1);
    // Each report line says what it means, beneath it and when the pointer
    // rests on it.
    const auto* list = test::control<QListWidget>(w, "List1");
    const ViewState view = w.logic().view();
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_FALSE(list->item(i)->toolTip().isEmpty()) << i;
        EXPECT_EQ(list->item(i)->toolTip().toStdString(), view.reportHelp.at(i)) << i;
        EXPECT_GT(list->visualItemRect(list->item(i)).height(), 1.8 * list->fontMetrics().height())
            << i;
    }
    // Enter in any box calculates, with the Pe/Po typed.
    pepo->selectAll();
    QTest::keyClicks(pepo, "0.5");
    QTest::keyClick(pepo, Qt::Key_Return);
    EXPECT_EQ(w.calculationCount(), 2);
    EXPECT_EQ(w.model().state().PePo, 0.5);
    pepo->selectAll();
    QTest::keyClicks(pepo, "0.6");
    QTest::keyClick(box(w, "Text_AAmax"), Qt::Key_Enter);
    EXPECT_EQ(w.calculationCount(), 3);
    EXPECT_EQ(w.model().state().PePo, 0.6);
    // A text put into the box without keys (pasted, set by a script) reaches
    // the logic at once, as a typed one does.
    pepo->setText("0.7");
    EXPECT_EQ(w.statusKind(), MainWindow::StatusKind::PendingPePo);
    EXPECT_EQ(w.logic().texts().pe_po, "0.7");
    w.Command1_Click();
    EXPECT_EQ(w.model().state().PePo, 0.7);
}

TEST(MainWindow, ClickOnTheGeometryPlotRecalculates)
{
    MainWindow w;
    w.show();
    QTest::mouseClick(plot(w, "Picture_Geo"), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(w.calculationCount(), 1);
    const DisplayList first = plot(w, "Picture_Geo")->picture();
    QTest::mouseClick(plot(w, "Picture_Geo"), Qt::LeftButton, {}, QPoint(50, 40));
    EXPECT_EQ(w.calculationCount(), 2);
    EXPECT_EQ(plot(w, "Picture_Geo")->picture(), first);
    QTest::mouseClick(plot(w, "Picture_Mach"), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(w.calculationCount(), 2);
    // A right click is the plot menu's, not a calculation.
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent right(type, QPointF(20, 20),
                          plot(w, "Picture_Geo")->mapToGlobal(QPointF(20, 20)), Qt::RightButton,
                          type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, {});
        QCoreApplication::sendEvent(plot(w, "Picture_Geo"), &right);
    }
    EXPECT_EQ(w.calculationCount(), 2);
}

// The keyboard reaches the controls in the order they are numbered: the
// back pressure and Calculate, the report, the design boxes, then the
// coarse and the fine bar.
TEST(MainWindow, TabRunsThroughTheControlsInTheirOrder)
{
    MainWindow w;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    box(w, "Text_PePo")->setFocus();
    QStringList order;
    for (int i = 0; i < 60; ++i) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        order << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    const QStringList numbered{"Text_PePo",  "Command1", "List1",   "Text_Mmax",
                               "Text_AAmax", "VScroll1", "VScroll2"};
    const auto first = order.indexOf("Text_PePo");
    EXPECT_EQ(order.mid(first, numbered.size()), numbered) << order.join(" ").toStdString();
}

TEST(MainWindow, RefusedInputKeepsTheLastResultAndSaysWhyInRed)
{
    MainWindow w;
    box(w, "Text_PePo")->setText("0.5");
    w.Command1_Click();
    const QStringList report = listLines(w);
    const PlotScene geo = w.logic().scene(PlotKind::Geometry);
    EXPECT_EQ(w.statusText(), "Strong shock at the exit: a Mach disk in the jet (β = 69.2°)");

    for (const char* typed : {"", "-", "1.2", "0"}) {
        box(w, "Text_PePo")->setText(typed);
        w.Command1_Click();
        EXPECT_TRUE(w.statusShowsRefusal()) << typed;
        EXPECT_TRUE(w.statusText().startsWith("Pe/Po = must be a number above 0 and at most 1"))
            << typed;
        EXPECT_EQ(listLines(w), report);
        EXPECT_EQ(w.logic().scene(PlotKind::Geometry), geo);
    }
    // The values under the cursor are not a refusal; off the plot, the
    // refusal is red again.
    Event hover(EventKind::Hover, 100.0);
    hover.width = 377;
    w.dispatch(hover);
    EXPECT_TRUE(w.statusText().startsWith("x = ")) << w.statusText().toStdString();
    EXPECT_FALSE(w.statusShowsRefusal());
    w.dispatch(Event(EventKind::Leave));
    EXPECT_TRUE(w.statusShowsRefusal());
    // Half-typed design numbers are ordinary moments of typing: no dialog, no crash.
    box(w, "Text_PePo")->setText("0.5");
    box(w, "Text_Mmax")->setText("");
    EXPECT_TRUE(w.statusText().startsWith("Me_Sup = must be"));
    box(w, "Text_Mmax")->setText("2.");
    EXPECT_FALSE(w.statusShowsRefusal());
    EXPECT_EQ(w.statusText(), "Strong shock at the exit: a Mach disk in the jet (β = 69.2°)");
    EXPECT_EQ(w.calculationCount(), 2);
}

TEST(MainWindow, AboutOpensOneModelessWindow)
{
    MainWindow w;
    w.show();
    w.Mn_About_Click();
    AboutWindow* first = w.aboutWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), "About");
    first->close();
    w.findChild<QAction*>("Mn_About")->trigger();
    EXPECT_EQ(w.aboutWindow(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(w.findChildren<AboutWindow*>().size(), 1);
    const QStringList expected{"Animation Program for", "Convergent divergent nozzle",
                               "For comments and questions e-mail to", "Last update: March 2007"};
    for (const QString& text : expected) {
        bool found = false;
        for (QLabel* label : first->findChildren<QLabel*>()) found |= label->text() == text;
        EXPECT_TRUE(found) << text.toStdString();
    }
    EXPECT_TRUE(first->findChild<QLabel*>("Label7")->text().startsWith("Developed by "));
    // Every line fits its place, whatever font stands in for Verdana.
    for (QLabel* label : first->findChildren<QLabel*>()) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString();
    }
    // The main window stays usable beside it.
    w.Command1_Click();
    EXPECT_EQ(w.calculationCount(), 1);
}

// Each engine box, the altitude slider, the units and the two answers of
// "Other…" reach the logic as what they are.
TEST(MainWindow, EngineBoxesAltitudeUnitsAndOtherGasReachTheLogic)
{
    MainWindow w;
    w.show();
    auto* altitude = test::control<QSlider>(w, "AltitudeSlider");
    auto* line = test::control<QLabel>(w, "EngineLine");
    EXPECT_FALSE(altitude->isEnabled());
    EXPECT_FALSE(line->isVisible());
    const std::pair<const char*, EngineFieldKind> typed[] = {
        {"Txt_p0", EngineFieldKind::ChamberPressure},
        {"Txt_T0", EngineFieldKind::ChamberTemperature},
        {"Txt_At", EngineFieldKind::Throat},
        {"Txt_Altitude", EngineFieldKind::Altitude}};
    const char* texts[] = {"7 MPa", "3500 K", "300 cm2", "20 km"};
    for (std::size_t i = 0; i < std::size(typed); ++i) {
        QTest::keyClicks(box(w, typed[i].first), texts[i]);
        EXPECT_EQ(w.logic().engineText(typed[i].second), texts[i]) << typed[i].first;
    }
    QTest::keyClick(box(w, "Txt_Altitude"), Qt::Key_Return);
    EXPECT_TRUE(altitude->isEnabled());
    EXPECT_EQ(altitude->value(), 200); // 20 km in steps of 100 m
    EXPECT_TRUE(line->isVisible());
    EXPECT_TRUE(line->text().endsWith(" at 20 km")) << line->text().toStdString();
    altitude->setValue(100);
    EXPECT_EQ(w.logic().altitude(), 10000.0);
    EXPECT_EQ(box(w, "Txt_Altitude")->text(), "10 km");

    // The units are radio entries of the View menu.
    w.menuAction("Units_us")->trigger();
    EXPECT_EQ(w.logic().units(), UnitSystem::US);
    EXPECT_FALSE(w.menuAction("Units_si")->isChecked());
    EXPECT_TRUE(w.menuAction("Units_us")->isChecked());

    // "Other...": k and a molar mass; a molar mass emptied there is gone,
    // as on the page.
    for (const QString molar : {"22", ""}) {
        QTimer::singleShot(0, [molar] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>("OtherGas_k")->setText("1.3");
            dialog->findChild<QLineEdit*>("OtherGas_molar")->setText(molar);
            qobject_cast<QDialog*>(dialog)->accept();
        });
        w.menuAction("Mn_Gas_Other")->trigger();
        EXPECT_EQ(w.logic().gasK(), 1.3);
        EXPECT_EQ(w.logic().engineText(EngineFieldKind::MolarMass), molar.toStdString());
        EXPECT_EQ(box(w, "Txt_Molar")->text(), molar);
    }
}

TEST(MainWindow, NonConvergenceBoxIsModalPlainAndCaptioned)
{
    QString caption, text;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QTimer::singleShot(0, [&] {
        auto* boxWidget = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(boxWidget, nullptr);
        caption = boxWidget->windowTitle();
        text = boxWidget->text();
        icon = boxWidget->icon();
        buttons = static_cast<int>(boxWidget->buttons().size());
        boxWidget->accept();
    });
    showNotConvergedBox(nullptr, "iterasyon 500 adımda yakınsamadı");
    EXPECT_EQ(caption, "cdnozzle");
    EXPECT_EQ(text, "iterasyon 500 adımda yakınsamadı");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, 1);
}

} // namespace cdnozzle
