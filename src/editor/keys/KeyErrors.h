// Errors of the key map: conflicting bindings, damaged stored key maps and assignment between
// incompatible objects.
#pragma once

#include "base/Exception.h"

#include <string>

// FIXME: derive from ESourceMemo once the editor's common error class is shared by all areas.
class EKeyControllerException : public Exception
{
public:
    using Exception::Exception;
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
