#include "platform/appkit/ui/AlertPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace nupo {
namespace {

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == title)
            return button;
    }
    return nullptr;
}

TEST(AlertPanelTest, ThePressedButtonIsReported)
{
    struct Case {
        QString press;
        int expected;
    };
    for (const Case& c :
         {Case{"Save", AlertPanel::DefaultReturn}, Case{"Cancel", AlertPanel::AlternateReturn},
          Case{"Don't Save", AlertPanel::OtherReturn}}) {
        int result = 99;
        QPointer<QMessageBox> box =
            AlertPanel::show("Save changes?", "The recording is not saved.", "Save", "Cancel", "Don't Save",
                             [&result](int pressed) { result = pressed; });
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->buttons().size(), 3);
        EXPECT_TRUE(box->informativeText().contains("not saved"));
        QAbstractButton* button = buttonTitled(box, c.press);
        ASSERT_NE(button, nullptr);
        button->click();
        EXPECT_EQ(result, c.expected) << c.press.toStdString();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(box.isNull());  // a dismissed panel deletes itself
    }
}

TEST(AlertPanelTest, AModalPanelWithOnlyTheDefaultButtonReadsOKAndEscapeAnswersIt)
{
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->buttons().first()->text(), "OK");
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(AlertPanel::run("Can not open movie file.", "Movie File Path: /nowhere"),
              AlertPanel::DefaultReturn);

    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Escape);  // with an alternate button, Escape is the alternate
    });
    EXPECT_EQ(AlertPanel::run("Quit?", "", "Quit", "Cancel"), AlertPanel::AlternateReturn);
}

}  // namespace
}  // namespace nupo
