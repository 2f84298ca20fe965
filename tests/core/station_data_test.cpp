#include "station_data.h"

#include "core/test_support.h"
#include "number_text.h"

#include <sstream>

namespace cdnozzle {

TEST(StationCsv, RoundTripsToTheStationArrays)
{
    const NozzleModel m = test::calculated("2.5", "0.6");
    const FlowState& s = m.state();
    std::istringstream csv(stationCsv(s));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "i,x,y,AA,M,PiPo");
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
    EXPECT_EQ(hoverReadout(s, PlotKind::Mach, 1.576),
              "x = 1.576, station 66: M = " + formatGeneral(roundHalfEven4(s.M[66])));
    EXPECT_EQ(hoverReadout(s, PlotKind::Pressure, 1.576),
              "x = 1.576, station 66: p/p0 = " + formatGeneral(roundHalfEven4(s.PiPo[66])));
    EXPECT_EQ(hoverReadout(s, PlotKind::Geometry, 1.576),
              "x = 1.576, station 66: y = 0.6152, A/At = 1.2305");
    EXPECT_EQ(hoverReadout(s, PlotKind::Geometry, 2.3), "x = 2.3, station 101: behind the exit");
}

} // namespace cdnozzle
