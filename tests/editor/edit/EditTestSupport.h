// Fakes for the editing core's surroundings: a host with a fixed view, a clipboard in memory,
// and a fixture that loads text into a store and wraps it in an editor.
#pragma once

#include "editor/edit/SourceEditor.h"
#include "editor/edit/StoreUndoStack.h"
#include "editor/text/TextStore.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

class FakeHost : public TEditorHost
{
public:
    int64_t TopRow() const override { return top; }
    void SetTopRow(int64_t row) override { top = row; }
    int64_t VisibleRows() const override { return visible; }
    void Beep() override { ++beeps; }
    void Changed(uint32_t flags) override
    {
        ++changes;
        lastFlags = flags;
    }
    void SetBookmark(int number) override { lastBookmarkSet = number; }
    void GotoBookmark(int number) override { lastBookmarkGone = number; }
    void PrintSelectionCommand() override { ++prints; }

    int64_t top = 0;
    int64_t visible = 10;
    int beeps = 0;
    int changes = 0;
    uint32_t lastFlags = 0;
    int lastBookmarkSet = -1;
    int lastBookmarkGone = -1;
    int prints = 0;
};

class FakeClipboard : public TClipboard
{
public:
    bool HasFormat(TClipFormat format) const override { return formats.count(format) != 0; }
    std::string Data(TClipFormat format) const override
    {
        const auto it = formats.find(format);
        return it == formats.end() ? std::string() : it->second;
    }
    void SetContents(const std::vector<std::pair<TClipFormat, std::string>>& contents) override
    {
        formats.clear();
        for (const auto& [format, bytes] : contents)
            formats[format] = bytes;
    }

    std::map<TClipFormat, std::string> formats;
};

// A store loaded with text (so the log starts empty) and an editor on it with plain options:
// no auto-indent, no tab tricks, unless a test sets them.
class EditorFixture : public ::testing::Test
{
protected:
    void load(const std::string& text)
    {
        TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
        store.LoadFromStream(stream);
        editor.SetSelection(0, 0);
    }
    std::string text() const { return store.GetText(); }
    void type(const std::string& keys)
    {
        for (const char c : keys)
            editor.KeyPress(c);
    }
    void run(int32_t command, bool shift = false) { editor.ExecuteCommand(command, shift); }
    void expectSound() { ASSERT_EQ(editor.check(), ""); }
    TStoreUndoStack& log() { return *dynamic_cast<TStoreUndoStack*>(store.UndoStack()); }

    TTextStore store;
    FakeHost host;
    FakeClipboard clipboard;
    TSourceEditor editor{store, &host, &clipboard};

    void SetUp() override { editor.Settings.Options = 0; }
};
