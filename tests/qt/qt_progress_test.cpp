#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QThread>

#include "platform/qt/qt_progress.h"

namespace koltar {
namespace {

// A widget that counts the clicks and keys it gets.
class Counter final : public QWidget {
 public:
  int clicks = 0;
  int keys = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++clicks; }
  void keyPressEvent(QKeyEvent*) override { ++keys; }
};

class Progress : public ::testing::Test {
 protected:
  Progress() {
    window.setCentralWidget(target);
    for (QLabel* f : {&a, &b, &c}) window.statusBar()->addPermanentWidget(f);
    window.resize(800, 600);
    window.show();
    QApplication::processEvents();
  }

  // Lets the poll interval pass so that the next EscapePressed looks at the queue.
  static void WaitForPoll() { QThread::msleep(QtProgress::kPollInterval + 2); }

  void PostEscape() {
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  }

  void PostClick() {
    const QPointF at(10, 10);
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, at, target->mapToGlobal(at),
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  }

  QMainWindow window;
  Counter* target = new Counter;
  QLabel a{"1 : 25 000 "}, b{"X"}, c{"last"};
  QtProgress progress{window.statusBar(), {&a, &b, &c}};
};

TEST_F(Progress, OnlyTheLastFieldStaysDuringAnOperation) {
  progress.Start("Megszak\xEDt\xE1s: ESC");
  EXPECT_FALSE(a.isVisible());
  EXPECT_FALSE(b.isVisible());
  EXPECT_TRUE(c.isVisible());
  ASSERT_NE(progress.textField(), nullptr);
  EXPECT_EQ(progress.textField()->text(), QString::fromUtf8("Megszakítás: ESC"));
  // Three quarters of the text's 16 characters.
  EXPECT_EQ(progress.textField()->minimumWidth(),
            progress.textField()->fontMetrics().averageCharWidth() * 12);
  ASSERT_NE(progress.gauge(), nullptr);
  EXPECT_EQ(progress.gauge()->width(), 300);
  progress.Set(25);
  EXPECT_EQ(progress.gauge()->value(), 25);
  progress.End();
  EXPECT_TRUE(a.isVisible());
  EXPECT_TRUE(b.isVisible());
  EXPECT_TRUE(c.isVisible());
  EXPECT_EQ(progress.textField(), nullptr);
  EXPECT_EQ(progress.gauge(), nullptr);
}

TEST_F(Progress, EscapeIsSeenByEveryEnclosingLoopAndForgottenAtTheEnd) {
  progress.Start("outer");
  progress.Start("inner");
  WaitForPoll();
  EXPECT_FALSE(progress.EscapePressed());
  PostEscape();
  WaitForPoll();
  EXPECT_TRUE(progress.EscapePressed());  // the innermost loop
  progress.End();
  EXPECT_TRUE(progress.EscapePressed());  // the enclosing loop sees the same press
  progress.End();
  EXPECT_EQ(target->keys, 0);  // the key never reached the window

  progress.Start("next");
  WaitForPoll();
  EXPECT_FALSE(progress.EscapePressed());
  progress.End();
}

TEST_F(Progress, InputDuringAnOperationIsThrownAway) {
  progress.Start("drawing");
  PostClick();
  WaitForPoll();
  EXPECT_FALSE(progress.EscapePressed());
  PostClick();  // still queued when the operation ends
  progress.End();
  QApplication::processEvents();
  EXPECT_EQ(target->clicks, 0);
  // Afterwards clicks arrive again.
  PostClick();
  QApplication::processEvents();
  EXPECT_EQ(target->clicks, 1);
}

// Input that supersedes the operation stops it as ESC does; it and the same window's
// input after it arrive once the operation has ended, in order, but not an ESC, and
// another window's input is thrown away as always.
TEST_F(Progress, SupersedingInputStopsTheOperationAndArrivesAfterIt) {
  Counter other;
  other.show();
  progress.SetSuperseding({[this](QObject* watched, QEvent* event) {
                             return watched == target && event->type() == QEvent::KeyPress;
                           },
                           [this](QObject* watched) { return watched == target; }});
  progress.Start("drawing");
  PostClick();  // before the superseding input: thrown away
  WaitForPoll();
  EXPECT_FALSE(progress.EscapePressed());
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
  PostClick();
  PostEscape();
  QCoreApplication::postEvent(&other, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
  WaitForPoll();
  EXPECT_TRUE(progress.EscapePressed());
  EXPECT_EQ(target->keys, 0);
  EXPECT_EQ(target->clicks, 0);
  progress.End();
  EXPECT_TRUE(progress.superseded());
  QApplication::processEvents();
  EXPECT_EQ(target->keys, 1);
  EXPECT_EQ(target->clicks, 1);
  EXPECT_EQ(other.keys, 0);

  // The next operation has no superseding input unless it is named again.
  progress.Start("drawing");
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
  WaitForPoll();
  EXPECT_FALSE(progress.EscapePressed());
  progress.End();
  EXPECT_FALSE(progress.superseded());
  QApplication::processEvents();
  EXPECT_EQ(target->keys, 1);
}

TEST_F(Progress, PollsLookAtTheQueueOnlyEveryFewMilliseconds) {
  progress.Start("drawing");
  WaitForPoll();
  EXPECT_FALSE(progress.EscapePressed());
  PostEscape();
  // Right after a look, the next polls return at once without handling events.
  EXPECT_FALSE(progress.EscapePressed());
  WaitForPoll();
  EXPECT_TRUE(progress.EscapePressed());
  progress.End();
}

TEST_F(Progress, EscapeOutsideAnOperationIsNotLatched) {
  EXPECT_FALSE(progress.EscapePressed());
  progress.End();  // an unmatched end does nothing
  EXPECT_TRUE(a.isVisible());
}

}  // namespace
}  // namespace koltar
