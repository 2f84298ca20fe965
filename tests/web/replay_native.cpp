// Replays a script of user events through the window's logic natively and
// prints the state after each event as JSON, in the form the web page's
// replay gives, so the two can be compared.
//   cdnozzle-replay EVENTS.json
// EVENTS.json: [["editMeSup", "2.5"], ["moveCoarse", 21], ["hover", 1, 1.5], ...]
#include "panel/window_logic.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iostream>

namespace {

using nlohmann::json;
using namespace cdnozzle;

json sceneJson(const PlotScene& scene)
{
    json segments = json::array();
    for (const Segment& s : scene.segments)
        segments.push_back({static_cast<int>(s.color), s.x1, s.y1, s.x2, s.y2});
    return {{"left", scene.left},
            {"top", scene.top},
            {"right", scene.right},
            {"bottom", scene.bottom},
            {"segments", segments}};
}

json dump(const WindowLogic& logic)
{
    const NozzleModel& m = logic.model();
    json scenes = nullptr;
    if (logic.calculated())
        scenes = {sceneJson(m.geometryScene()), sceneJson(m.machScene()),
                  sceneJson(m.pressureScene())};
    return {{"texts", {logic.texts().me_sup, logic.texts().amax, logic.texts().pe_po}},
            {"bars", {logic.coarsePosition(), logic.finePosition()}},
            {"report", logic.reportLines()},
            {"status", logic.statusText()},
            {"statusKind", static_cast<int>(logic.statusKind())},
            {"refusal", logic.statusIsRefusal()},
            {"scenes", scenes},
            {"explanation", logic.explanation()}};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: cdnozzle-replay EVENTS.json\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    const json events = json::parse(in, nullptr, false);
    if (!events.is_array()) {
        std::cerr << "cdnozzle-replay: " << argv[1] << " is not a JSON array of events\n";
        return 2;
    }
    WindowLogic logic;
    json states = json::array();
    for (const json& e : events) {
        const std::string name = e.at(0);
        if (name == "editMeSup") logic.editMeSup(e.at(1));
        else if (name == "editAmax") logic.editAmax(e.at(1));
        else if (name == "editPePo") logic.editPePo(e.at(1));
        else if (name == "calculate") logic.pressCalculate();
        else if (name == "clickGeometry") logic.clickGeometry();
        else if (name == "moveCoarse") logic.moveCoarse(e.at(1));
        else if (name == "moveFine") logic.moveFine(e.at(1));
        else if (name == "hover") logic.hover(static_cast<PlotKind>(e.at(1).get<int>()), e.at(2));
        else if (name == "leave") logic.leavePlot();
        else if (name == "scenario") logic.openScenario({e.at(1), e.at(2), e.at(3)});
        else {
            std::cerr << "cdnozzle-replay: unknown event " << name << '\n';
            return 2;
        }
        states.push_back(dump(logic));
    }
    std::cout << states.dump() << '\n';
    return std::cout.good() ? 0 : 1;
}
