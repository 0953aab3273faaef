// Error classes of the editor control. Callers catch ESourceMemo for every failure of the
// control's own logic; the messages are the texts shown to the user.
#pragma once

#include "base/Exception.h"

class ESourceMemo : public Exception
{
public:
    using Exception::Exception;
};

// Saving failed: a null stream, or a stream that keeps refusing bytes.
class EFileSaveError : public ESourceMemo
{
public:
    using ESourceMemo::ESourceMemo;
};

// The keyword lists of the control could not be read.
class EKeywords : public ESourceMemo
{
public:
    using ESourceMemo::ESourceMemo;
};

inline constexpr const char* kNotEnoughMemory = "Not enough memory for operation";
inline constexpr const char* kBadStreamInstance = "Bad TStream instance";
inline constexpr const char* kCouldNotSaveText = "Could not save text to stream";
inline constexpr const char* kReadOnlyStream = "Cannot write to a read-only stream";
inline constexpr const char* kCannotOpenForReading = "File '%s' cannot be opened for reading";
