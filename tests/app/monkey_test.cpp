// SPDX-License-Identifier: MIT
// Two thousand random user actions from a fixed seed. After each one the
// window must be consistent: finite scenes, a report that opens with the
// geometry lines of the last accepted input, bars inside their ranges, and
// "Pe/Po =" equal to the state's Pe/Po while the status line shows a regime.
#include "gui_test_support.h"

#include "audit/audit.h"
#include "text/number_text.h"

#include <QApplication>
#include <QTest>

#include <random>

namespace cdnozzle {

namespace {

class Monkey {
  public:
    explicit Monkey(MainWindow& w) : w_(w)
    {
        boxes_ = {test::box(w, "Text_Mmax"), test::box(w, "Text_AAmax"), test::box(w, "Text_PePo")};
        coarse_ = test::bar(w, "VScroll1");
        fine_ = test::bar(w, "VScroll2");
    }

    std::string act()
    {
        switch (pick(10)) {
        case 0:
        case 1: {
            QLineEdit* box = anyBox();
            if (box->text().size() > 10) box->clear();
            static const char keys[] = "0123456789.-+eED, x\t";
            const char c = keys[pick(sizeof keys - 1)];
            box->setFocus();
            box->setCursorPosition(
                static_cast<int>(pick(static_cast<std::size_t>(box->text().size()) + 1)));
            if (c == '\t')
                box->insert("\t"); // a tab typed into the box, not focus movement
            else
                QTest::keyClick(box, c);
            return "type '" + std::string(1, c) + "' into " + box->objectName().toStdString();
        }
        case 2: {
            QLineEdit* box = anyBox();
            box->setFocus();
            QTest::keyClick(box, pick(2) ? Qt::Key_Backspace : Qt::Key_Delete);
            return "delete in " + box->objectName().toStdString();
        }
        case 3: w_.Command1_Click(); return "Calculate";
        case 4: {
            const int v = 1 + static_cast<int>(pick(100));
            coarse_->setValue(v);
            return "coarse to " + std::to_string(v);
        }
        case 5: {
            const int v = 1 + static_cast<int>(pick(1000));
            fine_->setValue(v);
            return "fine to " + std::to_string(v);
        }
        case 6: {
            QScrollBar* bar = pick(2) ? coarse_ : fine_;
            bar->setFocus();
            QTest::keyClick(bar, pick(2) ? Qt::Key_Down : Qt::Key_Up);
            return "one step on " + bar->objectName().toStdString();
        }
        case 7: {
            QTest::mouseClick(test::plot(w_, "Picture_Geo"), Qt::LeftButton, {}, QPoint(10, 10));
            return "click the geometry plot";
        }
        case 8: {
            w_.Mn_About_Click();
            QApplication::processEvents();
            w_.aboutWindow()->close();
            return "About";
        }
        default: {
            QLineEdit* box = anyBox();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
            return "clear " + box->objectName().toStdString();
        }
        }
    }

  private:
    std::size_t pick(std::size_t n)
    {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }
    QLineEdit* anyBox() { return boxes_[pick(3)]; }

    MainWindow& w_;
    std::mt19937 rng_{424242};
    std::array<QLineEdit*, 3> boxes_{};
    QScrollBar* coarse_ = nullptr;
    QScrollBar* fine_ = nullptr;
};

InputTexts textsOf(const MainWindow& w)
{
    return {test::box(w, "Text_Mmax")->text().toStdString(),
            test::box(w, "Text_AAmax")->text().toStdString(),
            test::box(w, "Text_PePo")->text().toStdString()};
}

} // namespace

TEST(Monkey, TwoThousandRandomActionsKeepTheWindowConsistent)
{
    MainWindow w;
    w.setNotConvergedHandler([](const std::string& m) { ADD_FAILURE() << m; });
    w.show();
    Monkey monkey(w);
    InputTexts lastAccepted;
    int seen = 0;
    for (int n = 0; n < 2000; ++n) {
        const std::string action = monkey.act();
        const std::string where = "action " + std::to_string(n) + ": " + action;
        if (w.calculationCount() != seen) {
            seen = w.calculationCount();
            lastAccepted = textsOf(w);
        }
        ASSERT_GE(test::bar(w, "VScroll1")->value(), 1) << where;
        ASSERT_LE(test::bar(w, "VScroll1")->value(), 100) << where;
        ASSERT_GE(test::bar(w, "VScroll2")->value(), 1) << where;
        ASSERT_LE(test::bar(w, "VScroll2")->value(), 1000) << where;
        if (seen == 0) continue;

        const auto bad = findNonFinite(w.model());
        ASSERT_FALSE(bad) << where << ": " << *bad;
        for (const char* name : {"Picture_Geo", "Picture_Mach", "Picture_PiPo"}) {
            ASSERT_TRUE(test::paintsFlow(w, name)) << where;
        }
        NozzleModel reference(lastAccepted);
        ASSERT_FALSE(reference.calculate(lastAccepted)) << where;
        const QStringList list = test::listLines(w);
        ASSERT_GE(list.size(), 6) << where;
        for (int i = 0; i < 6; ++i) {
            ASSERT_EQ(list[i].toStdString(), reference.result().report[i]) << where;
        }
        if (w.statusKind() == MainWindow::StatusKind::Regime) {
            ASSERT_EQ(readLeadingNumber(test::box(w, "Text_PePo")->text().toStdString()),
                      w.model().state().PePo)
                << where;
        }
    }
    EXPECT_GT(seen, 200);
}

} // namespace cdnozzle
