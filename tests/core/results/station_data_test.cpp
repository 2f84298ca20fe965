// SPDX-License-Identifier: MIT
#include "results/station_data.h"

#include "plots/plot_kind.h"
#include "results/flow_figures.h"

#include "core/test_support.h"
#include "text/number_text.h"

#include <sstream>

namespace cdnozzle {

TEST(StationCsv, RoundTripsToTheStationArrays)
{
    const NozzleModel m = test::calculated("2.5", "0.6");
    const FlowState& s = m.state();
    std::istringstream csv(stationCsv(s));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "i,x,y,AA,M,PiPo,T_T0,rho_rho0,V_astar");
    int rows = 0;
    while (std::getline(csv, line)) {
        ++rows;
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, ',');
        const int i = std::stoi(field);
        ASSERT_EQ(i, rows);
        for (const StationArray* column : {&s.x, &s.y, &s.AA, &s.M, &s.PiPo}) {
            std::getline(fields, field, ',');
            ASSERT_EQ(readLeadingNumber(field), (*column)[i]) << line;
        }
        const StationQuantities q = stationQuantities(s, s.M[i], s.PiPo[i]);
        for (double value : {q.T_T0, q.rho_rho0, q.V_astar}) {
            std::getline(fields, field, ',');
            ASSERT_EQ(readLeadingNumber(field), value) << line;
        }
    }
    EXPECT_EQ(rows, 101);
}

TEST(HoverReadout, NearestStationAndItsValues)
{
    const NozzleModel m = test::calculated("2", "0.8");
    const FlowState& s = m.state();
    EXPECT_EQ(nearestStation(s, 1.576), 66);
    EXPECT_EQ(nearestStation(s, -0.2), 1);
    EXPECT_EQ(nearestStation(s, 2.4), 101);
    // A convergent nozzle's stations 20 to 100 all stand at x = 1: the
    // throat, the first of them, is the one under the cursor.
    EXPECT_EQ(nearestStation(test::calculated("1", "0.8").state(), 1), 20);
    // The plot's own quantity first, then all the others of the station.
    const std::string four = formatRounded4(s.M[66]);
    const std::string all = "T/T0 = 0.6684, ρ/ρ0 = 0.3652, V/a* = 1.4105";
    EXPECT_EQ(hoverReadout(s, PlotKind::Mach, 1.576),
              "x = 1.576, station 66: M = " + four + ", p/p0 = 0.2441, " + all);
    EXPECT_EQ(hoverReadout(s, PlotKind::Third, 1.576),
              "x = 1.576, station 66: p/p0 = 0.2441, M = " + four + ", " + all);
    EXPECT_EQ(hoverReadout(s, PlotKind::Geometry, 1.576),
              "x = 1.576, station 66: y = 0.6152, A/At = 1.2305, M = " + four +
                  ", p/p0 = 0.2441, " + all);
    // The third plot's own quantity is the one it shows.
    EXPECT_EQ(hoverReadout(s, PlotKind::Third, 1.576, PlotQuantity::Temperature),
              "x = 1.576, station 66: T/T0 = 0.6684, M = " + four +
                  ", p/p0 = 0.2441, ρ/ρ0 = 0.3652, V/a* = 1.4105");
    EXPECT_EQ(hoverReadout(s, PlotKind::Third, 1.576, PlotQuantity::Density),
              "x = 1.576, station 66: ρ/ρ0 = 0.3652, M = " + four +
                  ", p/p0 = 0.2441, T/T0 = 0.6684, V/a* = 1.4105");
    EXPECT_TRUE(hoverReadout(s, PlotKind::Geometry, 2.3)
                    .starts_with("x = 2.3, station 101: behind the exit: M = 0.421"));
}

} // namespace cdnozzle
