#include "skinctrls/TbsSkinNumEdit.h"
#include "skinctrls/TbsSkinSpinEdit.h"
#include "tests/skinctrls/TestSink.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace rasp;

TEST(SpinEditTest, WithoutBoundsAnyIntegerIsAccepted)
{
    TbsSkinSpinEdit spin;
    QSignalSpy changes(&spin, &TbsSkinSpinEdit::Change);
    for (const char* text : {"0", "-17", "123456"}) {
        spin.SetText(QString::fromLatin1(text));
        EXPECT_EQ(spin.Value(), QString::fromLatin1(text).toDouble());
    }
    // "0" was already the value: only the two others changed it.
    EXPECT_EQ(changes.count(), 2);
}

TEST(SpinEditTest, EqualNonZeroBoundsClampEverything)
{
    TbsSkinSpinEdit spin;
    spin.SetMinValue(5);
    spin.SetMaxValue(5);
    spin.SetText("9");
    EXPECT_EQ(spin.Value(), 5);
    EXPECT_EQ(spin.Text(), "5");
    spin.SetValue(-4);
    EXPECT_EQ(spin.Value(), 5);
}

TEST(SpinEditTest, BoundAssignmentPullsTheValue)
{
    TbsSkinSpinEdit spin;
    spin.SetMaxValue(100);
    spin.SetValue(50);
    QSignalSpy changes(&spin, &TbsSkinSpinEdit::Change);
    spin.SetMinValue(60);
    EXPECT_EQ(spin.Value(), 60);
    spin.SetMinValue(0);
    spin.SetMaxValue(55);
    EXPECT_EQ(spin.Value(), 55);
    EXPECT_EQ(changes.count(), 2);
}

TEST(SpinEditTest, AssignmentRaisesChangeExactlyOnce)
{
    TbsSkinSpinEdit spin;
    spin.SetValue(3);
    QSignalSpy changes(&spin, &TbsSkinSpinEdit::Change);
    spin.SetValue(3);
    EXPECT_EQ(changes.count(), 1);

    // An assignment made inside Change shows but raises nothing more.
    int calls = 0;
    QObject::connect(&spin, &TbsSkinSpinEdit::Change, [&] {
        ++calls;
        if (spin.Value() == 0)
            spin.SetValue(1);
    });
    spin.SetText("0");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(spin.Value(), 1);
    EXPECT_EQ(spin.Text(), "1");
}

TEST(SpinEditTest, TypingMinusAloneChangesNothing)
{
    TbsSkinSpinEdit spin;
    spin.SetValue(4);
    spin.SetText("");
    QSignalSpy changes(&spin, &TbsSkinSpinEdit::Change);
    QTest::keyClicks(spin.Editor(), "--");
    EXPECT_EQ(spin.Text(), "-");
    EXPECT_EQ(spin.Value(), 4);
    EXPECT_EQ(changes.count(), 0);
    QTest::keyClicks(spin.Editor(), "7x.");
    EXPECT_EQ(spin.Text(), "-7");
    EXPECT_EQ(spin.Value(), -7);
}

TEST(SpinEditTest, IntegerTypeRoundsTheIncrement)
{
    TbsSkinSpinEdit spin;
    spin.SetIncrement(2.6);
    spin.SetValueType(vtInteger);
    EXPECT_EQ(spin.Increment(), 3);
    spin.SetIncrement(0.4);
    spin.SetValueType(vtInteger);
    EXPECT_EQ(spin.Increment(), 1);
    spin.SetValueType(vtFloat);
    spin.SetIncrement(0.5);
    QTest::keyClicks(spin.Editor(), ".");  // a separator is allowed now
    spin.SetValue(1);
    EXPECT_EQ(spin.Text(), "1.00");
}

TEST(SpinEditTest, KeysAndWheelStep)
{
    TbsSkinSpinEdit spin;
    QTest::keyClick(spin.Editor(), Qt::Key_Up);
    QTest::keyClick(spin.Editor(), Qt::Key_Up);
    EXPECT_EQ(spin.Value(), 2);
    QTest::keyClick(spin.Editor(), Qt::Key_Down);
    EXPECT_EQ(spin.Value(), 1);
    // Away from the user steps down, towards the user up.
    QWheelEvent away(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(spin.Editor(), &away);
    EXPECT_EQ(spin.Value(), 0);
    QWheelEvent towards(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
    QApplication::sendEvent(spin.Editor(), &towards);
    QApplication::sendEvent(spin.Editor(), &towards);
    EXPECT_EQ(spin.Value(), 2);
}

TEST(SpinEditTest, ReadOnlyEditorRefusesTyping)
{
    TbsSkinSpinEdit spin;
    spin.SetEditorEnabled(false);
    QTest::keyClicks(spin.Editor(), "5");
    EXPECT_EQ(spin.Text(), "0");
    QTest::keyClick(spin.Editor(), Qt::Key_Up);  // the arrows still work
    EXPECT_EQ(spin.Value(), 1);
}

TEST(SpinEditTest, ShortClickStepsOnceAtRelease)
{
    TbsSkinSpinEdit spin;
    spin.resize(49, 20);
    const QPoint up = spin.UpButtonRect().center();
    const QPoint down = spin.DownButtonRect().center();
    QTest::mousePress(&spin, Qt::LeftButton, {}, up);
    EXPECT_EQ(spin.Value(), 0);
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, up);
    EXPECT_EQ(spin.Value(), 1);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, down);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, down);
    EXPECT_EQ(spin.Value(), -1);
    // Released away from the button: no step.
    QTest::mousePress(&spin, Qt::LeftButton, {}, up);
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(spin.Value(), -1);
}

TEST(SpinEditTest, HoldingRepeatsAfterTheFirstDelay)
{
    TbsSkinSpinEdit spin;
    spin.resize(49, 20);
    spin.show();
    const QPoint up = spin.UpButtonRect().center();
    QTest::mousePress(&spin, Qt::LeftButton, {}, up);
    QTest::qWait(450);
    EXPECT_EQ(spin.Value(), 0) << "nothing before the first 500 ms";
    QElapsedTimer held;
    held.start();
    QTest::qWait(550);
    const double during = spin.Value();
    // Steps every 100 ms after 500 + 100 ms: at most five in one second,
    // fewer only when the machine is slow to deliver timers.
    EXPECT_LE(during, 5);
    EXPECT_GE(during, 1);
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, up);
    EXPECT_EQ(spin.Value(), during + 1);

    // Moving off the held button stops the repetition.
    spin.SetValue(0);
    QTest::mousePress(&spin, Qt::LeftButton, {}, up);
    QTest::mouseMove(&spin, QPoint(5, 5));
    QTest::qWait(800);
    EXPECT_EQ(spin.Value(), 0);
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(spin.Value(), 0);
}
