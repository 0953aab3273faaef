#include "platform/FileDialogs.h"
#include "platform/ScriptedFileDialogs.h"
#include "platform/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

namespace {

// What a command does: asks whether to save, then reports.
std::string closeFile(const std::string& name)
{
    switch (messageBoxes().show(TMessageKind::Confirmation, "KALTOR+", "File \"" + name + "\" has been modified\r\nSave changes ?",
        TMessageButtons::YesNoCancel)) {
    case TMessageResult::Yes:
        return "saved";
    case TMessageResult::No:
        return "dropped";
    default:
        return "kept open";
    }
}

} // namespace

TEST(ScriptedMessageBoxes, AnswersInOrderAndRecordsEveryBox)
{
    TScriptedMessageBoxes boxes;
    TScopedMessageBoxes installed(boxes);
    boxes.answer(TMessageResult::Cancel).answer(TMessageResult::Yes);
    EXPECT_EQ(closeFile("a.bas"), "kept open");
    EXPECT_EQ(closeFile("b.bas"), "saved");
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].kind, TMessageKind::Confirmation);
    EXPECT_EQ(boxes.shown()[1].caption, "KALTOR+");
    EXPECT_EQ(boxes.shown()[1].text, "File \"b.bas\" has been modified\r\nSave changes ?");
    EXPECT_EQ(boxes.shown()[1].buttons, TMessageButtons::YesNoCancel);
    EXPECT_EQ(boxes.pendingAnswers(), 0u);
}

TEST(ScriptedMessageBoxes, UnexpectedBoxOrImpossibleAnswerFailsLoudly)
{
    TScriptedMessageBoxes boxes;
    TScopedMessageBoxes installed(boxes);
    try {
        closeFile("c.bas");
        FAIL() << "a box without a queued answer passed";
    } catch (const TUnexpectedDialog& e) {
        EXPECT_NE(std::string(e.what()).find("Save changes ?"), std::string::npos) << e.what();
    }
    boxes.answer(TMessageResult::Ok);
    EXPECT_THROW(closeFile("d.bas"), TUnexpectedDialog);
}

TEST(MessageBoxes, ScopedReplacementIsUndoneAndTheFallbackNeverConfirms)
{
    TMessageBoxes* before = &messageBoxes();
    {
        TScriptedMessageBoxes boxes;
        TScopedMessageBoxes installed(boxes);
        EXPECT_EQ(&messageBoxes(), &boxes);
    }
    EXPECT_EQ(&messageBoxes(), before);
    // The fallback (nothing installed) answers as if the box were closed.
    EXPECT_EQ(closeFile("e.bas"), "kept open");
    EXPECT_EQ(closingAnswer(TMessageButtons::YesNo), TMessageResult::No);
    EXPECT_EQ(closingAnswer(TMessageButtons::OkCancel), TMessageResult::Cancel);
    EXPECT_EQ(closingAnswer(TMessageButtons::Ok), TMessageResult::Ok);
    EXPECT_FALSE(buttonsOffer(TMessageButtons::OkCancel, TMessageResult::Yes));
    EXPECT_TRUE(buttonsOffer(TMessageButtons::YesNoCancel, TMessageResult::Cancel));
}

TEST(ScriptedFileDialogs, RecordsRequestsAndAnswersPathOrCancel)
{
    TScriptedFileDialogs dialogs;
    TScopedFileDialogs installed(dialogs);
    dialogs.answer("/home/user/blink.bas").answer(std::nullopt);
    TFileDialogRequest request;
    request.title = "Open";
    request.filter = "ZENBASIC files|*.bas;|All files|*.*";
    EXPECT_EQ(fileDialogs().run(request), "/home/user/blink.bas");
    EXPECT_EQ(fileDialogs().run(request), std::nullopt);
    EXPECT_THROW(fileDialogs().run(request), TUnexpectedDialog);
    ASSERT_EQ(dialogs.requests().size(), 2u);
    EXPECT_EQ(dialogs.requests()[0].filter, request.filter);
}

TEST(FileDialogs, WindowsFiltersBecomeQtFilters)
{
    const auto filters = parseWindowsFilter("ZENBASIC files|*.bas;|INCLUDE files|*.inc;|ASM files|*.asm;|ZBX files|*.zbx;|All files|*.*");
    ASSERT_EQ(filters.size(), 5u);
    EXPECT_EQ(filters[0].description, "ZENBASIC files");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string> {"*.bas"}));
    EXPECT_EQ(qtFilterString(filters),
        "ZENBASIC files (*.bas *.BAS);;INCLUDE files (*.inc *.INC);;ASM files (*.asm *.ASM);;ZBX files (*.zbx *.ZBX);;All files (*)");

    EXPECT_EQ(qtFilterString(parseWindowsFilter("Text|*.BAS;*.TXT|All|*.*")), "Text (*.BAS *.bas *.TXT *.txt);;All (*)");
    EXPECT_EQ(qtFilterString(parseWindowsFilter("EPICWIN|EPICWIN.EXE;")), "EPICWIN (EPICWIN.EXE epicwin.exe)");
    // A missing pattern part, a description with parentheses, nothing at all.
    EXPECT_EQ(qtFilterString(parseWindowsFilter("Odd (old)|")), "Odd [old] (*)");
    EXPECT_EQ(qtFilterString(parseWindowsFilter("Lonely")), "Lonely (*)");
    EXPECT_TRUE(parseWindowsFilter("").empty());
}
