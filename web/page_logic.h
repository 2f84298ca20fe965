// SPDX-License-Identifier: MIT
// The window's logic as the page holds it (bound with embind in
// bindings.cpp; the tests' and the benchmark's hooks in test_hooks.cpp reach
// it too): every user action handed over as an Event, the view's changed
// sections read back as typed values, a plot's display list as one typed
// array.
#pragma once

#include "panel/window_logic.h"

#include <emscripten/val.h>

#include <array>
#include <string>
#include <vector>

namespace cdnozzle {

// The display list's lines flat, eleven numbers each: [x1, y1, x2, y2, r,
// g, b, width, crisp, dashOn, dashOff]* (crisp: 0 no, 1 vertical, 2
// horizontal).
std::vector<double> flatLines(const DisplayList& list);
// The texts from first up to (not including) last as JSON (with their
// alignment as a canvas names it).
std::string textsOf(const DisplayList& list, std::size_t first = 0,
                    std::size_t last = static_cast<std::size_t>(-1));

class PageLogic {
  public:
    PageLogic();

    // An event by its log name and fields; a name the log does not know is
    // nothing.
    void handle(const std::string& name, const std::string& text, double number, int plot,
                double width, double time);
    // The view's sections whose revision moved since the last call (all of
    // them the first time), as one object: {boxes: {..., revision}, bars:
    // ..., plot0: ..., plot1: ..., plot2: ...}. A play's step passes on
    // the few sections it changes; holdReadouts keeps those a fast play
    // shows at most kReadoutsPerSecond times a second (the boxes, the
    // status, the report, the engine) for a later call.
    emscripten::val viewChanges(bool holdReadouts);
    // A plot's display list, kept until the next one: returns how many
    // lines it has. linesAddress() is where they lie in the module's
    // memory, eleven numbers each as flatLines lists them (the page copies
    // them from there); steadyLines() is how many of the first stay while
    // only the back pressure moves; steadyTexts() and movingTexts() its
    // texts as JSON, those that stay and the rest, each empty when it is the
    // same as this plot's the last time (the page keeps what it was given).
    int displayList(int plot, double width, double height, double scale);
    int linesAddress() const;
    int steadyLines() const { return steadyLines_; }
    const std::string& steadyTexts() const { return steadyTexts_; }
    const std::string& movingTexts() const { return movingTexts_; }
    emscripten::val plotMenu(int plot) const;
    emscripten::val otherGasPrompt() const;
    emscripten::val lastExport() const;
    bool playing() const { return logic_.playing(); }
    int messageCount() const { return static_cast<int>(messages_.size()); }
    emscripten::val takeMessages();
    const WindowLogic& logic() const { return logic_; }

  private:
    WindowLogic logic_;
    std::string steadyTexts_, movingTexts_;
    std::array<std::string, 3> lastSteadyTexts_, lastMovingTexts_;
    std::vector<double> flat_;
    int steadyLines_ = 0;
    // Each section's revision as last passed on.
    std::array<int, 11> passed_{};
    std::vector<std::string> messages_;
};

} // namespace cdnozzle
