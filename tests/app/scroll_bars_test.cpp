// SPDX-License-Identifier: MIT
// The chains of nested change handlers that keep the two bars in step.
#include "gui_test_support.h"

#include "limit_marks.h"
#include "panel/back_pressure_bars.h"

#include <QSettings>
#include <QTest>

namespace cdnozzle {

namespace {

struct Window {
    MainWindow w;
    test::CalculationLog log{w};
    QScrollBar* coarse = test::bar(w, "VScroll1");
    QScrollBar* fine = test::bar(w, "VScroll2");
    QString pepoText() const { return test::box(w, "Text_PePo")->text(); }
    double pepo() const { return w.model().state().PePo; }
};

// On screen at 200 %, where the bars' grooves leave the thumbs room to move.
struct ShownWindow : Window {
    ShownWindow()
    {
        w.show();
        test::setZoom(w, 2);
    }
    ~ShownWindow() { QSettings().clear(); }
};

} // namespace

TEST(BackPressureBars, MappingsAndTheirInverses)
{
    EXPECT_EQ(coarsePePo(1), 1);
    EXPECT_EQ(coarsePePo(100), 0.01);
    EXPECT_EQ(finePePo(1), 1);
    EXPECT_EQ(finePePo(1000), 0.001);
    for (int v = kCoarseMin; v <= kCoarseMax; ++v) {
        ASSERT_EQ(coarsePositionFor(coarsePePo(v)), v);
        ASSERT_EQ(finePositionFor(coarsePePo(v)), 10 * v - 9);
    }
    for (int w = kFineMin; w <= kFineMax; ++w) ASSERT_EQ(finePositionFor(finePePo(w)), w);
    // Halfway between two coarse positions the even one wins.
    EXPECT_EQ(coarsePositionFor(finePePo(6)), 2);
    EXPECT_EQ(coarsePositionFor(finePePo(16)), 2);
    EXPECT_EQ(coarsePositionFor(finePePo(997)), 101);
}

TEST(ScrollBars, CoarseToFiftyMovesTheFineBarAndCalculatesAtItsRatio)
{
    Window t;
    t.coarse->setValue(50);
    EXPECT_EQ(t.pepoText(), "0.51");
    EXPECT_EQ(t.fine->value(), 491);
    EXPECT_EQ(t.log.pepo, (std::vector<double>{0.51}));
    EXPECT_EQ(t.coarse->value(), 50);
}

TEST(ScrollBars, CoarseToTheEndsOfItsRange)
{
    Window t;
    t.coarse->setValue(100);
    EXPECT_EQ(t.pepo(), 0.01);
    EXPECT_EQ(t.fine->value(), 991);
    t.coarse->setValue(1);
    EXPECT_EQ(t.pepoText(), "1");
    EXPECT_EQ(t.fine->value(), 1);
    EXPECT_EQ(t.w.model().result().regime, Regime::NoFlow);
}

TEST(ScrollBars, FineToFiveHundredSnapsToTheCoarseHundredth)
{
    Window t;
    t.fine->setValue(500);
    EXPECT_EQ(t.log.pepo, (std::vector<double>{0.501, 0.5}));
    EXPECT_EQ(t.coarse->value(), 51);
    EXPECT_EQ(t.fine->value(), 501);
    EXPECT_EQ(t.pepoText(), "0.5");
}

TEST(ScrollBars, FineStepsSetThousandthsUntilTheySnap)
{
    Window t;
    const std::vector<double> expected{0.999, 0.998, 0.997, 0.996};
    for (int w = 2; w <= 5; ++w) {
        QTest::keyClick(t.fine, Qt::Key_Down); // one small step down the bar
        EXPECT_EQ(t.fine->value(), w);
        EXPECT_EQ(t.coarse->value(), 1);
    }
    EXPECT_EQ(t.log.pepo, expected);
    t.log.pepo.clear();
    QTest::keyClick(t.fine, Qt::Key_Down); // position 6: 0.995 snaps to 0.99
    EXPECT_EQ(t.log.pepo, (std::vector<double>{0.995, 0.99}));
    EXPECT_EQ(t.coarse->value(), 2);
    EXPECT_EQ(t.fine->value(), 11);
    EXPECT_EQ(t.pepoText(), "0.99");

    t.fine->setValue(16); // 0.985: still coarse 2
    EXPECT_EQ(t.coarse->value(), 2);
    t.log.pepo.clear();
    t.fine->setValue(17); // 0.984 snaps to 0.98
    EXPECT_EQ(t.log.pepo, (std::vector<double>{0.984, 0.98}));
    EXPECT_EQ(t.fine->value(), 21);
}

TEST(ScrollBars, FineBeyondTheCoarseRangeKeepsItsOwnValue)
{
    for (int w = 997; w <= 1000; ++w) {
        Window t;
        t.fine->setValue(w);
        EXPECT_EQ(t.log.pepo.size(), 1u) << w;
        EXPECT_EQ(t.pepo(), finePePo(w));
        EXPECT_EQ(t.coarse->value(), 100);
        EXPECT_EQ(t.fine->value(), w);
    }
    Window t;
    t.fine->setValue(1000);
    EXPECT_EQ(t.pepoText(), "0.001");
    // Stepping back up from there runs the ordinary chain again.
    t.fine->setValue(980); // 0.021: coarse 99, snapping to 0.02
    EXPECT_EQ(t.coarse->value(), 99);
    EXPECT_EQ(t.fine->value(), 981);
    EXPECT_EQ(t.pepoText(), "0.02");
}

TEST(ScrollBars, BarsStepOnFromATypedPePo)
{
    Window t;
    QLineEdit* box = test::box(t.w, "Text_PePo");
    box->selectAll();
    QTest::keyClicks(box, "0.4");
    t.w.Command1_Click();
    EXPECT_EQ(t.coarse->value(), 61);
    EXPECT_EQ(t.fine->value(), 601);
    EXPECT_EQ(t.log.pepo, std::vector<double>{0.4});
    t.log.pepo.clear();
    QTest::keyClick(t.fine, Qt::Key_Down); // one thousandth lower, no snap
    EXPECT_EQ(t.log.pepo, std::vector<double>{0.399});
    EXPECT_EQ(t.pepoText(), "0.399");
    EXPECT_EQ(t.coarse->value(), 61);
    // A refused typed value teaches the bars nothing.
    box->selectAll();
    QTest::keyClicks(box, "1.5");
    t.w.Command1_Click();
    EXPECT_EQ(t.fine->value(), 602);
    // Below the fine bar's end both bars stop at their ends.
    box->selectAll();
    QTest::keyClicks(box, "0.0002");
    t.w.Command1_Click();
    EXPECT_EQ(t.coarse->value(), 100);
    EXPECT_EQ(t.fine->value(), 1000);
}

TEST(ScrollBars, BarsFollowEvenWhenADesignBoxIsRefused)
{
    Window t;
    test::box(t.w, "Text_Mmax")->setText("");
    t.coarse->setValue(21);
    EXPECT_EQ(t.pepoText(), "0.8");
    EXPECT_EQ(t.fine->value(), 201);
    EXPECT_TRUE(t.w.statusShowsRefusal());
    EXPECT_TRUE(t.log.pepo.empty());
    test::box(t.w, "Text_Mmax")->setText("2");
    EXPECT_EQ(t.pepo(), 0.8);
    EXPECT_EQ(t.w.model().state().i_NS, 66);
}

// A click in a bar's trough moves it one position, as its arrows do.
TEST(ScrollBars, AClickInTheTroughMovesOnePosition)
{
    ShownWindow t;
    for (QScrollBar* bar : {t.fine, t.coarse}) {
        const int before = bar->value();
        // Below the thumb, just above the lower arrow.
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          QPoint(bar->width() / 2, bar->height() - bar->width() - 4));
        EXPECT_EQ(bar->value(), before + 1) << bar->objectName().toStdString();
    }
    EXPECT_EQ(t.pepoText(), "0.99");
}

TEST(ScrollBars, DraggingTheThumbCalculatesAtEachPositionOnTheWay)
{
    ShownWindow t;
    // The thumb's middle, where its limit marks put a tick for its position.
    const auto* marks = t.w.findChild<LimitMarks*>("FineLimitMarks");
    QPoint at(t.fine->width() / 2, marks->markY(t.fine->value()) + marks->y() - t.fine->y());
    QTest::mousePress(t.fine, Qt::LeftButton, {}, at);
    ASSERT_TRUE(t.fine->isSliderDown());
    t.log.pepo.clear();
    std::vector<std::size_t> calculations;
    for (int i = 0; i < 3; ++i) {
        at.ry() += 3;
        QTest::mouseMove(t.fine, at);
        calculations.push_back(t.log.pepo.size());
        EXPECT_EQ(t.pepoText().toStdString(), t.w.logic().texts().pe_po);
    }
    QTest::mouseRelease(t.fine, Qt::LeftButton, {}, at);
    EXPECT_GT(calculations[0], 0u);
    EXPECT_GT(calculations[1], calculations[0]);
    EXPECT_GT(calculations[2], calculations[1]);
    EXPECT_LT(t.pepo(), 1);
}

TEST(ScrollBars, LimitMarksBesideTheBarsStandWhereTheThumbIsAtEachLimit)
{
    ShownWindow t;
    auto* coarseMarks = t.w.findChild<LimitMarks*>("CoarseLimitMarks");
    auto* fineMarks = t.w.findChild<LimitMarks*>("FineLimitMarks");
    ASSERT_TRUE(coarseMarks && fineMarks);
    // The start-up flow's limits are marked from the start.
    EXPECT_FALSE(coarseMarks->marks().empty());
    EXPECT_FALSE(fineMarks->marks().empty());
    t.w.Command1_Click();
    const std::vector<LimitMark> limits = t.w.logic().view().limitMarks;
    ASSERT_EQ(limits.size(), 3u);
    for (const auto& [marks, bar] : {std::pair{coarseMarks, t.coarse}, {fineMarks, t.fine}}) {
        // Right beside its bar, as tall.
        EXPECT_EQ(marks->x(), bar->geometry().right() + 1);
        EXPECT_EQ(marks->y(), bar->y());
        ASSERT_EQ(marks->marks().size(), 3u);
        int above = -1;
        for (std::size_t i = 0; i < 3; ++i) {
            const int position = bar == t.fine ? limits[i].fine : limits[i].coarse;
            const LimitMarks::Mark& mark = marks->marks()[i];
            EXPECT_EQ(mark.position, position);
            EXPECT_TRUE(mark.name.startsWith(QString::fromStdString(limits[i].name) + ", Pe/Po = "))
                << mark.name.toStdString();
            // Lower back pressures lower down the bar, each tick named.
            const int y = marks->markY(position);
            EXPECT_GT(y, above);
            above = y;
            EXPECT_EQ(marks->markAt(y), &mark);
            // With the bar there, a press at the tick takes the thumb.
            {
                const QSignalBlocker quiet(bar);
                bar->setValue(position);
            }
            const QPoint tick(bar->width() / 2, y + marks->y() - bar->y());
            QTest::mousePress(bar, Qt::LeftButton, {}, tick);
            EXPECT_TRUE(bar->isSliderDown()) << i;
            QTest::mouseRelease(bar, Qt::LeftButton, {}, tick);
            EXPECT_EQ(bar->value(), position);
        }
    }
}

} // namespace cdnozzle
