// SPDX-License-Identifier: MIT
#include "gui_test_support.h"
#include "plot_render.h"
#include "plots/palette.h"

#include <QImage>
#include <QPainter>
#include <QSettings>

#include <algorithm>
#include <cstdlib>

namespace cdnozzle {

namespace {

// A pixel of a curve: the palette's flow blue (bluer than the grid, the
// walls, the purple limits and the yellow background, also where smoothing
// blends it with the background) or its shock vermillion.
bool isRed(QRgb c)
{
    const Rgb flow = paletteColor(PaletteRole::Flow), shock = paletteColor(PaletteRole::Shock);
    const bool blue = qBlue(c) > qRed(c) + 40 && flow.b > flow.r + 40;
    const bool vermillion =
        std::abs(qRed(c) - shock.r) < 40 && std::abs(qGreen(c) - shock.g) < 50 && qBlue(c) < 80;
    return blue || vermillion;
}

int redPixelsInColumn(const QImage& image, int column)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) count += isRed(image.pixel(column, y));
    return count;
}

QImage paintGeometry(const PlotScene& scene, QSize size)
{
    return renderImage(drawScene(scene, size.width(), size.height(), 1));
}

// Column of the image at plot abscissa x.
int columnOf(const PlotScene& scene, double x, int width)
{
    return static_cast<int>((x - scene.left) / (scene.right - scene.left) * width);
}

} // namespace

TEST(PlotView, NormalShockIsPaintedInItsColourAtItsStationOnly)
{
    MainWindow w;
    test::box(w, "Text_PePo")->setText("0.8");
    w.Command1_Click();
    const PlotScene& scene = w.logic().scene(PlotKind::Geometry);
    const QImage image = paintGeometry(scene, {377, 185});
    int atShock = 0;
    for (int dx = -1; dx <= 1; ++dx)
        atShock += redPixelsInColumn(image, columnOf(scene, 1.575, 377) + dx);
    EXPECT_GT(atShock, 20);
    EXPECT_EQ(redPixelsInColumn(image, columnOf(scene, 1.2, 377)), 0);
}

TEST(PlotView, WidgetKeepsItsPictureAcrossRepaints)
{
    MainWindow w;
    w.show();
    test::box(w, "Text_PePo")->setText("0.8");
    w.Command1_Click();
    PlotView* view = test::plot(w, "Picture_Mach");
    const QImage once = view->grab().toImage();
    w.resize(w.size()); // an ordinary repaint
    const QImage again = view->grab().toImage();
    EXPECT_EQ(once, again);
    int red = 0;
    for (int x = 0; x < once.width(); ++x) red += redPixelsInColumn(once, x) > 0;
    EXPECT_GT(red, once.width() / 2); // the Mach curve runs along most of the plot
}

// The window paints the display list the logic gives for each plot at the
// plot's size, the list the page paints: a logic fed the same events, apart
// from the window, gives the same lines and texts, at the zoom as a scale,
// with the projector's styles and captions and the banner's room; and the
// geometry plot's pixels are that list's.
TEST(PlotView, TheWindowPaintsTheLogicsDisplayListForTheSameEvents)
{
    const Event calculate(EventKind::Calculate), refuse(EventKind::EditMeSup, "");
    const Event projector(EventKind::Projector, 1.0);
    const struct {
        const char* state;
        std::vector<Event> events;
    } rows[] = {
        {"start-up flow", {}},
        {"shock inside", {Event(EventKind::EditPePo, "0.8"), calculate}},
        {"nothing calculated", {calculate, Event(EventKind::Reset)}},
        {"refused box, banner over the plots", {calculate, refuse}},
        {"zoomed", {calculate, Event(EventKind::Setting, "zoom=2")}},
        {"projector", {calculate, projector}},
        {"projector, Mach alone", {calculate, projector, Event(EventKind::ProjectorPlot, 2.0)}},
        {"projector, refused box", {calculate, projector, refuse}},
    };
    const char* names[] = {"Picture_Geo", "Picture_Mach", "Picture_PiPo"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.state);
        QSettings().clear();
        MainWindow w;
        WindowLogic apart(w.logic().texts());
        apart.handle(Event(EventKind::Start));
        for (const Event& e : row.events) {
            w.dispatch(e);
            apart.handle(e);
        }
        for (int i = 0; i < 3; ++i) {
            const auto kind = static_cast<PlotKind>(i);
            PlotView* view = test::plot(w, names[i]);
            // (Painting lays out what a zoom left pending, so it comes first.)
            const QImage painted = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(view->isVisibleTo(&w), apart.plotShown(kind)) << names[i];
            const DisplayList expected =
                apart.displayList(kind, view->width(), view->height(), apart.view().zoom);
            EXPECT_EQ(view->picture(), expected) << names[i];
            if (kind == PlotKind::Geometry) {
                EXPECT_EQ(painted, renderImage(expected).convertToFormat(QImage::Format_RGB32));
            }
        }
    }
    QSettings().clear();
}

// The painter draws each line at its width and with its dashes, and each
// text on its point by its anchor: its start, its middle or its end.
TEST(PlotView, LinesTakeTheirWidthAndDashesAndTextsTheirAnchor)
{
    const Rgb ink = paletteColor(PaletteRole::Foreground);
    const auto dark = [](const QImage& image, int x, int y) {
        return qGray(image.pixel(x, y)) < 128;
    };
    DisplayList lines;
    lines.width = 200;
    lines.height = 80;
    lines.lines = {{10, 20, 190, 20, ink, 4, Crisp::Horizontal},
                   {10, 50, 190, 50, ink, 1, Crisp::Horizontal, 6, 4}};
    const QImage image = renderImage(lines);
    int rows = 0;
    for (int y = 10; y < 30; ++y) rows += dark(image, 100, y);
    EXPECT_EQ(rows, 4);
    // Six pixels of every ten along the dashed line.
    int inked = 0;
    for (int x = 10; x < 190; ++x) inked += dark(image, x, 49) || dark(image, x, 50);
    EXPECT_NEAR(inked, 180 * 6 / 10, 6);

    const struct {
        Align align;
        const char* name;
    } anchors[] = {{Align::Left, "start"}, {Align::Center, "middle"}, {Align::Right, "end"}};
    for (const auto& a : anchors) {
        DisplayList list;
        list.width = 200;
        list.height = 60;
        list.texts = {{100, 40, "MWMW", 20, false, ink, a.align}};
        const QImage text = renderImage(list);
        int left = list.width, right = -1;
        for (int y = 0; y < text.height(); ++y) {
            for (int x = 0; x < text.width(); ++x) {
                if (!dark(text, x, y)) continue;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        ASSERT_GT(right - left, 40) << a.name;
        const double middle = 0.5 * (left + right);
        const double at = a.align == Align::Left ? left : a.align == Align::Right ? right : middle;
        EXPECT_NEAR(at, 100, 3) << a.name << ": ink from " << left << " to " << right;
    }
}

TEST(PlotView, SegmentsFarOutsideTheWindowAreCutNotLost)
{
    PlotScene scene;
    scene.left = 0;
    scene.right = 10;
    scene.top = 0;
    scene.bottom = 10;
    // A line from far above to far below through x = 5, and one wholly outside.
    scene.segments.push_back({SegmentColor::Red, 5, -1e9, 5, 1e9});
    scene.segments.push_back({SegmentColor::Red, 20, 0, 30, 10});
    scene.segments.push_back({SegmentColor::Blue, -1e300, -1e300, 1e300, 1e300});
    const QImage image = paintGeometry(scene, {100, 100});
    EXPECT_GE(redPixelsInColumn(image, 50) + redPixelsInColumn(image, 49), 95);
    EXPECT_EQ(redPixelsInColumn(image, 99), 0);
}

TEST(PlotView, DegenerateWindowPaintsOnlyTheBackground)
{
    PlotScene scene;
    scene.segments.push_back({SegmentColor::Red, 0, 0, 1, 1});
    const QImage image = paintGeometry(scene, {50, 50});
    for (int x = 0; x < 50; ++x) ASSERT_EQ(redPixelsInColumn(image, x), 0);
}

} // namespace cdnozzle
