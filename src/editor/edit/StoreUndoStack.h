// The undo log a text store owns: the editor's TUndoStack behind the store's own interface, so
// that loading and saving the store clear it.
#pragma once

#include "editor/text/StoreHooks.h"
#include "editor/undo/UndoStack.h"

// The memory a document's undo log may hold unless the host chooses otherwise.
constexpr int64_t kDefaultUndoMemoryLimit = 64LL * 1024 * 1024;

class TStoreUndoStack : public TUndoStack, public TStoreUndo
{
public:
    explicit TStoreUndoStack(int64_t memoryLimit = kDefaultUndoMemoryLimit)
        : TUndoStack(memoryLimit)
    {
    }
    void Clear() override { TUndoStack::Clear(); }
};
