#include "platform/QtMessageBoxes.h"
#include "platform/QtText.h"

#include "TestApplication.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <random>

namespace {

// Shows a Qt box and presses the button labelled button (or closes it with Escape when empty);
// records the text the box showed.
TMessageResult pressInBox(TMessageButtons buttons, QMessageBox::StandardButton button, QString* shownText = nullptr,
    const std::string& text = "text")
{
    testApplication();
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (shownText)
            *shownText = box->text();
        if (button == QMessageBox::NoButton)
            box->reject();
        else
            box->button(button)->click();
    });
    TQtMessageBoxes boxes;
    return boxes.show(TMessageKind::Confirmation, "caption", text, buttons);
}

} // namespace

TEST(QtText, Cp1252BytesSurviveQStringAndForeignCharactersBecomeQuestionMarks)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = cp1252ToQString(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0x9D), QChar(0x9D));
    EXPECT_EQ(qStringToCp1252(text), all);
    // A surrogate pair is one character, so one '?'; a lone surrogate is one '?' as well.
    const QString foreign = QString::fromUtf8("\xE4\xB8\xAD\xF0\x9F\x98\x80") + QChar(0xD800) + QStringLiteral("x");
    EXPECT_EQ(qStringToCp1252(foreign), "???x");
    EXPECT_EQ(qStringToUtf8(utf8ToQString("caf\xC3\xA9")), "caf\xC3\xA9");
}

TEST(QtMessageBoxes, LineBreaksBecomeLineFeedsAndTextStaysPlain)
{
    EXPECT_EQ(messageText("Could not Find ZBX.INI\rMake sure\r\nThe end"), QStringLiteral("Could not Find ZBX.INI\nMake sure\nThe end"));
    QString shown;
    EXPECT_EQ(pressInBox(TMessageButtons::Ok, QMessageBox::Ok, &shown, "<b>a.bas</b>\rnot found"), TMessageResult::Ok);
    EXPECT_EQ(shown, QStringLiteral("<b>a.bas</b>\nnot found"));
}

TEST(QtMessageBoxes, EveryButtonOfEverySetIsReported)
{
    EXPECT_EQ(pressInBox(TMessageButtons::YesNo, QMessageBox::Yes), TMessageResult::Yes);
    EXPECT_EQ(pressInBox(TMessageButtons::YesNo, QMessageBox::No), TMessageResult::No);
    EXPECT_EQ(pressInBox(TMessageButtons::YesNoCancel, QMessageBox::Cancel), TMessageResult::Cancel);
    EXPECT_EQ(pressInBox(TMessageButtons::YesNoCancel, QMessageBox::No), TMessageResult::No);
    EXPECT_EQ(pressInBox(TMessageButtons::OkCancel, QMessageBox::Ok), TMessageResult::Ok);
    EXPECT_EQ(pressInBox(TMessageButtons::OkCancel, QMessageBox::NoButton), TMessageResult::Cancel);
}

// File names that are not valid UTF-8 lost their bytes on the way through QString, so a
// recent file or a command-line argument named a file that does not exist.
TEST(QtText, LocalFileNamesKeepEveryByteThroughQString)
{
    EXPECT_EQ(localToQString("caf\xC3\xA9.bas"), QString::fromUtf8("caf\xC3\xA9.bas"));
    std::mt19937 random(14);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        for (int i = round % 17; i > 0; --i)
            bytes += static_cast<char>(byte(random));
        if (round % 3 == 0)
            bytes += "\xED\xA0\x80\xF4\x90\x80\x80\xC0\xAF\xF0\x9F\x98"; // surrogate, too big, overlong, cut
        ASSERT_EQ(qStringToLocal(localToQString(bytes)), bytes) << "round " << round;
    }
}
