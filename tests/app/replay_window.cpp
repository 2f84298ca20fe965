// SPDX-License-Identifier: MIT
// Replays a log of user events through the window, offscreen, and prints
// what the window's controls show after each event as one JSON array, in
// the form the web page's replay gives, so the two front ends can be
// compared.
//   cdnozzle-replay-window EVENTS.json
// EVENTS.json: [["editMeSup", "2.5"], ["moveCoarse", 21], ["hover", 1, 190, 377],
//               ["editEngine", "7 MPa", 0], ...]
#include "main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>

#include <nlohmann/json.hpp>

#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: cdnozzle-replay-window EVENTS.json\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    const nlohmann::json events = nlohmann::json::parse(in, nullptr, false);
    if (!events.is_array()) {
        std::cerr << "cdnozzle-replay-window: " << argv[1] << " is not a JSON array of events\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Remembered settings stay out of the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName("cdnozzle-replay");
    QSettings().clear();

    using namespace cdnozzle;
    MainWindow w;
    double clock = 0;
    w.setClock([&clock] { return clock; });
    w.setNotConvergedHandler([](const std::string&) {});
    std::string out = "[";
    for (const nlohmann::json& entry : events) {
        const std::string name = entry.at(0);
        const EventFormat* format = eventFormatNamed(name);
        if (!format) {
            std::cerr << "cdnozzle-replay-window: unknown event " << name << '\n';
            return 2;
        }
        Event e(format->kind);
        for (std::size_t i = 0; i < format->fields.size() && i + 1 < entry.size(); ++i) {
            const nlohmann::json& v = entry.at(i + 1);
            switch (format->fields[i]) {
            case 't': e.text = v.get<std::string>(); break;
            case 'n': e.number = v.get<double>(); break;
            case 'p': e.plot = v.get<int>(); break;
            case 'w': e.width = v.get<double>(); break;
            case 's': clock = v.get<double>(); break;
            }
        }
        // A box's text is typed into the box, as a user does.
        const char* box = e.kind == EventKind::EditMeSup  ? "Text_Mmax"
                          : e.kind == EventKind::EditAmax ? "Text_AAmax"
                          : e.kind == EventKind::EditPePo ? "Text_PePo"
                                                          : nullptr;
        std::string engineBox;
        if (e.kind == EventKind::EditEngine) {
            const std::vector<EngineField> fields = w.logic().view().engine;
            const auto i = static_cast<std::size_t>(e.number);
            if (e.number >= 0 && i < fields.size()) engineBox = fields[i].id;
            box = engineBox.empty() ? nullptr : engineBox.c_str();
        }
        if (box) {
            auto* edit = w.findChild<QLineEdit*>(box);
            const QSignalBlocker quiet(edit);
            edit->setText(QString::fromStdString(e.text));
        }
        w.dispatch(e);
        std::string shown = w.shownJson();
        if (e.kind == EventKind::Export) {
            const ExportFile& f = w.logic().lastExport();
            shown.pop_back();
            shown += ",\"export\":{\"name\":" + jsonQuoted(f.name) +
                     ",\"text\":" + jsonQuoted(f.text) + "}}";
        }
        out += (out.size() > 1 ? "," : "") + shown;
    }
    std::cout << out << "]\n";
    return std::cout.good() ? 0 : 1;
}
