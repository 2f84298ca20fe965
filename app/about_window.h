// SPDX-License-Identifier: MIT
// The About window: six lines of static text on the plot's light yellow.
// Modeless; the main window keeps at most one and shows it again.
#pragma once

#include <QWidget>

namespace cdnozzle {

class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

} // namespace cdnozzle
