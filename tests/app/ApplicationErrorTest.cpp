#include "tests/app/WindowFixture.h"

#include "app/RaspApplication.h"

#include <QTest>
#include <stdexcept>

using namespace rasp;

namespace {

class TThrower : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Something broke");
        return QObject::event(e);
    }
};

}  // namespace

TEST_F(WindowTest, ErrorsReachingTheEventLoopAreShownOnceAndTheProgramGoesOn)
{
    TThrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QApplication::processEvents();
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].Text, "Something broke");
    EXPECT_EQ(ShownMessages()[0].Type, mtError);
    EXPECT_EQ(ShownMessages()[0].Buttons.Bits(), (TMsgDlgButtons{mbOK}).Bits());
    // The window still works.
    window->rchArticle1->SetText(u"still alive");
    EXPECT_EQ(window->edtWords1->Value(), 2);
}

TEST_F(WindowTest, ACounterTooLargeForAnIntegerIsInvalidTextAndKeepsItsValue)
{
    window->rchArticle1->SetText(u"one two");
    window->edtWords1->setText("99999999999");
    EXPECT_TRUE(ShownMessages().empty());
    EXPECT_EQ(window->edtWords1->Value(), 2);
}
