// SPDX-License-Identifier: MIT
// A thin strip beside a back-pressure bar with a short tick at each limit
// back pressure, where the bar's thumb stands when the bar is at the
// limit's position. Hovering a tick names the limit.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QScrollBar;

namespace cdnozzle {

class LimitMarks : public QWidget {
    Q_OBJECT
  public:
    struct Mark {
        int position; // the bar's position that stands for the limit
        QString name; // "subsonic limit, Pe/Po = 0.9088"
        bool operator==(const Mark&) const = default;
    };

    // The strip beside bar, laid out at the bar's height.
    LimitMarks(QScrollBar* bar, QWidget* parent);

    // No marks before anything is calculated.
    void setMarks(std::vector<Mark> marks);
    const std::vector<Mark>& marks() const { return marks_; }

    // The strip's y for a position of the bar: its place along the bar's
    // groove, under the thumb whenever the bar stands there.
    int markY(int position) const;
    // The mark at the strip's y (within a few pixels), or nullptr.
    const Mark* markAt(int y) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QScrollBar* bar_;
    std::vector<Mark> marks_;
};

} // namespace cdnozzle
