#include "plots/plot_scene.h"

#include "core/test_support.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace cdnozzle {

namespace {

std::vector<Segment> ofColor(const PlotScene& scene, SegmentColor color)
{
    std::vector<Segment> out;
    std::copy_if(scene.segments.begin(), scene.segments.end(), std::back_inserter(out),
                 [&](const Segment& s) { return s.color == color; });
    return out;
}

std::vector<double> gridXs(const PlotScene& scene)
{
    std::vector<double> xs;
    for (const Segment& s : ofColor(scene, SegmentColor::Grid)) {
        if (s.x1 == s.x2) xs.push_back(s.x1);
    }
    return xs;
}

std::vector<double> gridYs(const PlotScene& scene)
{
    std::vector<double> ys;
    for (const Segment& s : ofColor(scene, SegmentColor::Grid)) {
        if (s.y1 == s.y2 && s.x1 != s.x2) ys.push_back(s.y1);
    }
    return ys;
}

void expectWindow(const PlotScene& scene, double l, double t, double r, double b)
{
    EXPECT_EQ(scene.left, l);
    EXPECT_EQ(scene.top, t);
    EXPECT_EQ(scene.right, r);
    EXPECT_EQ(scene.bottom, b);
}

} // namespace

TEST(GeometryScene, StartUpPicture)
{
    const NozzleModel m = test::calculated("2", "1");
    const PlotScene& g = m.geometryScene();
    expectWindow(g, -0.2, -3.1, 2.4, 3.1);
    EXPECT_EQ(gridXs(g), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
    EXPECT_EQ(gridYs(g), (std::vector<double>{-3, -1, 1, 3}));
    for (const Segment& s : ofColor(g, SegmentColor::Grid)) {
        if (s.x1 == s.x2)
            EXPECT_TRUE(s.y1 == -3 && s.y2 == 3);
        else
            EXPECT_TRUE(s.x1 == 0 && s.x2 == 2);
    }
    const auto black = ofColor(g, SegmentColor::Foreground);
    ASSERT_EQ(black.size(), 2u + 2 * 99);
    EXPECT_EQ(black[0], (Segment{SegmentColor::Foreground, 0, 0, 2, 0}));
    EXPECT_EQ(black[1], (Segment{SegmentColor::Foreground, 1, -3, 1, 3}));
    // Walls: upper then mirrored, station by station from x = 0.05 to 2.
    const FlowState& s = m.state();
    EXPECT_EQ(black[2], (Segment{SegmentColor::Foreground, 0.05, s.y[1], 0.1, s.y[2]}));
    EXPECT_EQ(black[3], (Segment{SegmentColor::Foreground, 0.05, -s.y[1], 0.1, -s.y[2]}));
    EXPECT_EQ(black.back().x2, 2);
    EXPECT_NEAR(s.y[1], 5.80, 0.01);
    EXPECT_NEAR(s.y[2], 2.91, 0.01);
    EXPECT_TRUE(ofColor(g, SegmentColor::Red).empty());
}

TEST(GeometryScene, EndsWithTheMarksInDrawingOrder)
{
    for (const char* pepo : {"0.8", "0.5", "0.1"}) {
        const NozzleModel m = test::calculated("2", pepo);
        const auto& segs = m.geometryScene().segments;
        const Marks& marks = m.result().marks;
        ASSERT_GE(segs.size(), static_cast<std::size_t>(marks.size()));
        const std::size_t first = segs.size() - static_cast<std::size_t>(marks.size());
        for (int i = 0; i < marks.size(); ++i) {
            const Segment& seg = segs[first + static_cast<std::size_t>(i)];
            const Mark& mark = marks[i];
            EXPECT_EQ(seg.color,
                      mark.color == MarkColor::Red ? SegmentColor::Red : SegmentColor::Blue);
            EXPECT_EQ(seg.x1, mark.x1);
            EXPECT_EQ(seg.y2, mark.y2);
        }
    }
}

TEST(GeometryScene, AmaxSetsTheVerticalScaleAndGridOnly)
{
    const NozzleModel two = test::calculated("2", "1", "2");
    expectWindow(two.geometryScene(), -0.2, -2.1, 2.4, 2.1);
    EXPECT_EQ(gridYs(two.geometryScene()), (std::vector<double>{-2, 0, 2}));
    // No box gives an empty picture: zero, then a flipped window without grid.
    EXPECT_EQ(gridYs(test::calculated("2", "1", "").geometryScene()), (std::vector<double>{0}));
    const NozzleModel flipped = test::calculated("2", "1", "-3");
    EXPECT_GT(flipped.geometryScene().top, flipped.geometryScene().bottom);
    EXPECT_TRUE(gridYs(flipped.geometryScene()).empty());
}

TEST(GeometryScene, VerticalGridStopsAtTheLastHalfBeforeTheExit)
{
    const NozzleModel m = test::calculated("2.3", "1");
    EXPECT_EQ(gridXs(m.geometryScene()), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
    EXPECT_NEAR(m.geometryScene().right, 2.76, 1e-12);
}

TEST(MachScene, FrameOfTheStartUpNozzle)
{
    const NozzleModel m = test::calculated("2", "1");
    const PlotScene& g = m.machScene();
    expectWindow(g, -0.2, -3, 2.4, 0.5);
    EXPECT_EQ(gridXs(g), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
    EXPECT_EQ(gridYs(g), (std::vector<double>{-2, -1, 0}));
    const auto black = ofColor(g, SegmentColor::Foreground);
    ASSERT_EQ(black.size(), 2u);
    EXPECT_EQ(black[1], (Segment{SegmentColor::Foreground, 1, 0, 1, -2}));
    EXPECT_EQ(gridYs(test::calculated("2.5", "1").machScene()),
              (std::vector<double>{-2.5, -1.5, -0.5}));
}

TEST(MachScene, CurveWithTheDropAtTheShock)
{
    const NozzleModel m = test::calculated("2", "0.8");
    const FlowState& s = m.state();
    const auto red = ofColor(m.machScene(), SegmentColor::Red);
    // 65 segments to station 66, the drop, one to station 67, then 67..101.
    ASSERT_EQ(red.size(), 65u + 1 + 1 + 34);
    EXPECT_EQ(red[64], (Segment{SegmentColor::Red, s.x[65], -s.M[65], s.x[66], -s.M[66]}));
    EXPECT_EQ(red[65],
              (Segment{SegmentColor::Red, 1.575, -s.M[66], 1.575, -s.Me, SegmentKind::Shock}));
    EXPECT_EQ(red[66], (Segment{SegmentColor::Red, 1.575, -s.Me, s.x[67], -s.M[67]}));
    EXPECT_EQ(red.back(), (Segment{SegmentColor::Red, s.x[100], -s.M[100], 2.1, -s.M[101]}));
}

TEST(MachScene, NozzleAtRestLiesOnTheBaseLine)
{
    const auto red = ofColor(test::calculated("2", "1").machScene(), SegmentColor::Red);
    ASSERT_EQ(red.size(), 99u + 2);
    EXPECT_EQ(red.front().x1, 0.05);
    EXPECT_EQ(red.back().x2, 2.1);
    for (const Segment& s : red) EXPECT_TRUE(s.y1 == 0 && s.y2 == 0);
}

TEST(PressureScene, FixedScaleWithSixGridLines)
{
    for (const char* me : {"2", "3.7"}) {
        const NozzleModel m = test::calculated(me, "0.5");
        const PlotScene& g = m.thirdScene();
        EXPECT_EQ(g.top, -1.2);
        EXPECT_EQ(g.bottom, 0.2);
        const auto ys = gridYs(g);
        ASSERT_EQ(ys.size(), 6u);
        EXPECT_EQ(ys.front(), -1);
        EXPECT_NEAR(ys.back(), 0, 1e-15); // the sixth counter value is about -5.6e-17
    }
}

TEST(PressureScene, NozzleAtRestIsALineAtOne)
{
    const auto red = ofColor(test::calculated("2", "1").thirdScene(), SegmentColor::Red);
    for (const Segment& s : red) EXPECT_TRUE(s.y1 == -1 && s.y2 == -1);
    EXPECT_EQ(red.back().x2, 2.1);
}

TEST(PressureScene, JumpAtTheExitStationToTheBackPressure)
{
    const NozzleModel m = test::calculated("2", "0.5");
    const auto red = ofColor(m.thirdScene(), SegmentColor::Red);
    ASSERT_EQ(red.size(), 99u + 2);
    EXPECT_EQ(red[99],
              (Segment{SegmentColor::Red, 2, -m.state().PePo_OS, 2, -0.5, SegmentKind::Shock}));
    EXPECT_EQ(red[100], (Segment{SegmentColor::Red, 2, -0.5, 2.1, -0.5}));
}

} // namespace cdnozzle
