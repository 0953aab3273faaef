// Errors of the key map: conflicting bindings, damaged stored key maps and assignment between
// incompatible objects.
#pragma once

#include "base/Exception.h"
#include "editor/text/SourceMemoErrors.h"

#include <string>

// Every key map error is an error of the editor control, so callers that catch ESourceMemo
// catch these too.
class EKeyControllerException : public ESourceMemo
{
public:
    using ESourceMemo::ESourceMemo;
};

// A binding that collides with an existing one (a duplicate sequence, or a single key that is
// also a prefix).
class EAmbigiousKeyPair : public EKeyControllerException
{
public:
    using EKeyControllerException::EKeyControllerException;
};

// Raised by Assign when the source is not a key map: "Cannot assign a %s to a %s".
class EKeyAssignError : public EKeyControllerException
{
public:
    EKeyAssignError(const std::string& sourceClass, const std::string& targetClass)
        : EKeyControllerException(
              Format("Cannot assign a %s to a %s", sourceClass.c_str(), targetClass.c_str()))
    {
    }
};
