#include "MessageBoxPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace precivox {
namespace {

std::vector<QMessageBox*> boxesOnScreen() {
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            boxes.push_back(box);
    return boxes;
}

// Runs `step` inside the event loop of the box that is about to open.
void whileTheNextBoxIsOpen(std::function<void()> step) {
    QTimer::singleShot(0, std::move(step));
}

void closeTopBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
}

// Ticks go on under an open error box: while the database is down each failed scan
// reports the same error again.
TEST(MessageBoxPrompter, SameBoxWhileItIsOnScreenIsLoggedInsteadOfStacked) {
    int argc = 1;
    char name[] = "message_box_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    std::ostringstream log;
    MessageBoxPrompter boxes(nullptr, log);
    const std::string error = "Can't connect to server on '127.0.0.1' (111).";

    std::vector<std::string> seen;
    // Should a box stay open against expectation, this ends the test instead of a hang.
    QTimer watchdog;
    watchdog.callOnTimeout([&] {
        seen.push_back("closed by the watchdog");
        for (QMessageBox* box : boxesOnScreen())
            box->button(QMessageBox::Ok)->click();
    });
    watchdog.start(10'000);
    whileTheNextBoxIsOpen([&] {
        boxes.showMessage("Precivox", error, MessageIcon::error);
        seen.push_back("same again: " + std::to_string(boxesOnScreen().size()));
        whileTheNextBoxIsOpen([&] {
            seen.push_back("another: " + std::to_string(boxesOnScreen().size()));
            closeTopBox();
        });
        boxes.showMessage("Precivox", "Lost connection to server during query.",
                          MessageIcon::error);
        seen.push_back("another closed: " + std::to_string(boxesOnScreen().size()));
        closeTopBox();
    });
    boxes.showMessage("Precivox", error, MessageIcon::error);
    EXPECT_EQ(seen, (std::vector<std::string>{"same again: 1", "another: 2", "another closed: 1"}));
    EXPECT_EQ(log.str(), "box not shown again, the same is on screen: [Precivox] " + error + "\n");

    whileTheNextBoxIsOpen([&] {
        seen.push_back("after it was closed: " + std::to_string(boxesOnScreen().size()));
        closeTopBox();
    });
    boxes.showMessage("Precivox", error, MessageIcon::error);
    EXPECT_EQ(seen.back(), "after it was closed: 1");
}

} // namespace
} // namespace precivox
