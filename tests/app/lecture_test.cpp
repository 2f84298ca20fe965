// SPDX-License-Identifier: MIT
// For the lecture hall: the play with its menu and clock, the explanation
// panel, the zoom, and the settings remembered between runs.
#include "gui_test_support.h"
#include "plots/unsteady_scene.h"

#include "twips.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

namespace cdnozzle {

namespace {

// A window whose play clock the test moves.
struct Lecture {
    Lecture()
    {
        QSettings().clear();
        w = std::make_unique<MainWindow>();
        w->setClock([this] { return now; });
        w->show();
        // Shortcuts reach the active window only.
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void tick(double seconds)
    {
        now += seconds;
        w->playTick();
    }
    double now = 0;
    std::unique_ptr<MainWindow> w;
};

// The offscreen screen of that size the test main sets up, or nothing.
QScreen* screenOfSize(int width, int height)
{
    for (QScreen* s : QGuiApplication::screens())
        if (s->size() == QSize(width, height)) return s;
    return nullptr;
}

} // namespace

TEST(Lecture, PlayMenuBesideAboutWithFunctionKeys)
{
    Lecture t;
    QStringList menus;
    for (QAction* a : t.w->menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"Play", "Gas", "View", "About"}));
    EXPECT_EQ(t.w->playAction()->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(t.w->explainAction()->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(t.w->pauseAtLimitsAction()->isChecked());
    for (QAction* a : {t.w->playAction(), t.w->reverseAction(), t.w->slowerAction(),
                       t.w->fasterAction(), t.w->explainAction()}) {
        // No shortcut takes a key that is typed into a box.
        const int key = a->shortcut()[0].key();
        EXPECT_TRUE(key >= Qt::Key_F1 && key <= Qt::Key_F12) << a->text().toStdString();
    }
    // The list of keys opens from the menu, names every key, and closing it
    // tells the logic.
    t.w->menuAction("Shortcuts")->trigger();
    auto* keys = t.w->findChild<QDialog*>("KeysDialog");
    ASSERT_NE(keys, nullptr);
    EXPECT_TRUE(keys->isVisible());
    EXPECT_EQ(keys->findChildren<QLabel*>().size(), 2 * t.w->logic().keyList().size());
    keys->reject();
    EXPECT_FALSE(t.w->logic().view().shortcutsShown);
    EXPECT_FALSE(keys->isVisible());
    // F8: the plots in the projector view, and back.
    t.w->Command1_Click();
    PlotView* mach = test::plot(*t.w, "Picture_Mach");
    const QImage usual = mach->grab().toImage();
    QTest::keyClick(t.w.get(), Qt::Key_F8);
    EXPECT_NE(mach->grab().toImage(), usual);
    QTest::keyClick(t.w.get(), Qt::Key_F8);
    EXPECT_EQ(mach->grab().toImage(), usual);
}

TEST(Lecture, F5PlaysFromTheBoxThatKeepsTheFocus)
{
    Lecture t;
    QLineEdit* box = test::box(*t.w, "Text_PePo");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "0.8");
    t.w->Command1_Click();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F5);
    EXPECT_TRUE(t.w->logic().playing());
    EXPECT_EQ(t.w->playAction()->text(), "Pause");
    for (int i = 0; i < 5; ++i) t.tick(1.0 / 40); // normal speed: 40 steps a second
    EXPECT_EQ(box->text(), "0.795");
    EXPECT_EQ(test::bar(*t.w, "VScroll2")->value(), 206);
    EXPECT_EQ(test::bar(*t.w, "VScroll1")->value(), 22);
    EXPECT_EQ(box->text().toStdString(), t.w->logic().texts().pe_po);
    EXPECT_TRUE(box->hasFocus());
    // A click on a bar pauses the play.
    QTest::keyClick(test::bar(*t.w, "VScroll1"), Qt::Key_Down);
    EXPECT_FALSE(t.w->logic().playing());
    EXPECT_EQ(t.w->playAction()->text(), "Play");
    // The logic's other keys: Page Down is a box's own, elsewhere it steps
    // the coarse bar; "?" shows the list of keys.
    const int coarse = test::bar(*t.w, "VScroll1")->value();
    QTest::keyClick(box, Qt::Key_PageDown);
    EXPECT_EQ(test::bar(*t.w, "VScroll1")->value(), coarse);
    auto* calculate = test::control<QPushButton>(*t.w, "Command1");
    calculate->setFocus();
    QTest::keyClick(calculate, Qt::Key_PageDown);
    EXPECT_EQ(test::bar(*t.w, "VScroll1")->value(), coarse + 1);
    QTest::keyClick(calculate, '?');
    EXPECT_TRUE(t.w->logic().view().shortcutsShown);
}

TEST(Lecture, ThePlayStandsStillPastALimitAndSaysWhich)
{
    Lecture t;
    test::box(*t.w, "Text_PePo")->setText("0.91");
    t.w->Command1_Click();
    t.w->playAction()->trigger();
    for (int i = 0; i < 3; ++i) t.tick(1.0 / 40);
    EXPECT_EQ(t.w->statusKind(), StatusKind::PlayPause);
    EXPECT_EQ(t.w->statusText(), "Paused just past the subsonic limit (Pe/Po = 0.908)");
    // The banner stands over the plots meanwhile.
    const auto* banner = t.w->findChild<QLabel*>("Banner");
    EXPECT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text().toStdString(), t.w->logic().view().banner);
    EXPECT_FALSE(banner->text().isEmpty());
    const QRect geo = test::plot(*t.w, "Picture_Geo")->geometry();
    EXPECT_TRUE(geo.contains(banner->geometry()));
    EXPECT_LE(std::abs(banner->geometry().center().x() - geo.center().x()), 1);
    const int calculations = t.w->calculationCount();
    t.tick(1.5);
    EXPECT_EQ(t.w->calculationCount(), calculations);
    t.tick(0.6);
    t.tick(1.0 / 40);
    EXPECT_GT(t.w->calculationCount(), calculations);
    EXPECT_EQ(t.w->statusKind(), StatusKind::Regime);
    EXPECT_FALSE(banner->isVisible());
}

TEST(Lecture, ExplainOpensAPanelBelowThePlotsThatFollowsTheFlow)
{
    Lecture t;
    // The designed size, where the screen has room for the panel below.
    t.w->resize(t.w->size() - t.w->centralWidget()->size() + t.w->clientSizeHint());
    QApplication::processEvents();
    const QRect client = t.w->centralWidget()->geometry();
    const int height = t.w->height();
    t.w->explainAction()->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(t.w->explanationShown());
    EXPECT_GT(t.w->height(), height);
    EXPECT_EQ(t.w->centralWidget()->geometry(), client);
    test::box(*t.w, "Text_PePo")->setText("0.5");
    t.w->Command1_Click();
    EXPECT_TRUE(t.w->explanationText().contains("over-expanded"));
    // The panel grows with its text, the window with the panel.
    QApplication::processEvents();
    const auto* panel = t.w->findChild<QLabel*>("Explanation");
    EXPECT_GE(panel->height(), panel->heightForWidth(panel->width()));
    EXPECT_EQ(t.w->centralWidget()->geometry(), client);
}

TEST(Lecture, TwoHundredPercentDoublesEveryControl)
{
    Lecture t;
    // The designed size, without the room the window opens with.
    const QWidget* scroll = t.w->centralWidget();
    t.w->resize(t.w->size() - scroll->size() + t.w->clientSizeHint());
    QApplication::processEvents();
    const QRect window = t.w->geometry();
    const char* names[] = {"Label1",      "Label2",       "Label3",       "Text_Mmax", "Text_AAmax",
                           "Text_PePo",   "VScroll1",     "VScroll2",     "Command1",  "List1",
                           "Picture_Geo", "Picture_Mach", "Picture_PiPo", "Label4",    "Label5"};
    std::map<std::string, QRect> before;
    for (const char* name : names) before[name] = t.w->findChild<QWidget*>(name)->geometry();
    const int calculations = t.w->calculationCount();
    const double pointSize = test::box(*t.w, "Text_PePo")->font().pointSizeF();
    // The texts outside the client area grow with it, and are as they were
    // back at 100 %.
    const char* lines[] = {"StatusLine",  "Explanation",  "Banner", "PlaySpeed",
                           "Play_Button", "AltitudeText", "Txt_p0"};
    std::map<std::string, double> points;
    for (const char* name : lines)
        points[name] = t.w->findChild<QWidget*>(name)->font().pointSizeF();
    for (int i = 0; i < 4; ++i) QTest::keyClick(t.w.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(t.w->zoom(), 2.0);
    for (const char* name : lines)
        EXPECT_DOUBLE_EQ(t.w->findChild<QWidget*>(name)->font().pointSizeF(), 2 * points[name])
            << name;
    for (const char* name : names) {
        const QRect r = before[name];
        EXPECT_EQ(t.w->findChild<QWidget*>(name)->geometry(),
                  QRect(2 * r.left(), 2 * r.top(), 2 * r.width(), 2 * r.height()))
            << name;
    }
    EXPECT_DOUBLE_EQ(test::box(*t.w, "Text_PePo")->font().pointSizeF(), 2 * pointSize);
    EXPECT_EQ(t.w->calculationCount(), calculations);
    for (int i = 0; i < 10; ++i) t.w->dispatch({EventKind::ZoomIn});
    EXPECT_EQ(t.w->zoom(), 3.0);
    QTest::keyClick(t.w.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(t.w->zoom(), 1.0);
    EXPECT_EQ(t.w->findChild<QWidget*>("Text_PePo")->geometry(), before["Text_PePo"]);
    for (const char* name : lines)
        EXPECT_DOUBLE_EQ(t.w->findChild<QWidget*>(name)->font().pointSizeF(), points[name]) << name;
    // Back where it was, as large as it was.
    EXPECT_EQ(t.w->geometry(), window);
    t.w->dispatch({EventKind::ZoomOut});
    EXPECT_EQ(t.w->zoom(), 1.0);
}

// A lecture room's 1920 x 1080 projector: zoomed in, the window with its
// status line and the whole explanation stays on the screen; the plots give
// up the room, the menus and the report list grow with the rest.
TEST(Lecture, ZoomedWindowStaysOnAFullHdScreen)
{
    QScreen* fullHd = screenOfSize(1920, 1080);
    if (!fullHd) GTEST_SKIP() << "no 1920 x 1080 screen (the test main sets up the offscreen one)";
    QSettings().clear();
    MainWindow w;
    w.setScreen(fullHd);
    w.move(fullHd->availableGeometry().topLeft() + QPoint(100, 200));
    w.show();
    w.explainAction()->trigger();
    test::box(w, "Text_PePo")->setText("0.8");
    w.Command1_Click();
    const QRect pepo = test::box(w, "Text_PePo")->geometry();
    const int plotHeight = test::plot(w, "Picture_Mach")->height();
    const double menuPoints = w.menuBar()->font().pointSizeF();
    const double popupPoints = QApplication::font("QMenu").pointSizeF();
    auto* list = test::control<QListWidget>(w, "List1");
    auto* explanation = w.findChild<QLabel*>("Explanation");
    for (const double zoom : {2.0, 3.0}) {
        test::setZoom(w, zoom);
        QApplication::processEvents();
        const QRect room = fullHd->availableGeometry();
        EXPECT_TRUE(room.contains(w.frameGeometry())) << zoom;
        for (const char* name : {"StatusLine", "ExplanationPanel"}) {
            const auto* part = w.findChild<QWidget*>(name);
            EXPECT_TRUE(part->isVisible()) << name;
            EXPECT_TRUE(room.contains(QRect(part->mapToGlobal(QPoint()), part->size())))
                << name << " at " << zoom;
        }
        EXPECT_GE(explanation->height(), explanation->heightForWidth(explanation->width()));
        // Every report line whole, and all of them in sight (their meanings
        // beneath may scroll).
        EXPECT_LE(list->sizeHintForColumn(0), list->viewport()->width()) << zoom;
        EXPECT_LE(list->count() * list->fontMetrics().lineSpacing(), list->viewport()->height())
            << zoom;
    }
    // At 200 % only the plots gave up room.
    test::setZoom(w, 2);
    QApplication::processEvents();
    EXPECT_LT(test::plot(w, "Picture_Mach")->height(), 2 * plotHeight);
    EXPECT_EQ(test::box(w, "Text_PePo")->geometry(), QRect(pepo.topLeft() * 2, pepo.size() * 2));
    EXPECT_DOUBLE_EQ(w.menuBar()->font().pointSizeF(), 2 * menuPoints);
    EXPECT_DOUBLE_EQ(w.findChild<QMenu*>("Mn_Play")->font().pointSizeF(), 2 * popupPoints);
    QSettings().clear();
}

// The projector view on a 1920 x 1080 screen: the window takes the screen,
// the three plots fill it with digits on their axes 24 pixels tall (as the
// font draws them), the status line's and the banner's letters 30; keys 1
// to 3 show one plot alone with digits 36 pixels tall, 0 the three again;
// F8 gives the window its place back.
TEST(Lecture, ProjectorViewReadableFromTheBackRowOfAHall)
{
    QScreen* fullHd = screenOfSize(1920, 1080);
    if (!fullHd) GTEST_SKIP() << "no 1920 x 1080 screen (the test main sets up the offscreen one)";
    QSettings().clear();
    MainWindow w;
    w.setScreen(fullHd);
    w.move(fullHd->availableGeometry().topLeft() + QPoint(100, 200));
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    test::box(w, "Text_PePo")->setText("0.8");
    w.Command1_Click();
    const QRect usual = w.geometry();
    const int gap = test::plot(w, "Picture_Mach")->geometry().top() -
                    test::plot(w, "Picture_Geo")->geometry().bottom();
    QTest::keyClick(&w, Qt::Key_F8);
    QApplication::processEvents();
    EXPECT_EQ(w.frameGeometry(), fullHd->availableGeometry());
    const auto digitsTall = [](const QFont& font) {
        return QFontMetricsF(font).tightBoundingRect("0123456789").height();
    };
    const char* names[] = {"Picture_Geo", "Picture_Mach", "Picture_PiPo"};
    for (const auto& [key, alone, tallest] : {std::tuple{Qt::Key_0, -1, 24.0},
                                              {Qt::Key_1, 0, 36.0},
                                              {Qt::Key_2, 1, 36.0},
                                              {Qt::Key_3, 2, 36.0},
                                              {Qt::Key_0, -1, 24.0}}) {
        QTest::keyClick(&w, key);
        for (int i = 0; i < 3; ++i) {
            PlotView* view = test::plot(w, names[i]);
            ASSERT_EQ(view->isVisible(), alone < 0 || alone == i) << names[i];
            if (!view->isVisible()) continue;
            const DisplayList list = view->picture();
            int digits = 0;
            for (const DisplayText& t : list.texts) {
                if (t.text.empty() || t.text[0] < '0' || t.text[0] > '9') continue;
                QFont font("MS Sans Serif");
                font.setStyleHint(QFont::SansSerif);
                font.setPixelSize(static_cast<int>(std::lround(t.size)));
                EXPECT_GE(digitsTall(font), tallest) << names[i] << " " << t.text;
                ++digits;
            }
            EXPECT_GE(digits, 4) << names[i];
        }
        // The plots shown fill the client area, as far apart as usual.
        if (alone < 0) {
            const QRect geo = test::plot(w, names[0])->geometry();
            const QRect mach = test::plot(w, names[1])->geometry();
            const QRect pipo = test::plot(w, names[2])->geometry();
            EXPECT_EQ(mach.top() - geo.bottom(), gap);
            EXPECT_EQ(pipo.top() - mach.bottom(), gap);
            EXPECT_EQ(geo.top(), 0);
            EXPECT_GE(pipo.bottom(), w.findChild<QWidget*>("ClientArea")->height() - 4);
        }
        EXPECT_GE(digitsTall(w.findChild<QLabel*>("StatusLine")->font()), 30);
        EXPECT_GE(digitsTall(w.findChild<QLabel*>("Banner")->font()), 30);
    }
    QTest::keyClick(&w, Qt::Key_F8);
    QApplication::processEvents();
    EXPECT_EQ(w.geometry(), usual);
    for (const char* name : names) EXPECT_TRUE(test::plot(w, name)->isVisible()) << name;
    QSettings().clear();
}

// Zoom never takes a maximised window out of its maximised state.
TEST(Lecture, EveryZoomStepKeepsAMaximisedWindowMaximised)
{
    Lecture t;
    t.w->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(t.w->isMaximized());
    const QRect maximised = t.w->geometry();
    while (t.w->zoom() < WindowLogic::kZoomMax) {
        t.w->dispatch({EventKind::ZoomIn});
        QApplication::processEvents();
        EXPECT_TRUE(t.w->isMaximized()) << t.w->zoom();
        EXPECT_EQ(t.w->geometry(), maximised) << t.w->zoom();
    }
    QTest::keyClick(t.w.get(), Qt::Key_0, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(t.w->isMaximized());
    EXPECT_EQ(t.w->geometry(), maximised);
    QSettings().clear();
}

// A 1366 x 768 laptop at every zoom step to 300 %, with the explanation open and the
// play standing at a limit: the status line, the banner and the explanation
// stay on the screen, and the zoom takes effect (the controls scroll when
// they do not fit).
TEST(Lecture, EveryZoomStepKeepsStatusBannerAndExplanationOnALaptopScreen)
{
    QScreen* laptop = screenOfSize(1366, 768);
    if (!laptop) GTEST_SKIP() << "no 1366 x 768 screen (the test main sets up the offscreen one)";
    QSettings().clear();
    double now = 0;
    MainWindow w;
    w.setClock([&now] { return now; });
    w.setScreen(laptop);
    w.move(laptop->availableGeometry().topLeft());
    w.show();
    w.explainAction()->trigger();
    test::box(w, "Text_PePo")->setText("0.91");
    w.Command1_Click();
    w.playAction()->trigger();
    for (int i = 0; i < 3; ++i) {
        now += 1.0 / 40;
        w.playTick();
    }
    ASSERT_EQ(w.statusKind(), StatusKind::PlayPause);
    const QRect room = laptop->availableGeometry();
    const double points = test::box(w, "Text_PePo")->font().pointSizeF();
    for (double zoom = WindowLogic::kZoomMin; zoom <= WindowLogic::kZoomMax; zoom += 0.25) {
        test::setZoom(w, zoom);
        QApplication::processEvents();
        EXPECT_DOUBLE_EQ(test::box(w, "Text_PePo")->font().pointSizeF(), zoom * points);
        EXPECT_TRUE(room.contains(w.frameGeometry())) << zoom;
        for (const char* name : {"StatusLine", "Banner", "ExplanationPanel", "Play_Button"}) {
            const auto* part = w.findChild<QWidget*>(name);
            EXPECT_TRUE(part->isVisible()) << name << " at " << zoom;
            EXPECT_TRUE(room.contains(QRect(part->mapToGlobal(QPoint()), part->size())))
                << name << " at " << zoom;
        }
        // The banner over the part of the plots in sight.
        const auto* scroll = w.centralWidget();
        const auto* banner = w.findChild<QWidget*>("Banner");
        EXPECT_TRUE(QRect(QPoint(), scroll->size()).contains(banner->geometry())) << zoom;
    }
    QSettings().clear();
}

// Nothing moves under the pointer: not the plots during a whole sweep with
// the explanation open, not the play bar on Play and Pause.
TEST(Lecture, NothingMovesDuringAPlayOrOnPlayAndPause)
{
    Lecture t;
    t.w->explainAction()->trigger();
    test::box(*t.w, "Text_PePo")->setText("0.95");
    t.w->Command1_Click();
    QApplication::processEvents();
    const char* names[] = {
        "Picture_Geo",       "Picture_Mach",         "Picture_PiPo",      "List1",
        "Play_Button",       "PlayReverse_Button",   "PlaySlower_Button", "PlaySpeed",
        "PlayFaster_Button", "PauseAtLimits_Button", "StepDown_Button",   "Reset_Button",
        "ExplanationPanel"};
    auto places = [&] {
        std::map<std::string, QRect> at;
        for (const char* name : names) {
            const QWidget* c = t.w->findChild<QWidget*>(name);
            at[name] = QRect(c->mapToGlobal(QPoint()), c->size());
        }
        return at;
    };
    const auto before = places();
    auto* play = test::control<QPushButton>(*t.w, "Play_Button");
    play->click();
    ASSERT_TRUE(t.w->logic().playing());
    EXPECT_EQ(play->text().toStdString(), "❚❚ Pause");
    EXPECT_EQ(places(), before);
    // Down to the end of the sweep, past the three limits and their pauses.
    std::set<std::string> texts;
    // (Stopped short of the bar's end, where a play ends by itself and a
    // click would start another, whatever speed another test left saved.)
    for (int i = 0; i < 400 && t.w->model().state().PePo > 0.05; ++i) {
        t.tick(0.25);
        QApplication::processEvents();
        texts.insert(t.w->explanationText().toStdString());
        ASSERT_EQ(places(), before) << "at Pe/Po " << t.w->model().state().PePo;
    }
    EXPECT_LE(t.w->model().state().PePo, 0.05);
    EXPECT_GE(texts.size(), 4u); // the explanation changed on the way
    play->click();
    EXPECT_FALSE(t.w->logic().playing());
    EXPECT_EQ(play->text().toStdString(), "▶ Play");
    EXPECT_EQ(places(), before);
}

TEST(Lecture, ZoomSpeedAndLimitPausesAreRemembered)
{
    {
        Lecture t;
        test::setZoom(*t.w, 1.5);
        t.w->fasterAction()->trigger();
        t.w->pauseAtLimitsAction()->trigger();
        t.w->menuAction("Units_us")->trigger();
        t.w->dispatch(Event(EventKind::Projector, 1.0));
        test::box(*t.w, "Text_Mmax")->setText("3");
    }
    MainWindow w;
    EXPECT_EQ(w.logic().units(), UnitSystem::US);
    EXPECT_TRUE(w.menuAction("Units_us")->isChecked());
    EXPECT_TRUE(w.logic().projector());
    EXPECT_EQ(w.zoom(), 1.5);
    EXPECT_EQ(w.logic().playSpeed(), PlaySpeed::Fast);
    EXPECT_FALSE(w.logic().pauseAtLimits());
    EXPECT_FALSE(w.pauseAtLimitsAction()->isChecked());
    EXPECT_FALSE(w.fasterAction()->isEnabled());
    // The boxes always open with their start-up texts.
    EXPECT_EQ(test::box(w, "Text_Mmax")->text(), "2");
    QSettings().clear();
}

// The flow in time: chosen in the View menu, played with the play bar's
// buttons and clock, the bars giving its back pressure, and remembered.
TEST(Lecture, TheFlowInTimePlaysStepsRestartsAndIsRemembered)
{
    {
        Lecture t;
        t.w->menuAction("Mode_Unsteady")->trigger();
        ASSERT_NE(t.w->logic().unsteadyFlow(), nullptr);
        EXPECT_FALSE(test::control<QPushButton>(*t.w, "PlayReverse_Button")->isEnabled());
        test::bar(*t.w, "VScroll1")->setValue(41);
        test::control<QPushButton>(*t.w, "Play_Button")->click();
        for (int f = 0; f < 6; ++f) t.tick(1.0 / 60);
        const UnsteadyFlow& flow = *t.w->logic().unsteadyFlow();
        EXPECT_EQ(flow.steps(), 60);
        EXPECT_EQ(flow.backPressure(), 0.6);
        EXPECT_TRUE(t.w->statusText().startsWith("t = ")) << t.w->statusText().toStdString();
        // The plots paint the flow in time: the nozzle filled, the cells drawn.
        const std::vector<CellValues> cells = flow.cells();
        const DisplayList geometry = test::plot(*t.w, "Picture_Geo")->picture();
        EXPECT_TRUE(std::any_of(geometry.lines.begin(), geometry.lines.end(), [&](const auto& l) {
            return l.color == machColor(cells.back().M, machScaleTop(2));
        }));
        EXPECT_EQ(t.w->logic().scene(PlotKind::Mach).segments.back().y2, -cells.back().M);
        test::control<QPushButton>(*t.w, "TimeStep_Button")->click();
        EXPECT_FALSE(t.w->logic().playing());
        EXPECT_EQ(t.w->logic().unsteadyFlow()->steps(), 60 + kTimeStepsPerFrame);
        test::control<QPushButton>(*t.w, "TimeRestart_Button")->click();
        EXPECT_EQ(t.w->logic().unsteadyFlow()->steps(), 0);
    }
    MainWindow w;
    EXPECT_TRUE(w.logic().unsteady());
    EXPECT_TRUE(w.menuAction("Mode_Unsteady")->isChecked());
    QSettings().clear();
}

} // namespace cdnozzle

namespace cdnozzle {

TEST(Physics, GasMenuAndTheThirdPlotsQuantity)
{
    MainWindow w;
    test::box(w, "Text_PePo")->setText("0.8");
    w.Command1_Click();
    const QString air = w.statusText();
    EXPECT_FALSE(air.contains("k ="));
    w.findChild<QAction*>("Mn_Gas_helium")->trigger();
    EXPECT_TRUE(w.statusText().endsWith(" · helium (k = 1.6667)")) << w.statusText().toStdString();
    EXPECT_EQ(w.model().state().k, 5.0 / 3.0);
    EXPECT_EQ(test::listLines(w).value(3), "Pe/Po sesaltı limit=0.8728");
    w.dispatch(Event(EventKind::OtherGas, "1.25"));
    EXPECT_TRUE(w.statusText().endsWith(" · gas with k = 1.25 (k = 1.25)"));
    // The gas of another k has its own entry, named as on the page.
    EXPECT_TRUE(w.findChild<QAction*>("Mn_Gas_chosen")->isChecked());
    EXPECT_EQ(w.findChild<QAction*>("Mn_Gas_chosen")->text(), "Gas with k = 1.25");
    // A listed gas's k goes by the first name listed with it, as on the page.
    w.dispatch(Event(EventKind::OtherGas, QString::number(5.0 / 3.0, 'g', 17).toStdString()));
    EXPECT_TRUE(w.findChild<QAction*>("Mn_Gas_helium")->isChecked());
    w.findChild<QAction*>("Mn_Gas_air")->trigger();
    EXPECT_EQ(w.statusText(), air);

    // T/T0 in the third plot: its caption, and a curve from 1 down.
    const PlotScene pressure = w.logic().scene(PlotKind::Third);
    w.dispatch(Event(EventKind::ThirdPlot, double(PlotQuantity::Temperature)));
    EXPECT_EQ(w.findChild<QLabel*>("Label5")->text(), "T/T0");
    EXPECT_EQ(w.findChild<QLabel*>("Label4")->text(), "M");
    const PlotScene temperature = w.logic().scene(PlotKind::Third);
    EXPECT_NE(temperature, pressure);
    EXPECT_EQ(temperature.top, pressure.top);
    w.dispatch(Event(EventKind::ThirdPlot, double(PlotQuantity::Density)));
    EXPECT_EQ(w.findChild<QLabel*>("Label5")->text(), "ρ/ρ0");
    w.dispatch(Event(EventKind::ThirdPlot, double(PlotQuantity::Pressure)));
    EXPECT_EQ(w.logic().scene(PlotKind::Third), pressure);
}

} // namespace cdnozzle
