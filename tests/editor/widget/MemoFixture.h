// Controls for the widget tests: MemoFixture, of a fixed size with text loaded through
// WM_SETTEXT, for the message, Lines and property tests; ShownMemoFixture, focused in an active
// window, for tests that send real key and mouse events.
#pragma once

#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoMessages.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <string>

class MemoFixture : public ::testing::Test
{
protected:
    MemoFixture()
    {
        memo.resize(400, 300);
        memo.show(); // lays out the viewport, so rows and columns have their real counts
    }

    void load(const std::string& text)
    {
        Perform(memo, WM_SETTEXT, 0, reinterpret_cast<TLParam>(text.c_str()));
    }
    std::string stored() const { return memo.Store().GetText(); }
    TLResult send(uint32_t message, TWParam wParam = 0, TLParam lParam = 0)
    {
        return Perform(memo, message, wParam, lParam);
    }
    template <typename T> static TLParam ptr(T* pointer)
    {
        return reinterpret_cast<TLParam>(pointer);
    }
    void select(int64_t anchor, int64_t caret)
    {
        TSelectionPair pair{anchor, caret};
        send(SM_SELECTION, smSet, ptr(&pair));
    }
    TSelectionPair selection()
    {
        TSelectionPair pair{-5, -5};
        send(SM_SELECTION, 0, ptr(&pair));
        return pair;
    }
    void expectSound()
    {
        ASSERT_EQ(memo.Editor().check(), "");
        ASSERT_EQ(memo.Store().check(), "");
    }

    TSourceMemo memo;
};

class ShownMemoFixture : public ::testing::Test
{
protected:
    ShownMemoFixture()
    {
        memo.resize(600, 400);
        memo.show();
        memo.setFocus();
        QApplication::setActiveWindow(&memo);
        QTest::qWait(10);
    }
    std::string text() const { return memo.Store().GetText(); }
    // A point inside the character at offset, half a row down.
    QPoint pointOf(int64_t offset) const
    {
        return memo.PosFromChar(offset) + QPoint(1, memo.LineHeight() / 2);
    }

    TSourceMemo memo;
};

// A control above a line edit in one active window, for tests of where the focus goes.
struct MemoWithNeighbour
{
    MemoWithNeighbour()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(memo);
        layout->addWidget(neighbour);
        window.resize(400, 300);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    QWidget window;
    TSourceMemo* memo = new TSourceMemo;  // owned by window once laid out
    QLineEdit* neighbour = new QLineEdit;
};
