#include "skinctrls/NumericText.h"
#include "skinctrls/TbsSkinNumericEdit.h"
#include "tests/skinctrls/TestSink.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace rasp;

TEST(NumericTextTest, IntegerDisplayRoundsHalfToEven)
{
    const std::pair<double, const char*> cases[] = {
        {2.5, "2"}, {3.5, "4"}, {66.5, "66"}, {67.5, "68"}, {-2.5, "-2"}, {-0.4, "0"},
        {0.49999, "0"}, {100.0 * 2 / 3, "67"}, {1e10, "10000000000"}};
    for (auto [value, shown] : cases)
        EXPECT_EQ(FormatNumber(value, vtInteger, 2, u'.'), QString::fromLatin1(shown)) << value;
}

TEST(NumericTextTest, FloatDisplayUsesDecimalsAndSeparator)
{
    EXPECT_EQ(FormatNumber(12.5, vtFloat, 2, u'.'), "12.50");
    EXPECT_EQ(FormatNumber(2.0 / 3, vtFloat, 2, u'.'), "0.67");
    EXPECT_EQ(FormatNumber(2.0 / 3, vtFloat, 2, u','), "0,67");
    EXPECT_EQ(FormatNumber(2.0, vtFloat, 0, u'.'), "2");
}

TEST(NumericTextTest, ValidTextRules)
{
    for (const char* ok : {"0", "12", "-3", "007"})
        EXPECT_TRUE(IsValidNumberText(QString::fromLatin1(ok), vtInteger, u'.')) << ok;
    for (const char* bad : {"", "-", "1-2", "--1", "1.5", "a", " 1", "+1"})
        EXPECT_FALSE(IsValidNumberText(QString::fromLatin1(bad), vtInteger, u'.')) << bad;
    for (const char* ok : {"1.5", "-1.5", "5.", "-.5"})
        EXPECT_TRUE(IsValidNumberText(QString::fromLatin1(ok), vtFloat, u'.')) << ok;
    for (const char* bad : {".5", "1.2.3", "1,5", "-"})
        EXPECT_FALSE(IsValidNumberText(QString::fromLatin1(bad), vtFloat, u'.')) << bad;
}

TEST(NumericTextTest, TypedCharacters)
{
    EXPECT_TRUE(AcceptsTypedChar(u'7', "", vtInteger, u'.', false));
    EXPECT_TRUE(AcceptsTypedChar(u'-', "12", vtInteger, u'.', false));
    EXPECT_FALSE(AcceptsTypedChar(u'-', "-12", vtInteger, u'.', false));
    EXPECT_FALSE(AcceptsTypedChar(u'.', "12", vtInteger, u'.', false));
    EXPECT_TRUE(AcceptsTypedChar(u'.', "12", vtFloat, u'.', false));
    EXPECT_FALSE(AcceptsTypedChar(u'.', "1.2", vtFloat, u'.', false));
    EXPECT_FALSE(AcceptsTypedChar(u'x', "", vtFloat, u'.', false));
    EXPECT_FALSE(AcceptsTypedChar(u'\r', "", vtInteger, u'.', false));
    EXPECT_TRUE(AcceptsTypedChar(u'\b', "1", vtInteger, u'.', false));
    EXPECT_FALSE(AcceptsTypedChar(u'\b', "1", vtInteger, u'.', true));
    EXPECT_FALSE(AcceptsTypedChar(u'5', "1", vtInteger, u'.', true));
    EXPECT_TRUE(AcceptsTypedChar(QChar(3), "1", vtInteger, u'.', true));  // Ctrl+C
}

TEST(NumericEditTest, AssignedValueIsKeptUnroundedAndShownRounded)
{
    TbsSkinNumericEdit edit;
    QSignalSpy changes(&edit, &TbsSkinNumericEdit::Change);
    EXPECT_EQ(edit.text(), "0");
    edit.SetValue(2.5);
    EXPECT_EQ(edit.text(), "2");
    EXPECT_EQ(edit.Value(), 2.5);
    EXPECT_EQ(changes.count(), 1);
    edit.SetValue(3.5);
    EXPECT_EQ(edit.text(), "4");
    EXPECT_EQ(changes.count(), 2);
    // A new value with the same text raises nothing.
    edit.SetValue(4.4);
    EXPECT_EQ(edit.text(), "4");
    EXPECT_EQ(edit.Value(), 4.4);
    EXPECT_EQ(changes.count(), 2);
}

TEST(NumericEditTest, ValueTypeChangeWaitsForTheNextValue)
{
    TbsSkinNumericEdit edit;
    edit.SetValue(12.5);
    edit.SetValueType(vtFloat);
    EXPECT_EQ(edit.text(), "12");
    edit.SetValue(12.5);
    EXPECT_EQ(edit.text(), "12.50");
    edit.SetValue(2.0 / 3);
    EXPECT_EQ(edit.text(), "0.67");
}

TEST(NumericEditTest, BoundsClampTypedAndAssignedValues)
{
    TbsSkinNumericEdit edit;
    edit.SetMinValue(0);
    edit.SetMaxValue(10);
    QSignalSpy changes(&edit, &TbsSkinNumericEdit::Change);
    edit.setText("25");
    EXPECT_EQ(edit.Value(), 10);
    EXPECT_EQ(edit.text(), "10");
    EXPECT_EQ(changes.count(), 1);
    edit.SetValue(-3);
    EXPECT_EQ(edit.Value(), 0);

    // Equal bounds mean no bounds.
    TbsSkinNumericEdit open;
    open.SetMinValue(5);
    open.SetMaxValue(5);
    open.SetValue(7);
    EXPECT_EQ(open.Value(), 7);
}

TEST(NumericEditTest, TypingKeepsValueAndTextInStep)
{
    TbsSkinNumericEdit edit;
    edit.setText("");
    QSignalSpy changes(&edit, &TbsSkinNumericEdit::Change);
    QTest::keyClicks(&edit, "4a2");  // the letter is refused
    EXPECT_EQ(edit.text(), "42");
    EXPECT_EQ(edit.Value(), 42);
    EXPECT_EQ(changes.count(), 2);
    // An invalid text may stand; the value keeps its last number.
    edit.setText("1-2");
    EXPECT_EQ(edit.Value(), 42);
    EXPECT_EQ(changes.count(), 3);
    edit.setText("-");
    EXPECT_EQ(edit.Value(), 42);
    QTest::keyClicks(&edit, "-");  // a second minus is refused
    EXPECT_EQ(edit.text(), "-");
}

TEST(NumericEditTest, ReadOnlyRefusesTyping)
{
    TbsSkinNumericEdit edit;
    edit.SetValue(5);
    edit.setReadOnly(true);
    QTest::keyClicks(&edit, "12");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "5");
}

TEST(NumericEditTest, UpAndDownKeysStepWhenSupported)
{
    TbsSkinNumericEdit edit;
    edit.SetIncrement(2);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.Value(), 0);
    edit.SetSupportUpDownKeys(true);
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.Value(), 2);
    EXPECT_EQ(edit.text(), "2");
}

TEST(NumericEditTest, EnterAndEscapeOnlyReachKeyPress)
{
    TbsSkinNumericEdit edit;
    QSignalSpy keys(&edit, &TbsSkinEdit::KeyPress);
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Escape);
    ASSERT_EQ(keys.count(), 2);
    EXPECT_EQ(keys.at(0).at(0).value<QChar>(), QChar(u'\r'));
    EXPECT_EQ(keys.at(1).at(0).value<QChar>(), QChar(0x1B));
    EXPECT_EQ(edit.text(), "0");
}

TEST(NumericEditTest, NumberTooLargeForTheConversionIsInvalidText)
{
    TbsSkinNumericEdit edit;
    edit.SetValue(7);
    TestApp().Errors.clear();
    QSignalSpy changes(&edit, &TbsSkinEdit::Change);
    edit.setText("99999999999");
    EXPECT_EQ(edit.Value(), 7);
    EXPECT_EQ(edit.text(), "99999999999");
    EXPECT_EQ(changes.count(), 1);
    // Typed key by key, from the event handler: still no error, no exception.
    edit.clear();
    edit.SetValue(3);
    edit.selectAll();
    QTest::keyClicks(&edit, "2147483648");
    EXPECT_EQ(edit.Value(), 214748364);
    edit.SetValueType(vtFloat);
    edit.setText(QString(400, u'9'));
    EXPECT_EQ(edit.Value(), 214748364);
    EXPECT_TRUE(TestApp().Errors.empty());
}
